#include "support/TempDir.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

namespace vantrel::test {

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

std::string TempDir::write(const std::string& relative, const std::string& bytes) const {
  const auto p = path_ / relative;
  std::filesystem::create_directories(p.parent_path());
  writeFile(p, bytes);
  return p.string();
}

std::string TempDir::read(const std::string& relative) const { return readFile(path_ / relative); }

bool TempDir::exists(const std::string& relative) const {
  return std::filesystem::exists(path_ / relative);
}

std::vector<std::string> TempDir::names() const {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(path_))
    out.push_back(e.path().filename().string());
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
