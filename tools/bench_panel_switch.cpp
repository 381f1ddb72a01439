// Times the switch of a running 20-instrument panel to another one on a command datagram,
// from the send to the last new instrument started, against a plain loop that spawns the
// same 20 command lines. Run by hand, inside a private network namespace:
//   unshare -n sh -c 'ip link set lo up && ip route add 224.0.0.0/4 dev lo &&
//                     build/bin/bench_panel_switch [switches]'
// The program is its own stand-in instrument: started with VANTREL_STANDIN=1 it only waits
// (at most 60 s) to be killed.
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "app/TfrmMain.h"
#include "platform/CommandLine.h"
#include "platform/ConsoleUi.h"
#include "platform/posix/PosixPlatform.h"
#include "runtime/CommandLines.h"
#include "store/InstrumentFile.h"

extern char** environ;

namespace {

using namespace vantrel;
using Clock = std::chrono::steady_clock;

constexpr int kInstruments = 20;
const char* const kGroup = "239.7.7.7";
constexpr int kPort = 48200;

class BenchPlatform : public PosixPlatform {
 public:
  std::string exe, appData;
  Clock::time_point lastStarted, firstTerminate, lastClosed;
  int startedCount = 0;
  bool terminating = false;
  std::string applicationDataFolder() override { return appData; }
  std::string executablePath() override { return exe; }
  std::vector<std::string> localIPv4Addresses() override { return {"127.0.0.1"}; }
  bool terminateProcess(ProcessHandle h, std::uint32_t code) override {
    if (!terminating) firstTerminate = Clock::now();
    terminating = true;
    return PosixPlatform::terminateProcess(h, code);
  }
  void closeProcess(ProcessHandle h) override {
    PosixPlatform::closeProcess(h);
    lastClosed = Clock::now();
  }
  double createMs = 0, powerMs = 0;
  void setExecutionState(std::uint32_t flags) override {
    const auto t = Clock::now();
    PosixPlatform::setExecutionState(flags);
    powerMs += std::chrono::duration<double, std::milli>(Clock::now() - t).count();
  }
  bool screenSaverActive() override {
    const auto t = Clock::now();
    const bool r = PosixPlatform::screenSaverActive();
    powerMs += std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    return r;
  }
  ProcessHandle createProcess(const std::string& commandLine) override {
    const auto t = Clock::now();
    const ProcessHandle h = PosixPlatform::createProcess(commandLine);
    createMs += std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    if (h != 0) {
      lastStarted = Clock::now();
      ++startedCount;
    }
    return h;
  }
};

// Answers every prompt with its default; work for the user-interface thread waits in a
// queue that main drains, as the toolkit's event loop would.
class BenchUi : public ConsoleUi {
 public:
  ModalResult showModal(TForm&) override { return ModalResult::OK; }
  std::vector<MonitorInfo> monitors() override { return {{0, 0, 1920, 1080}}; }
  MonitorInfo desktop() override { return {0, 0, 1920, 1080}; }
  void runOnUiThread(std::function<void()> work) override {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(work));
    changed_.notify_all();
  }
  // Runs one piece of handed-over work; false when none came within timeoutMs.
  bool runNext(int timeoutMs) {
    std::function<void()> work;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return !queue_.empty(); }))
        return false;
      work = std::move(queue_.front());
      queue_.pop_front();
    }
    workBegan = Clock::now();
    work();
    return true;
  }
  Clock::time_point workBegan;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
};

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int standIn() {
  timespec step{60, 0};
  nanosleep(&step, nullptr);
  return 0;
}

// Only loopback: nothing may reach a real interface.
bool onlyLoopback() {
  std::ifstream in("/proc/self/net/dev");
  std::string line;
  std::vector<std::string> names;
  while (std::getline(in, line)) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = line.substr(0, colon);
    name.erase(0, name.find_first_not_of(' '));
    names.push_back(name);
  }
  return names == std::vector<std::string>{"lo"};
}

