#pragma once
// A fresh folder per test, removed afterwards, with byte-level file access.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace vantrel::testing {

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id and a counter keep parallel runs and nested folders apart.
    static int counter = 0;
    std::string name = std::string("vantrel-") + info->test_suite_name() + "-" + info->name() + "-" +
                       std::to_string(::getpid()) + "-" + std::to_string(counter++);
    for (char& c : name)
      if (c == '/') c = '_';
    root_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Full path of name inside the folder.
  std::string path(const std::string& name = "") const {
    return name.empty() ? root_.string() : (root_ / name).string();
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(root_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(root_ / name); }
  // Names in the folder, sorted, to see stray temporary files.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(root_)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

 private:
  std::filesystem::path root_;
};

}  // namespace vantrel::testing
