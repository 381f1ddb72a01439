#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

namespace vantrel::test {

namespace {

// Names in the tests are UTF-8, on Windows too (where a plain string is the ANSI code page).
std::filesystem::path utf8Path(const std::string& s) { return std::filesystem::path(std::u8string(s.begin(), s.end())); }

std::string utf8Name(const std::filesystem::path& p) {
  const std::u8string u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

}  // namespace

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  std::ostringstream name;
  name << "vantrel-test-" << rd() << "-" << counter++;
  path_ = std::filesystem::temp_directory_path() / name.str();
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::str() const { return utf8Name(path_); }

std::string TempDir::file(const std::string& relative) const { return utf8Name(path_ / utf8Path(relative)); }

std::string TempDir::write(const std::string& relative, const std::string& bytes) const {
  const auto p = path_ / utf8Path(relative);
  std::filesystem::create_directories(p.parent_path());
  writeFile(p, bytes);
  return utf8Name(p);
}

std::string TempDir::read(const std::string& relative) const { return readFile(path_ / utf8Path(relative)); }

bool TempDir::exists(const std::string& relative) const {
  return std::filesystem::exists(path_ / utf8Path(relative));
}

std::vector<std::string> TempDir::names() const {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(path_))
    out.push_back(utf8Name(e.path().filename()));
  std::sort(out.begin(), out.end());
  return out;
}

std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace vantrel::test
