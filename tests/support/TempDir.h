#pragma once
// A folder of its own for one test, removed afterwards.
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const;
  // Full path of a file below the folder.
  std::string file(const std::string& relative) const;
  // Names in the folder, sorted, to see stray temporary files.
  std::vector<std::string> names() const;
  // Writes bytes to a file below the folder, creating folders on the way.
  std::string write(const std::string& relative, const std::string& bytes) const;
  std::string read(const std::string& relative) const;
  bool exists(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& p);
void writeFile(const std::filesystem::path& p, const std::string& bytes);

}  // namespace vantrel::test
