#include "platform/Paths.h"

#include "platform/HostText.h"

#include <system_error>

namespace vantrel {

namespace {

bool isDelim(char c) { return c == '/' || c == '\\'; }

bool globMatch(const std::u32string& name, const std::u32string& pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starP = std::u32string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u32string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

const char* const kSaveTempPrefix = ".~vantrel-save.";

bool isSaveTempName(const std::string& name) { return name.rfind(kSaveTempPrefix, 0) == 0; }

std::string joinPath(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (a.back() == PathDelim) return a + b;
  return a + PathDelim + b;
}

std::string toHostPath(const std::string& stored) {
#ifdef _WIN32
  return stored;
#else
  std::string host = stored;
  for (char& c : host)
    if (c == '\\') c = '/';
  return host;
#endif
}

std::filesystem::path fsPath(const std::string& stored) {
  const std::string host = toHostPath(stored);
  return std::filesystem::path(std::u8string(host.begin(), host.end()));
}

std::string pathText(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(u8.begin(), u8.end());
}

std::string extractFileName(const std::string& path) {
  std::size_t i = path.size();
  while (i > 0 && !isDelim(path[i - 1])) --i;
  return path.substr(i);
}

std::string extractFileExt(const std::string& path) {
  const std::string name = extractFileName(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string changeFileExt(const std::string& path, const std::string& ext) {
  return path.substr(0, path.size() - extractFileExt(path).size()) + ext;
}

bool matchesPattern(const std::string& name, const std::string& pattern) {
  // The enumeration treats "*.*" as every name, dotted or not.
  if (pattern == "*.*") return true;
  return globMatch(foldedCodePoints(name), foldedCodePoints(pattern));
}

std::vector<std::string> listEntries(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(fsPath(folder), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::u8string u8 = it->path().filename().u8string();
    std::string name(u8.begin(), u8.end());
    if (matchesPattern(name, pattern)) names.push_back(std::move(name));
  }
  return names;
}

}  // namespace vantrel
