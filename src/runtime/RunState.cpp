#include "runtime/RunState.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "runtime/PanelProcesses.h"

namespace vantrel {

namespace {

const char* const kFileName = "vantrel-run.state";

std::string escape(const std::string& s) {
  static const char* const hex = "0123456789ABCDEF";
  std::string out;
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '%' || u == 0x7F) {
      out += '%';
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool unescape(const std::string& s, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out += s[i];
      continue;
    }
    if (i + 2 >= s.size()) return false;
    const int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

std::string identityLine(const char* kind, const ProcessIdentity& id) {
  return std::string(kind) + "\t" + std::to_string(id.pid) + "\t" + escape(id.startTime) + "\t" +
         escape(id.program) + "\n";
}

}  // namespace

std::string runStatePath(const std::string& dataFolder) { return joinPath(dataFolder, kFileName); }

std::string runStateText(const RunState& state) {
  std::string text;
  if (state.manager) text += identityLine("manager", *state.manager);
  for (const ProcessIdentity& id : state.processes) text += identityLine("process", id);
  return text;
}

RunState parseRunState(const std::string& text) {
  RunState state;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> f = splitTabs(line);
    if (f.size() != 4) continue;
    ProcessIdentity id;
    const auto r = std::from_chars(f[1].data(), f[1].data() + f[1].size(), id.pid);
    if (r.ec != std::errc() || r.ptr != f[1].data() + f[1].size() || id.pid <= 0) continue;
    if (!unescape(f[2], id.startTime) || !unescape(f[3], id.program) || id.startTime.empty())
      continue;
    if (f[0] == "manager")
      state.manager = id;
    else if (f[0] == "process")
      state.processes.push_back(std::move(id));
  }
  return state;
}

bool readRunState(const std::string& dataFolder, RunState& state) {
  std::string bytes;
  if (!readFileBytes(toHostPath(runStatePath(dataFolder)), bytes)) return false;
  state = parseRunState(bytes);
  return true;
}

void writeRunState(const std::string& dataFolder, const RunState& state) {
  writeFileAtomic(toHostPath(runStatePath(dataFolder)), runStateText(state));
}

void removeRunState(const std::string& dataFolder) {
  std::error_code ec;
  std::filesystem::remove(fsPath(runStatePath(dataFolder)), ec);
}

void recordRunState(Platform& platform, const std::string& dataFolder,
                    const std::vector<std::string>& processList) {
  RunState state;
  state.manager = platform.ownIdentity();
  for (const std::string& entry : processList) {
    ProcessHandle handle = 0;
    if (!parseProcessHandle(entry, handle)) continue;
    if (auto id = platform.processIdentity(handle)) state.processes.push_back(std::move(*id));
  }
  try {
    if (state.processes.empty())
      removeRunState(dataFolder);
    else
      writeRunState(dataFolder, state);
  } catch (...) {
    // Without the file a crash would leave the instruments to the user; the panel itself
    // runs the same.
  }
}

std::size_t endLeftoverProcesses(Platform& platform, const std::string& dataFolder) {
  RunState state;
  if (!readRunState(dataFolder, state)) return 0;
  if (state.manager && state.manager != platform.ownIdentity() &&
      platform.isRunning(*state.manager))
    return 0;
  const std::size_t ended = state.processes.empty() ? 0 : platform.endLeftovers(state.processes);
  removeRunState(dataFolder);
  return ended;
}

}  // namespace vantrel
