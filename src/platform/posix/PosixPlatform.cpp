#include "platform/posix/PosixPlatform.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <locale.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/CommandLine.h"
#include "platform/posix/SessionBus.h"

extern char** environ;

namespace vantrel {

namespace {

// Every helper command (window manager) is given this long, then killed.
constexpr int HelperTimeoutMs = 2000;
// Each step on the session bus (connecting, each call) waits this long at most.
constexpr int BusTimeoutMs = 2000;

constexpr const char* ScreenSaverName = "org.freedesktop.ScreenSaver";
// Where services put the screen saver object; the first is the usual one.
constexpr const char* ScreenSaverPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};

// How often the reaper looks at children without a pidfd (kernels without pidfds).
constexpr int ReaperPollMs = 50;
// How long the destructor waits, at most, for killed children to finish dying.
constexpr int DyingWaitMs = 1000;
// How long Start waits, at most, for the processes a killed manager left to be gone.
constexpr int LeftoverWaitMs = 1000;

std::optional<std::string> nonEmptyEnv(const char* name) {
  const char* v = std::getenv(name);
  if (v == nullptr || *v == '\0') return std::nullopt;
  return std::string(v);
}

std::unique_ptr<SessionBus> openSessionBus() {
  const std::optional<std::string> address = nonEmptyEnv("DBUS_SESSION_BUS_ADDRESS");
  return address ? SessionBus::open(*address, BusTimeoutMs) : nullptr;
}

int pidfdOpen(pid_t pid) {
#ifdef SYS_pidfd_open
  const long fd = syscall(SYS_pidfd_open, pid, 0);
  return fd < 0 ? -1 : static_cast<int>(fd);
#else
  (void)pid;
  return -1;
#endif
}

#ifndef P_PIDFD
#define P_PIDFD 3
#endif
// pidfd_send_signal's flag for the whole process group of the pidfd's process.
constexpr unsigned PidfdSignalProcessGroup = 4;

// waitid on the child: through its pidfd where it has one, so a number that a stray
// reaper elsewhere in the process took, and that went to another child since, is never
// taken for ours.
bool waitChild(pid_t pid, int pidfd, siginfo_t& info, int options) {
  info = siginfo_t{};
  if (pidfd >= 0)
    return waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(pidfd), &info, options) == 0;
  return waitid(P_PID, static_cast<id_t>(pid), &info, options) == 0;
}

// 1: ended and not yet reaped; 0: still running; -1: not (or no longer) our child.
int endedState(pid_t pid, int pidfd) {
  siginfo_t info;
  if (!waitChild(pid, pidfd, info, WEXITED | WNOHANG | WNOWAIT)) return -1;
  return info.si_pid == pid ? 1 : 0;
}

// Signals the child itself. Without a pidfd the bare number is used only while the child
// is known to be unreaped, so the signal cannot reach a stranger that reused the number.
bool signalChild(int pid, int pidfd, int sig) {
#ifdef SYS_pidfd_send_signal
  if (pidfd >= 0) return syscall(SYS_pidfd_send_signal, pidfd, sig, nullptr, 0) == 0;
#else
  (void)pidfd;
#endif
  if (endedState(pid, -1) < 0) return false;
  return kill(pid, sig) == 0;
}

// Kills what is left of the child's process group (its own helpers). The kernel signals
// the group through the leader's pidfd where it can; else the group's number, which is
// the leader's, is used only while the pidfd shows the leader unreaped: only the unreaped
// child keeps that number from being given out again, a pidfd does not.
void killGroup(int pid, int pidfd) {
#ifdef SYS_pidfd_send_signal
  if (pidfd >= 0) {
    if (syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, PidfdSignalProcessGroup) == 0) return;
    if (errno == ESRCH) return;  // nobody left in the group
  }
#endif
  if (endedState(pid, pidfd) >= 0) kill(-pid, SIGKILL);
}

// True once the child is reaped here, or was found reaped elsewhere.
bool tryReap(int pid, int pidfd) {
  siginfo_t info;
  if (waitChild(pid, pidfd, info, WEXITED | WNOHANG)) return info.si_pid == pid;
  return errno == ECHILD;
}

