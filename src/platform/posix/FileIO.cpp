#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/Error.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A link is written through to its target, so the link itself survives the rewrite; a
// link whose target is missing creates that target. A loop of links is given up on.
std::string resolveLink(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return {};
    const std::string target(buffer, static_cast<std::size_t>(n));
    current = target[0] == '/' ? target : folderOf(current) + "/" + target;
  }
  return {};
}

// A save cut short (the program killed, the machine off) leaves its temporary file. One
// whose writer is gone is removed; a live writer's, or our own, is left to it.
void removeStaleTemps(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const std::string prefix = kSaveTempPrefix;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (!isSaveTempName(name)) continue;
    const std::string rest = name.substr(prefix.size());
    char* end = nullptr;
    const long pid = std::strtol(rest.c_str(), &end, 10);
    if (end == rest.c_str() || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(dir), name.c_str(), 0);
  }
  ::closedir(dir);
}

}  // namespace

void writeFileAtomic(const std::string& path, const std::string& bytes) {
  static std::atomic<unsigned> counter{0};
  const std::string target = resolveLink(path);
  if (target.empty()) throw writeError(path);
  const std::string folder = folderOf(target);

  // Keep the mode of the file being replaced; a new file gets the usual 0666 & umask. A
  // file that is read-only (for this user, or for everyone, which even root respects
  // here) is not replaced behind the user's back.
  mode_t mode = 0666;
  struct stat st;
  const bool existed = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  if (existed) {
    mode = st.st_mode & 07777;
    if ((mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) throw writeError(path);
  }

  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + "/" + kSaveTempPrefix + std::to_string(::getpid()) + "." + std::to_string(counter++);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw writeError(path);

  bool ok = writeAll(fd, bytes.data(), bytes.size());
  if (ok && existed) ok = ::fchmod(fd, mode) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    throw writeError(path);
  }

  // Make the rename itself durable; a failure here leaves a complete file either way.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  removeStaleTemps(folder);
}

bool readFileBytes(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string data;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  bytes = std::move(data);
  return true;
}

bool isHiddenOrSystem(const std::string& folder, const std::string& name) {
  // A dot name is hidden; so is a name listed, one a line, in the folder's ".hidden" file,
  // as the desktop's file managers hide them. There are no system folders here.
  if (!name.empty() && name[0] == '.') return true;
  std::string listed;
  if (!readFileBytes(toHostPath(joinPath(folder, ".hidden")), listed)) return false;
  std::size_t start = 0;
  while (start <= listed.size()) {
    std::size_t end = listed.find('\n', start);
    if (end == std::string::npos) end = listed.size();
    std::string line = listed.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == name) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace vantrel
