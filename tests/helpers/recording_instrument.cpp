// A stand-in instrument for the tests: records what it was started with, then waits to be
// killed (never longer than 120 s).
//
// $VANTREL_RECORD_DIR/<pid>.args : the argument count on a line, then for each argument
//                                  its byte length on a line, its bytes and "\n".
// $VANTREL_RECORD_DIR/<pid>.info : "pgid N", "fds a b c", "blocked s1 s2", "ignored s1 s2",
//                                  "cwd PATH", one a line. Written before .args, so a
//                                  present .args means both are complete.
// $VANTREL_RECORD_DIR/<pid>.child: the pid of a child it started (VANTREL_RECORD_SPAWN_CHILD=1).
// VANTREL_RECORD_EXIT=1 exits at once after recording; VANTREL_RECORD_IGNORE_TERM=1
// ignores SIGTERM; VANTREL_RECORD_MB=N fills N MiB of memory first (a large instrument,
// which takes a while to die).
#include <dirent.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool flag(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr && std::strcmp(v, "1") == 0;
}

void writeFile(const std::string& path, const std::string& bytes) {
  const std::string tmp = path + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  std::rename(tmp.c_str(), path.c_str());
}

std::string openFds() {
  std::string out;
  DIR* d = opendir("/proc/self/fd");
  if (d == nullptr) return out;
  const int own = dirfd(d);
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] == '.') continue;
    if (std::atoi(e->d_name) == own) continue;
    out += ' ';
    out += e->d_name;
  }
  closedir(d);
  return out;
}

std::string signalState() {
  sigset_t blocked;
  sigprocmask(SIG_SETMASK, nullptr, &blocked);
  std::string b = "blocked";
  std::string ig = "ignored";
  for (int s = 1; s < 32; ++s) {
    if (sigismember(&blocked, s) == 1) b += " " + std::to_string(s);
    struct sigaction sa {};
    if (sigaction(s, nullptr, &sa) == 0 && sa.sa_handler == SIG_IGN) ig += " " + std::to_string(s);
  }
  return b + "\n" + ig + "\n";
}

void sleepBounded(int seconds) {
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (now.tv_sec - start.tv_sec >= seconds) return;
    timespec step{0, 100 * 1000 * 1000};
    nanosleep(&step, nullptr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* dir = std::getenv("VANTREL_RECORD_DIR");
  if (dir == nullptr) return 2;
  const std::string base = std::string(dir) + "/" + std::to_string(getpid());

  // Sample the inherited state before this program changes any of it.
  std::string info = "pgid " + std::to_string(getpgrp()) + "\n";
  info += "fds" + openFds() + "\n";
  info += signalState();
  char cwd[4096];
  info += std::string("cwd ") + (getcwd(cwd, sizeof cwd) ? cwd : "") + "\n";

  if (flag("VANTREL_RECORD_IGNORE_TERM")) signal(SIGTERM, SIG_IGN);
  if (flag("VANTREL_RECORD_SPAWN_CHILD")) {
    const pid_t child = fork();
    if (child == 0) {
      sleepBounded(120);
      _exit(0);
    }
    if (child > 0) writeFile(base + ".child", std::to_string(child) + "\n");
  }

  if (const char* mb = std::getenv("VANTREL_RECORD_MB")) {
    const std::size_t bytes = static_cast<std::size_t>(std::atol(mb)) << 20;
    if (bytes) {
      char* block = static_cast<char*>(std::malloc(bytes));
      if (block) std::memset(block, 1, bytes);
    }
  }

  writeFile(base + ".info", info);
  std::string args = std::to_string(argc) + "\n";
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    args += std::to_string(a.size()) + "\n" + a + "\n";
  }
  writeFile(base + ".args", args);

  if (flag("VANTREL_RECORD_EXIT")) return 0;
  sleepBounded(120);
  return 0;
}
