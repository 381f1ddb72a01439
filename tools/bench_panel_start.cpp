// Times Start and Stop of a panel (50 instruments unless told otherwise) on the real
// platform against a plain loop that spawns and kills the same command lines. Run by hand:
//   bench_panel_start [rounds] [instruments] [MiB per instrument]
// e.g. "bench_panel_start 7 20 300" for large instruments. The program is its own stand-in
// instrument: started with VANTREL_STANDIN=1 it fills VANTREL_STANDIN_MB MiB of memory,
// then only waits (at most 60 s) to be killed.
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/TfrmMain.h"
#include "platform/CommandLine.h"
#include "platform/ConsoleUi.h"
#include "platform/posix/PosixPlatform.h"
#include "runtime/CommandLines.h"

extern char** environ;

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;

int instrumentCount = 50;

class BenchPlatform : public PosixPlatform {
 public:
  std::string exe, appData;
  std::string applicationDataFolder() override { return appData; }
  std::string executablePath() override { return exe; }
  std::vector<std::string> localIPv4Addresses() override { return {"127.0.0.1"}; }

  // Where Stop's time goes.
  double terminateMs = 0, closeMs = 0, powerMs = 0;
  bool terminateProcess(ProcessHandle h, std::uint32_t code) override {
    const auto t = std::chrono::steady_clock::now();
    const bool r = PosixPlatform::terminateProcess(h, code);
    terminateMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
    return r;
  }
  void closeProcess(ProcessHandle h) override {
    const auto t = std::chrono::steady_clock::now();
    PosixPlatform::closeProcess(h);
    closeMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
  }
  void setExecutionState(std::uint32_t flags) override {
    const auto t = std::chrono::steady_clock::now();
    PosixPlatform::setExecutionState(flags);
    powerMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
  }
};

// Answers every prompt with its default and draws nothing, on one monitor.
class SilentUi : public ConsoleUi {
 public:
  ModalResult showModal(TForm&) override { return ModalResult::OK; }
  std::vector<MonitorInfo> monitors() override { return {{0, 0, 1920, 1080}}; }
  MonitorInfo desktop() override { return {0, 0, 1920, 1080}; }
};

double msSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Waits (at most 30 s) until every process holds about megabytes MiB.
void waitFilled(const std::vector<pid_t>& pids, int megabytes) {
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  for (pid_t pid : pids) {
    while (Clock::now() < deadline) {
      FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/statm").c_str(), "r");
      long size = 0, resident = 0;
      if (f) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2) resident = 0;
        std::fclose(f);
      }
      if (resident * sysconf(_SC_PAGESIZE) >= (static_cast<long>(megabytes) << 20) * 9 / 10) break;
      timespec step{0, 2000000};
      nanosleep(&step, nullptr);
    }
  }
}

bool gone(pid_t pid) { return !std::filesystem::exists("/proc/" + std::to_string(pid)); }