void waitForExit(int pid, int pidfd, int ms) {
  if (pidfd >= 0) {
    pollfd p{pidfd, POLLIN, 0};
    poll(&p, 1, ms);
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (endedState(pid, -1) == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

std::optional<std::string> readSmallFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buf[1024];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return text;
}

// The boot, so that a start time of one boot never matches one of the next.
const std::string& bootId() {
  static const std::string id = [] {
    std::string text = readSmallFile("/proc/sys/kernel/random/boot_id").value_or("");
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
  }();
  return id;
}

// Number, start time (boot and clock ticks since it) and program of a running process, as
// /proc shows them; nullopt when it is gone or has ended.
std::optional<ProcessIdentity> identityOf(pid_t pid) {
  const std::string base = "/proc/" + std::to_string(pid);
  const auto stat = readSmallFile(base + "/stat");
  if (!stat) return std::nullopt;
  // The name in parentheses may hold anything; the fields follow its last ')'.
  const std::size_t close = stat->rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::vector<std::string> fields;
  std::size_t p = close + 1;
  while (p < stat->size()) {
    while (p < stat->size() && (*stat)[p] == ' ') ++p;
    const std::size_t e = stat->find_first_of(" \n", p);
    if (p < stat->size()) fields.push_back(stat->substr(p, e == std::string::npos ? std::string::npos : e - p));
    if (e == std::string::npos) break;
    p = e + 1;
  }
  // fields[0] is the state (field 3), fields[19] the start time (field 22).
  if (fields.size() < 20 || fields[0] == "Z" || fields[0] == "X") return std::nullopt;
  char exe[PATH_MAX];
  const ssize_t n = readlink((base + "/exe").c_str(), exe, sizeof exe - 1);
  if (n <= 0) return std::nullopt;
  std::string program(exe, static_cast<std::size_t>(n));
  // A program replaced on disk while it runs is still the same program.
  const std::string deleted = " (deleted)";
  if (program.size() > deleted.size() &&
      program.compare(program.size() - deleted.size(), deleted.size(), deleted) == 0)
    program.erase(program.size() - deleted.size());
  ProcessIdentity id;
  id.pid = pid;
  id.startTime = bootId() + ":" + fields[19];
  id.program = program;
  return id;
}

bool isExecutableFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The full path of a program found on PATH; empty when there is none.
std::string findProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
  const char* env = std::getenv("PATH");
  const std::string path = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find(':', start);
    const std::string dir = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    if (end == std::string::npos) return std::string();
    start = end + 1;
  }
}

struct SpawnIo {
  int stdinFd = -1;   // becomes descriptor 0 when given
  int stdoutFd = -1;  // becomes descriptor 1 when given
  bool quiet = false; // descriptors 0 to 2 not given above read and write /dev/null
};

