#pragma once
// Shared by the POSIX platform tests: temporary folders, environment changes that undo
// themselves, and what /proc tells about a process.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

namespace vantrel::testing {

inline const std::string RecordingInstrument = std::string(VANTREL_TEST_HELPERS) + "/recording_instrument";

// The shared temporary folder, with paths as plain strings.
class TempDir : public test::TempDir {
 public:
  std::string path() const { return str(); }
  std::string operator/(const std::string& name) const { return str() + "/" + name; }
};

// Sets or unsets variables for one scope; the old values come back after it.
class ScopedEnv {
 public:
  ~ScopedEnv() {
    for (auto& [name, old] : saved_) {
      if (old)
        setenv(name.c_str(), old->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }
  void set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value)
      setenv(name.c_str(), value->c_str(), 1);
    else
      unsetenv(name.c_str());
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

inline bool waitUntil(const std::function<bool()>& done, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

inline std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The /proc state letter of a process ('Z' for a zombie); nullopt once it is gone.
inline std::optional<char> processState(int pid) {
  const auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
  if (!stat) return std::nullopt;
  const std::size_t paren = stat->rfind(')');
  if (paren == std::string::npos || paren + 2 >= stat->size()) return std::nullopt;
  return (*stat)[paren + 2];
}

inline bool isGone(int pid) { return !processState(pid).has_value(); }
inline bool isDead(int pid) {
  const auto s = processState(pid);
  return !s || *s == 'Z' || *s == 'X';
}

// Pids of processes whose parent (field 1) or process group (field 2, zombies left out) is
// the given id.
inline std::vector<int> processesBy(int field, int id) {
  std::vector<int> out;
  for (const auto& e : std::filesystem::directory_iterator("/proc")) {
    const std::string name = e.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const auto stat = readFile(e.path().string() + "/stat");
    if (!stat) continue;
    const std::size_t paren = stat->rfind(')');
    if (paren == std::string::npos) continue;
    std::istringstream rest(stat->substr(paren + 2));
    char state = 0;
    int ppid = 0, pgrp = 0;
    rest >> state >> ppid >> pgrp;
    if (field == 2 && (state == 'Z' || state == 'X')) continue;
    if ((field == 1 ? ppid : pgrp) == id) out.push_back(std::stoi(name));
  }
  return out;
}
inline std::vector<int> childrenOf(int parent) { return processesBy(1, parent); }
inline std::vector<int> groupMembers(int pgid) { return processesBy(2, pgid); }

// The argv a recording instrument wrote, once it has written it.
inline std::optional<std::vector<std::string>> readArgs(const std::string& dir, int pid) {
  const auto bytes = readFile(dir + "/" + std::to_string(pid) + ".args");
  if (!bytes) return std::nullopt;
  std::istringstream in(*bytes);
  std::size_t count = 0;
  in >> count;
  in.get();
  std::vector<std::string> args;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t len = 0;
    in >> len;
    in.get();
    std::string a(len, '\0');
    in.read(a.data(), static_cast<std::streamsize>(len));
    in.get();
    args.push_back(a);
  }
  return args;
}

inline std::optional<std::vector<std::string>> waitForArgs(const std::string& dir, int pid, int ms = 5000) {
  std::optional<std::vector<std::string>> args;
  waitUntil([&] { return (args = readArgs(dir, pid)).has_value(); }, ms);
  return args;
}

// One line of a recording instrument's .info file, without its key: "fds" -> "0 1 2".
inline std::string infoValue(const std::string& dir, int pid, const std::string& key) {
  const auto bytes = readFile(dir + "/" + std::to_string(pid) + ".info");
  if (!bytes) return "<none>";
  std::istringstream in(*bytes);
  std::string line;
  while (std::getline(in, line)) {
    if (line == key) return "";
    if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
  }
  return "<none>";
}

}  // namespace vantrel::testing
