// Files through the wide-character calls, so any name the file system holds can be used.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/win32/Wide.h"

namespace vantrel {

namespace {

using win32::widePath;

bool isDelimiter(char c) { return c == '\\' || c == '/'; }

std::string folderOf(const std::string& path) {
  std::size_t i = path.size();
  while (i > 0 && !isDelimiter(path[i - 1])) --i;
  if (i == 0) return ".";
  if (i == 1 || (i == 3 && path[1] == ':')) return path.substr(0, i);  // "\" or "C:\"
  return path.substr(0, i - 1);
}

bool writeAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// A save cut short (the program killed, the machine off) leaves its temporary file. One
// whose writer is gone is removed; a live writer's, or our own, is left to it.
void removeStaleTemps(const std::string& folder) {
  WIN32_FIND_DATAW found;
  const std::wstring pattern = widePath(joinPath(folder, std::string(kSaveTempPrefix) + "*"));
  HANDLE find = FindFirstFileW(pattern.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  const std::string prefix = kSaveTempPrefix;
  do {
    const std::string name = win32::narrow(found.cFileName);
    if (!isSaveTempName(name)) continue;
    const std::string rest = name.substr(prefix.size());
    char* end = nullptr;
    const unsigned long pid = std::strtoul(rest.c_str(), &end, 10);
    if (end == rest.c_str() || pid == 0 || pid == GetCurrentProcessId()) continue;
    HANDLE writer = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (writer != nullptr) {
      const bool running = WaitForSingleObject(writer, 0) == WAIT_TIMEOUT;
      CloseHandle(writer);
      if (running) continue;
    } else if (GetLastError() != ERROR_INVALID_PARAMETER) {
      continue;  // a process we may not look at is still a process
    }
    DeleteFileW(widePath(joinPath(folder, name)).c_str());
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

}  // namespace

void writeFileAtomic(const std::string& path, const std::string& bytes) {
  static std::atomic<unsigned> counter{0};
  const std::wstring target = widePath(path);
  const std::string folder = folderOf(path);

  // A read-only file is not replaced behind the user's back; the replaced file keeps its
  // attributes (hidden, for one).
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
  if (existed && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) throw writeError(path);

  std::wstring temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temp = widePath(joinPath(folder, std::string(kSaveTempPrefix) + std::to_string(GetCurrentProcessId()) + "." +
                                         std::to_string(counter++)));
    file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) throw writeError(path);

  bool ok = writeAll(file, bytes);
  if (ok) ok = FlushFileBuffers(file) != 0;
  if (!CloseHandle(file)) ok = false;
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) {
    DeleteFileW(temp.c_str());
    throw writeError(path);
  }
  if (existed && attributes != FILE_ATTRIBUTE_NORMAL && attributes != FILE_ATTRIBUTE_ARCHIVE)
    SetFileAttributesW(target.c_str(), attributes);
  removeStaleTemps(folder);
}

bool readFileBytes(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string data;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      CloseHandle(file);
      return false;
    }
    if (got == 0) break;
    data.append(buffer, got);
  }
  CloseHandle(file);
  bytes = std::move(data);
  return true;
}

bool isHiddenOrSystem(const std::string& folder, const std::string& name) {
  const DWORD attributes = GetFileAttributesW(widePath(joinPath(folder, name)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

}  // namespace vantrel