// Starts a child in a process group of its own with default signal handling, an empty
// signal mask, the manager's environment and working folder, and descriptors 0 to 2 only.
// Returns its pid, or -1; a program that cannot be executed is reported here, not by a
// child that exits at once.
pid_t spawnChild(const std::string& path, const std::vector<std::string>& args, const SpawnIo& io) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (io.stdinFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, io.stdinFd, 0);
  else if (io.quiet)
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (io.stdoutFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, io.stdoutFd, 1);
  else if (io.quiet)
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  if (io.quiet) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Our own descriptors are close-on-exec; this also covers those a library opened without.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawnattr_setpgroup(&attr, 0);
  sigset_t mask;
  sigemptyset(&mask);
  posix_spawnattr_setsigmask(&attr, &mask);
  // Dispositions the manager ignores would otherwise survive the exec.
  sigset_t defaults;
  sigfillset(&defaults);
  sigdelset(&defaults, SIGKILL);
  sigdelset(&defaults, SIGSTOP);
  posix_spawnattr_setsigdefault(&attr, &defaults);

  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  pid_t pid = -1;
  const bool searchPath = path.find('/') == std::string::npos;
  const int rc = searchPath ? posix_spawnp(&pid, path.c_str(), &actions, &attr, argv.data(), environ)
                            : posix_spawn(&pid, path.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;

  // A C library that reports a failed exec only through the child's exit status 127.
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid &&
      info.si_code == CLD_EXITED && info.si_status == 127) {
    waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

// Runs a helper command with a bounded time; its output when it ended with status 0.
std::optional<std::string> runHelper(const std::vector<std::string>& args) {
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
  SpawnIo io;
  io.stdoutFd = out[1];
  io.quiet = true;
  const pid_t pid = spawnChild(args[0], args, io);
  close(out[1]);
  if (pid < 0) {
    close(out[0]);
    return std::nullopt;
  }
  const int pidfd = pidfdOpen(pid);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(HelperTimeoutMs);
  auto remainingMs = [&] {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
  };

  std::string text;
  for (;;) {
    pollfd p{out[0], POLLIN, 0};
    const int ms = remainingMs();
    if (ms == 0 || poll(&p, 1, ms) <= 0) break;
    char buf[4096];
    const ssize_t n = read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  close(out[0]);

  if (endedState(pid, pidfd) == 0) waitForExit(pid, pidfd, remainingMs());
  bool timedOut = false;
  if (endedState(pid, pidfd) == 0) {
    timedOut = true;
    signalChild(pid, pidfd, SIGKILL);
  }
  killGroup(pid, pidfd);
  siginfo_t info;
  bool reaped = waitChild(pid, pidfd, info, WEXITED);
  while (!reaped && errno == EINTR) reaped = waitChild(pid, pidfd, info, WEXITED);
  if (pidfd >= 0) close(pidfd);
  if (timedOut || !reaped || info.si_pid != pid || info.si_code != CLD_EXITED || info.si_status != 0)
    return std::nullopt;
  return text;
}

}  // namespace

PosixPlatform::PosixPlatform() = default;

PosixPlatform::~PosixPlatform() {
  endInhibitor();
  {
    std::lock_guard<std::mutex> lock(screenSaverMutex_);
    releaseScreenSaverLocked();
  }
  stopReaper();
  std::lock_guard<std::mutex> lock(mutex_);
  // Children killed by a Stop just before are given a moment to finish dying, so the
  // manager leaves no zombies of its own; running ones are left running.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(DyingWaitMs);
  for (const Child& c : pending_) {
    if (!c.killed) continue;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    waitForExit(c.pid, c.pidfd, static_cast<int>(std::max<std::int64_t>(0, left.count())));
  }
  for (auto& [handle, child] : children_) {
    tryReap(child.pid, child.pidfd);
    if (child.pidfd >= 0) close(child.pidfd);
  }
  children_.clear();
  reapPendingLocked();
  for (Child& c : pending_)
    if (c.pidfd >= 0) close(c.pidfd);
  pending_.clear();
}

std::optional<std::string> PosixPlatform::environment(const std::string& name) {
  const char* v = std::getenv(name.c_str());
  if (v == nullptr) return std::nullopt;
  return std::string(v);
}

std::string PosixPlatform::applicationDataFolder() {
  if (auto appData = nonEmptyEnv("APPDATA")) return *appData;
  // The per-user configuration folder may not exist yet on a fresh account; it is made
  // here so that the program's own folders below it can be.
  auto ensure = [](const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
  };
  // A relative XDG_CONFIG_HOME is to be ignored.
  if (auto xdg = nonEmptyEnv("XDG_CONFIG_HOME"); xdg && (*xdg)[0] == '/') return ensure(*xdg);
  if (auto home = nonEmptyEnv("HOME")) return ensure(*home + "/.config");
  return std::string();
}

std::string PosixPlatform::executablePath() {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

void PosixPlatform::sleepMs(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t PosixPlatform::nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

ProcessHandle PosixPlatform::createProcess(const std::string& commandLine) {
  std::vector<std::string> args = splitCommandLine(commandLine);
  if (args.empty() || args[0].empty()) return 0;
  std::replace(args[0].begin(), args[0].end(), '\\', '/');
  const pid_t pid = spawnChild(args[0], args, SpawnIo{});
  if (pid < 0) return 0;
  const int pidfd = pidfdOpen(pid);

  std::lock_guard<std::mutex> lock(mutex_);
  const ProcessHandle handle = nextHandle_++;
  children_[handle] = Child{pid, pidfd};
  return handle;
}

bool PosixPlatform::terminateProcess(ProcessHandle handle, std::uint32_t /*exitCode*/) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  if (it == children_.end()) return false;
  Child& child = it->second;
  const int state = endedState(child.pid, child.pidfd);
  if (state < 0) return false;  // reaped behind our back: its number is no longer ours
  // Helpers the program started live on in its group even after it ended.
  const bool killed = state == 0 && signalChild(child.pid, child.pidfd, SIGKILL);
  killGroup(child.pid, child.pidfd);
  child.killed = child.killed || killed;
  return killed;
}

void PosixPlatform::closeProcess(ProcessHandle handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  if (it == children_.end()) return;
  const Child child = it->second;
  children_.erase(it);
  // A child just killed takes a while to die (longer the more memory it frees); Stop does
  // not wait for that. Whatever has not ended yet is reaped once it has.
  if (tryReap(child.pid, child.pidfd)) {
    if (child.pidfd >= 0) close(child.pidfd);
  } else {
    handToReaperLocked(child);
  }
}

void PosixPlatform::handToReaperLocked(const Child& child) {
  pending_.push_back(child);
  if (!reaper_.joinable() && !stopping_) {
    try {
      if (wakePipe_[0] < 0 && pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe_[0] = wakePipe_[1] = -1;
        return;  // reaped at the latest by the destructor
      }
      reaper_ = std::thread([this] { reaperLoop(); });
    } catch (const std::system_error&) {
      return;
    }
  }
  if (wakePipe_[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(wakePipe_[1], &byte, 1);
  }
}

void PosixPlatform::reaperLoop() {
  std::vector<Child> watched;
  std::vector<pollfd> fds;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      watched = pending_;
    }
    // Only this thread takes children out of pending_ and closes their pidfds, so the ones
    // polled here stay open; the waiting and reaping happen without holding the lock.
    fds.clear();
    bool timed = false;
    for (const Child& c : watched) {
      fds.push_back({c.pidfd, POLLIN, 0});  // a negative descriptor is passed over by poll
      timed = timed || c.pidfd < 0;
    }
    fds.push_back({wakePipe_[0], POLLIN, 0});
    // A pidfd turns readable when its process ends; the pipe when pending_ changes.
    if (poll(fds.data(), fds.size(), timed ? ReaperPollMs : -1) < 0 && errno != EINTR) return;
    if (fds.back().revents & POLLIN) {
      char buf[64];
      while (read(wakePipe_[0], buf, sizeof buf) > 0) {
      }
    }
    std::vector<Child> reaped;
    for (std::size_t i = 0; i < watched.size(); ++i) {
      const Child& c = watched[i];
      // A descriptor the kernel calls broken would wake every poll; it is given up on.
      const bool broken = fds[i].revents & (POLLNVAL | POLLERR);
      if (broken || ((c.pidfd < 0 || fds[i].revents != 0) && tryReap(c.pid, c.pidfd))) reaped.push_back(c);
    }
    if (reaped.empty()) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Child& r : reaped) {
      const auto it = std::find_if(pending_.begin(), pending_.end(),
                                   [&](const Child& c) { return c.pid == r.pid && c.pidfd == r.pidfd; });
      if (it != pending_.end()) pending_.erase(it);
      if (r.pidfd >= 0) close(r.pidfd);
    }
  }
}