InstrumentList panelRows(const std::string& set) {
  InstrumentList list;
  for (int i = 0; i < kInstruments; ++i) {
    InstrumentRow r;
    r.Checked = true;
    char caption[32];
    std::snprintf(caption, sizeof caption, "%s %02d", set.c_str(), i);
    r.Caption = caption;
    r.SubItems = {std::to_string(47000 + i), "Instruments_Brantic\\P@ASI.exe", kGroup, "45000",
                  "1,5", std::to_string(i + 1)};
    list.add(r);
  }
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  if (const char* s = std::getenv("VANTREL_STANDIN"); s && std::strcmp(s, "1") == 0) return standIn();
  if (!onlyLoopback()) {
    std::fprintf(stderr,
                 "bench_panel_switch sends datagrams: run it in a private network namespace\n"
                 "  unshare -n sh -c 'ip link set lo up && ip route add 224.0.0.0/4 dev lo && %s'\n",
                 argv[0]);
    return 2;
  }
  const int switches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;

  char tmpl[] = "/tmp/vantrel-bench-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) return 1;
  const std::filesystem::path root = tmpl;
  const std::filesystem::path program = root / "program";
  std::filesystem::create_directories(program / "Instruments_Brantic");
  std::filesystem::create_symlink(std::filesystem::read_symlink("/proc/self/exe"),
                                  program / "Instruments_Brantic" / "P@ASI.exe");
  const std::filesystem::path data = root / "home" / "Quorvane" / "Dexalune";
  const char* const panels[2][2] = {{"Alpha ALPHA", "ALPHA"}, {"Bravo BRAVO", "BRAVO"}};
  for (const auto& p : panels) {
    const std::filesystem::path folder = data / (std::string("Panel_") + p[0]);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / (std::string(p[0]) + ".cfg"))
        << instrumentFileText(panelRows(p[1]), kGroup, "45000");
    std::ofstream(folder / (std::string(p[0]) + ".ini")) << "[Config]\nShowBackground=0\n";
  }
  std::ofstream(data / "vantrel.ini")
      << "[Config]\nMulticastGroup=" << kGroup << "\nListenPort=" << kPort
      << "\nPanelSwitching=yes\nXPlanePopOutChecking=no\nLastPanelUsed=" << panels[0][0]
      << "\n";
  setenv("VANTREL_STANDIN", "1", 1);

  BenchPlatform platform;
  platform.exe = (program / "vantrel").string();
  platform.appData = (root / "home").string();
  BenchUi ui;
  TSystemCritical keepAwake(platform);
  TfrmMain m(platform, ui, keepAwake, {"start"});
  m.FormCreate();
  m.FormShow();  // loads Alpha, starts listening, starts Alpha
  if (!m.Listener.active() || !m.action("aStopPanel").Enabled) {
    std::fprintf(stderr, "the listener or the panel did not start\n");
    return 1;
  }

  std::vector<double> switchTimes, arrivals, lookups, stops, starts, creates, powers;
  for (int i = 0; i < switches; ++i) {
    const auto& target = panels[(i + 1) % 2];
    platform.startedCount = 0;
    platform.terminating = false;
    platform.createMs = platform.powerMs = 0;
    const auto sent = Clock::now();
    const std::string problem = platform.sendMulticast(kGroup, kPort, std::string("PNL:") + target[1]);
    if (!problem.empty()) {
      std::fprintf(stderr, "cannot send: %s\n", problem.c_str());
      break;
    }
    if (!ui.runNext(3000)) {
      std::fprintf(stderr, "switch %d: no datagram arrived\n", i);
      break;
    }
    if (m.CurrentPanel != target[0] || platform.startedCount != kInstruments) {
      std::fprintf(stderr, "switch %d: now %s with %d started\n", i, m.CurrentPanel.c_str(),
                   platform.startedCount);
      break;
    }
    switchTimes.push_back(ms(platform.lastStarted - sent));
    arrivals.push_back(ms(ui.workBegan - sent));
    lookups.push_back(ms(platform.firstTerminate - ui.workBegan));
    stops.push_back(ms(platform.lastClosed - platform.firstTerminate));
    starts.push_back(ms(platform.lastStarted - platform.lastClosed));
    creates.push_back(platform.createMs);
    powers.push_back(platform.powerMs);
  }
  m.FormClose();

  // The same command lines as Start's, split the same way, for the plain loop.
  const LaunchContext c = m.MakeLaunchContext();
  std::vector<std::vector<std::string>> argvs;
  for (const auto& r : m.Instruments.rows()) {
    auto args = splitCommandLine(joinTokens(instrumentTokens(c, r)));
    std::replace(args[0].begin(), args[0].end(), '\\', '/');
    argvs.push_back(std::move(args));
  }
  std::vector<double> spawns;
  for (int i = 0; i < switches; ++i) {
    std::vector<pid_t> plain;
    const auto t = Clock::now();
    for (const auto& args : argvs) {
      std::vector<char*> cargv;
      for (const auto& a : args) cargv.push_back(const_cast<char*>(a.c_str()));
      cargv.push_back(nullptr);
      pid_t pid = -1;
      if (posix_spawn(&pid, cargv[0], nullptr, nullptr, cargv.data(), environ) == 0)
        plain.push_back(pid);
    }
    spawns.push_back(ms(Clock::now() - t));
    for (pid_t p : plain) kill(p, SIGKILL);
    for (pid_t p : plain) waitpid(p, nullptr, 0);
  }

  if (!switchTimes.empty()) {
    std::printf("%zu switches, %d instruments each\n", switchTimes.size(), kInstruments);
    std::printf("switch: send to last new instrument started  median %7.2f ms, worst %7.2f ms\n",
                median(switchTimes), *std::max_element(switchTimes.begin(), switchTimes.end()));
    std::printf("  of which (medians): send to the user-interface thread %.2f, lookup and list save "
                "%.2f, stop %.2f, panel file and start %.2f ms\n",
                median(arrivals), median(lookups), median(stops), median(starts));
    std::printf("  in the start (medians): the 20 process starts %.2f, keep-awake and screen saver %.2f ms\n",
                median(creates), median(powers));
    std::printf("plain loop spawning the same %d lines         median %7.2f ms, worst %7.2f ms\n",
                kInstruments, median(spawns), *std::max_element(spawns.begin(), spawns.end()));
  }
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  return switchTimes.size() == static_cast<std::size_t>(switches) ? 0 : 1;
}