int standIn() {
  if (const char* mb = std::getenv("VANTREL_STANDIN_MB")) {
    const std::size_t bytes = static_cast<std::size_t>(std::atol(mb)) << 20;
    if (bytes) {
      // Kept in a volatile pointer: a block nobody reads is otherwise dropped by the
      // optimiser, malloc and memset alike, and the instrument stays small.
      static char* volatile block = nullptr;
      block = static_cast<char*>(std::malloc(bytes));
      if (block) std::memset(block, 1, bytes);
    }
  }
  timespec step{60, 0};
  nanosleep(&step, nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (const char* s = std::getenv("VANTREL_STANDIN"); s && std::strcmp(s, "1") == 0) return standIn();
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  if (argc > 2) instrumentCount = std::max(1, std::atoi(argv[2]));
  const int megabytes = argc > 3 ? std::max(0, std::atoi(argv[3])) : 0;
  setenv("VANTREL_STANDIN_MB", std::to_string(megabytes).c_str(), 1);

  char tmpl[] = "/tmp/vantrel-bench-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) return 1;
  const std::filesystem::path root = tmpl;
  const std::filesystem::path program = root / "program";
  std::filesystem::create_directories(program / "Instruments_Brantic");
  std::filesystem::create_directories(root / "home");
  std::filesystem::create_symlink(std::filesystem::read_symlink("/proc/self/exe"),
                                  program / "Instruments_Brantic" / "P@ASI.exe");
  setenv("VANTREL_STANDIN", "1", 1);

  BenchPlatform platform;
  platform.exe = (program / "vantrel").string();
  platform.appData = (root / "home").string();
  SilentUi ui;
  TSystemCritical keepAwake(platform);
  TfrmMain m(platform, ui, keepAwake, {});
  m.FormCreate();
  m.settings.XPlanePopOutChecking = false;
  m.CurrentPanel = "Bench";
  m.Panel.ShowBackground = false;
  std::filesystem::create_directories(m.IniPath + "/Panel_Bench");
  for (int i = 0; i < instrumentCount; ++i) {
    InstrumentRow r;
    r.Checked = true;
    char caption[32];
    std::snprintf(caption, sizeof caption, "ASI %02d", i);
    r.Caption = caption;
    r.SubItems = {std::to_string(47000 + i), "Instruments_Brantic\\P@ASI.exe", "224.11.5.62",
                  "45000", "1,5", std::to_string(i + 1)};
    m.Instruments.add(r);
  }

  // The same command lines as Start's, split the same way, for the plain loop.
  if (!m.ResolveLocalAddress()) {
    std::fprintf(stderr, "no local address\n");
    return 1;
  }
  const LaunchContext c = m.MakeLaunchContext();
  std::vector<std::vector<std::string>> argvs;
  for (const auto& r : m.Instruments.rows()) {
    auto args = splitCommandLine(joinTokens(instrumentTokens(c, r)));
    std::replace(args[0].begin(), args[0].end(), '\\', '/');
    argvs.push_back(std::move(args));
  }

  std::vector<double> starts, stops, spawns, kills, ratios, stopTerminate, stopClose, stopPower;
  for (int round = 0; round < rounds; ++round) {
    auto t = Clock::now();
    m.aStartPanelExecute();
    starts.push_back(msSince(t));
    std::vector<pid_t> pids;
    for (const auto& h : m.ProcessList) pids.push_back(platform.pidOf(std::stoull(h)));
    // Large instruments are only large once they have filled their memory.
    if (megabytes) waitFilled(pids, megabytes);
    if (pids.size() != static_cast<std::size_t>(instrumentCount)) {
      std::fprintf(stderr, "started %zu of %d\n", pids.size(), instrumentCount);
      m.aStopPanelExecute();
      return 1;
    }
    platform.terminateMs = platform.closeMs = platform.powerMs = 0;
    t = Clock::now();
    m.aStopPanelExecute();
    stops.push_back(msSince(t));
    stopTerminate.push_back(platform.terminateMs);
    stopClose.push_back(platform.closeMs);
    stopPower.push_back(platform.powerMs);
    // Bounded wait until the panel's processes are gone for good.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!std::all_of(pids.begin(), pids.end(), gone) && Clock::now() < deadline) {
      m.platform.sleepMs(1);  // the platform reaps them in the background
    }
    int left = 0;
    for (pid_t p : pids) left += gone(p) ? 0 : 1;
    if (left) std::fprintf(stderr, "round %d: %d processes still there after Stop\n", round, left);

    std::vector<pid_t> plain;
    t = Clock::now();
    for (const auto& args : argvs) {
      std::vector<char*> cargv;
      for (const auto& a : args) cargv.push_back(const_cast<char*>(a.c_str()));
      cargv.push_back(nullptr);
      pid_t pid = -1;
      if (posix_spawn(&pid, cargv[0], nullptr, nullptr, cargv.data(), environ) == 0)
        plain.push_back(pid);
    }
    spawns.push_back(msSince(t));
    if (megabytes) waitFilled(plain, megabytes);
    t = Clock::now();
    for (pid_t p : plain) kill(p, SIGKILL);
    for (pid_t p : plain) waitpid(p, nullptr, 0);
    kills.push_back(msSince(t));
    ratios.push_back(starts.back() / spawns.back());
  }

  std::printf("rounds %d, %d instruments of %d MiB each (medians)\n", rounds, instrumentCount, megabytes);
  std::printf("Start            %8.2f ms\n", median(starts));
  std::printf("plain spawn loop %8.2f ms\n", median(spawns));
  std::printf("ratio            %8.2f\n", median(ratios));
  std::printf("Stop             %8.2f ms\n", median(stops));
  std::printf("  of which terminate %6.2f, release %6.2f, keep-awake off %6.2f ms\n",
              median(stopTerminate), median(stopClose), median(stopPower));
  std::printf("plain kill+reap  %8.2f ms\n", median(kills));

  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  return 0;
}