void PosixPlatform::stopReaper() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    if (wakePipe_[1] >= 0) {
      const char byte = 1;
      [[maybe_unused]] const ssize_t n = write(wakePipe_[1], &byte, 1);
    }
  }
  if (reaper_.joinable()) reaper_.join();
  for (int& fd : wakePipe_) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
}

void PosixPlatform::reapPendingLocked() {
  auto done = [](const Child& c) {
    if (!tryReap(c.pid, c.pidfd)) return false;
    if (c.pidfd >= 0) close(c.pidfd);
    return true;
  };
  pending_.erase(std::remove_if(pending_.begin(), pending_.end(), done), pending_.end());
}

std::optional<ProcessIdentity> PosixPlatform::processIdentity(ProcessHandle handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  // Unreaped, the child keeps its number, so /proc speaks of it and no stranger.
  if (it == children_.end()) return std::nullopt;
  return identityOf(it->second.pid);
}

std::optional<ProcessIdentity> PosixPlatform::ownIdentity() { return identityOf(getpid()); }

bool PosixPlatform::isRunning(const ProcessIdentity& identity) {
  if (identity.pid <= 0 || identity.pid > INT32_MAX) return false;
  const auto now = identityOf(static_cast<pid_t>(identity.pid));
  return now && *now == identity;
}

std::size_t PosixPlatform::endLeftovers(const std::vector<ProcessIdentity>& leftovers) {
  std::vector<int> ended;
  for (const ProcessIdentity& id : leftovers) {
    if (id.pid <= 1 || id.pid > INT32_MAX || id.pid == getpid()) continue;
    const auto pid = static_cast<pid_t>(id.pid);
    // Not our child: only a pidfd, opened before the check, pins the process the check
    // speaks of. Without one the process is left alone rather than signalled by number.
    const int pidfd = pidfdOpen(pid);
    if (pidfd < 0) continue;
    const auto now = identityOf(pid);
    pollfd p{pidfd, POLLIN, 0};
    if (!now || *now != id || poll(&p, 1, 0) != 0) {
      close(pidfd);
      continue;
    }
    // The leader still runs, so its group's number is still its own.
    kill(-pid, SIGKILL);
    signalChild(pid, pidfd, SIGKILL);
    ended.push_back(pidfd);
  }
  // New copies would find the ports still taken while the old ones are dying.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(LeftoverWaitMs);
  for (const int pidfd : ended) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{pidfd, POLLIN, 0};
    poll(&p, 1, static_cast<int>(std::max<std::int64_t>(0, left.count())));
    close(pidfd);
  }
  return ended.size();
}

bool PosixPlatform::shellOpen(const std::string& target) {
  if (target.empty()) return false;
  std::vector<std::string> args;
  if (isExecutableFile(target)) {
    // A program (the pop-out helper beside the manager) is run as it is.
    args = {target.find('/') == std::string::npos ? "./" + target : target};
  } else {
    const std::string opener = findProgram("xdg-open");
    if (opener.empty()) return false;
    args = {opener, target};
  }
  SpawnIo io;
  io.stdinFd = -1;
  const pid_t pid = spawnChild(args[0], args, io);
  if (pid < 0) return false;
  // Reaped by number on a thread of its own, so the caller never waits.
  try {
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> lock(mutex_);
    handToReaperLocked(Child{pid, pidfdOpen(pid)});
  }
  return true;
}

void PosixPlatform::setExecutionState(std::uint32_t flags) {
  if ((flags & ES_CONTINUOUS) == 0) return;  // a one-time nudge leaves nothing to hold
  if ((flags & ES_SYSTEM_REQUIRED) == 0) {
    endInhibitor();
    return;
  }
  if (inhibitor_) {
    if (endedState(inhibitor_->pid, inhibitor_->pidfd) == 0) return;
    endInhibitor();  // the tool gave up (no login manager): try again
  }
  const std::string tool = findProgram("systemd-inhibit");
  if (tool.empty()) return;
  int p[2];
  if (pipe2(p, O_CLOEXEC) != 0) return;
  SpawnIo io;
  io.stdinFd = p[0];
  io.quiet = true;
  // "cat" holds the lock until its input closes, which at the latest happens when the
  // manager ends, so a crash does not keep the computer awake.
  const pid_t pid = spawnChild(tool,
                               {tool, "--what=sleep", "--who=Vantrel", "--why=A panel is running", "--mode=block",
                                "cat"},
                               io);
  close(p[0]);
  if (pid < 0) {
    close(p[1]);
    return;
  }
  inhibitor_ = Child{pid, pidfdOpen(pid)};
  inhibitorPipe_ = p[1];
}

void PosixPlatform::endInhibitor() {
  if (inhibitorPipe_ >= 0) {
    close(inhibitorPipe_);
    inhibitorPipe_ = -1;
  }
  if (!inhibitor_) return;
  Child c = *inhibitor_;
  inhibitor_.reset();
  if (endedState(c.pid, c.pidfd) == 0) signalChild(c.pid, c.pidfd, SIGKILL);
  killGroup(c.pid, c.pidfd);
  waitForExit(c.pid, c.pidfd, 1000);
  std::lock_guard<std::mutex> lock(mutex_);
  if (tryReap(c.pid, c.pidfd)) {
    if (c.pidfd >= 0) close(c.pidfd);
  } else if (stopping_) {
    pending_.push_back(c);  // the destructor reaps what has ended by then
  } else {
    handToReaperLocked(c);
  }
}

bool PosixPlatform::screenSaverActive() {
  std::lock_guard<std::mutex> lock(screenSaverMutex_);
  if (screenSaverBus_) return false;
  // A running screen saver service is the nearest thing to "the screen saver is on".
  const auto bus = openSessionBus();
  return bus && bus->nameHasOwner(ScreenSaverName);
}

void PosixPlatform::setScreenSaverActive(bool active) {
  std::lock_guard<std::mutex> lock(screenSaverMutex_);
  if (active) {
    releaseScreenSaverLocked();
    return;
  }
  if (screenSaverBus_) {
    if (screenSaverBus_->connected()) return;
    screenSaverBus_.reset();  // the bus went away and took the inhibit with it: ask again
  }
  auto bus = openSessionBus();
  if (!bus) return;
  for (const char* path : ScreenSaverPaths) {
    const BusReply reply = bus->call(ScreenSaverName, path, ScreenSaverName, "Inhibit",
                                     {std::string("Vantrel"), std::string("A panel is running")});
    if (reply.ok() && reply.firstUint32) {
      screenSaverBus_ = std::move(bus);
      screenSaverCookie_ = *reply.firstUint32;
      screenSaverPath_ = path;
      return;
    }
    // A service that does not answer would not answer at the other object either.
    if (!reply.answered) return;
  }
}

void PosixPlatform::releaseScreenSaverLocked() {
  if (!screenSaverBus_) return;
  // Closing the connection alone would also end the inhibit; saying so is cleaner.
  screenSaverBus_->call(ScreenSaverName, screenSaverPath_, ScreenSaverName, "UnInhibit", {screenSaverCookie_});
  screenSaverBus_.reset();
  screenSaverCookie_ = 0;
  screenSaverPath_.clear();
}

void PosixPlatform::showDesktopIcons(bool /*show*/) {
  // Desktops here have no separate icon view to hide; minimizeAllWindows clears the view.
}

void PosixPlatform::minimizeAllWindows() {
  const std::string wmctrl = findProgram("wmctrl");
  if (!wmctrl.empty()) runHelper({wmctrl, "-k", "on"});
}

std::vector<std::string> PosixPlatform::localIPv4Addresses() {
  std::vector<std::string> out;
  char name[260] = {};
  if (gethostname(name, sizeof name - 1) != 0) return out;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address, not one per socket type
  addrinfo* result = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &result) != 0) return out;
  for (addrinfo* a = result; a != nullptr; a = a->ai_next) {
    if (a->ai_family != AF_INET || a->ai_addr == nullptr) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* sin = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
    if (inet_ntop(AF_INET, &sin->sin_addr, text, sizeof text) == nullptr) continue;
    if (std::find(out.begin(), out.end(), text) == out.end()) out.emplace_back(text);
  }
  freeaddrinfo(result);
  return out;
}

char PosixPlatform::decimalSeparator() {
  const lconv* lc = localeconv();
  if (lc == nullptr || lc->decimal_point == nullptr || lc->decimal_point[0] == '\0') return '.';
  return lc->decimal_point[0];
}

int PosixPlatform::pidOf(ProcessHandle handle) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = children_.find(handle);
  return it == children_.end() ? 0 : it->second.pid;
}

}  // namespace vantrel
