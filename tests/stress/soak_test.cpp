// Soak: a panel of 20 stand-in instruments started and stopped 300 times through the real
// POSIX platform. Nothing may be left behind: no process, no zombie, no descriptor, and
// the memory of the manager stays within a small bound.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/TfrmMain.h"
#include "platform/posix/PosixPlatform.h"
#include "runtime/platform_test_util.h"
#include "support/ScriptedUi.h"

namespace vantrel {
namespace {

using testing::TempDir;

class SoakPlatform : public PosixPlatform {
 public:
  std::string exe, appData;
  std::string applicationDataFolder() override { return appData; }
  std::string executablePath() override { return exe; }
  std::vector<std::string> localIPv4Addresses() override { return {"127.0.0.1"}; }
  char decimalSeparator() override { return '.'; }
  // The sleep inhibitor and the screen saver have tests of their own; here only the
  // panel's processes are counted.
  void setExecutionState(std::uint32_t) override {}
  bool screenSaverActive() override { return false; }
};

std::size_t openDescriptors() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

long rssKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

TEST(Stress, StartAndStopSoakLeavesNoProcessZombieOrDescriptor) {
  constexpr int kCycles = 300, kInstruments = 20, kWarmUp = 10;
  TempDir program, home;
  SoakPlatform platform;
  platform.exe = program / "vantrel";
  platform.appData = home.path();
  std::filesystem::create_directories(program / "Instruments_Brantic");
  std::filesystem::create_symlink(std::string(VANTREL_TEST_HELPERS) + "/idle_instrument",
                                  program / "Instruments_Brantic/P@Idle.exe");
  test::ScriptedUi ui;
  TSystemCritical keepAwake(platform);
  TfrmMain m(platform, ui, keepAwake, {});
  m.FormCreate();
  m.settings.XPlanePopOutChecking = false;
  m.CurrentPanel = "Soak";
  m.Panel.ShowBackground = false;
  std::filesystem::create_directories(m.IniPath + "/Panel_Soak");
  for (int i = 0; i < kInstruments; ++i) {
    InstrumentRow r;
    r.Checked = true;
    r.Caption = "Idle " + std::to_string(10 + i);
    r.SubItems = {std::to_string(47000 + i), "Instruments_Brantic\\P@Idle.exe", "224.11.5.62",
                  "45000", "1", std::to_string(i + 1)};
    m.Instruments.add(r);
  }

  const auto reapAll = [&] {
    // Stop may leave killed children to be reaped later; the platform reaps them on its
    // next call. Bounded: they are dead already.
    return testing::waitUntil(
        [&] {
          platform.closeProcess(0);
          return testing::childrenOf(getpid()).empty();
        },
        10000);
  };

  std::size_t fdsBefore = 0;
  long rssBefore = 0;
  std::size_t mostChildren = 0;
  double startMs = 0, stopMs = 0;
  using Clock = std::chrono::steady_clock;
  const auto msSince = [](Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
  };
  const auto started = Clock::now();
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    if (cycle == kWarmUp) {
      ASSERT_TRUE(reapAll());
      fdsBefore = openDescriptors();
      rssBefore = rssKb();
    }
    auto t = Clock::now();
    m.aStartPanelExecute();
    startMs += msSince(t);
    std::vector<int> pids;
    for (const auto& h : m.ProcessList) pids.push_back(platform.pidOf(std::stoull(h)));
    ASSERT_EQ(pids.size(), static_cast<std::size_t>(kInstruments)) << "cycle " << cycle;
    ASSERT_TRUE(std::find(pids.begin(), pids.end(), 0) == pids.end()) << "cycle " << cycle;
    t = Clock::now();
    m.aStopPanelExecute();
    stopMs += msSince(t);
    ASSERT_TRUE(m.ProcessList.empty());
    ASSERT_TRUE(testing::waitUntil(
        [&] { return std::all_of(pids.begin(), pids.end(), testing::isDead); }, 5000))
        << "an instrument outlived Stop in cycle " << cycle;
    // Ended children waiting to be reaped are this cycle's at most: none pile up.
    const std::size_t children = testing::childrenOf(getpid()).size();
    mostChildren = std::max(mostChildren, children);
    ASSERT_LE(children, static_cast<std::size_t>(kInstruments)) << "cycle " << cycle;
  }
  const double seconds =
      std::chrono::duration<double>(Clock::now() - started).count();

  ASSERT_TRUE(reapAll()) << testing::childrenOf(getpid()).size() << " children left";
  const std::size_t fdsAfter = openDescriptors();
  const long rssAfter = rssKb();
  EXPECT_EQ(fdsAfter, fdsBefore) << "descriptors grew";
  EXPECT_LE(rssAfter - rssBefore, 2048) << "RSS " << rssBefore << " kB -> " << rssAfter << " kB";

  std::cout << "cycles " << kCycles << " of " << kInstruments << " instruments in " << seconds
            << " s (Start " << startMs / kCycles << " ms, Stop " << stopMs / kCycles
            << " ms on average); children after the last Stop 0 (most between cycles " << mostChildren
            << "); descriptors " << fdsBefore << " -> " << fdsAfter << "; RSS " << rssBefore
            << " kB -> " << rssAfter << " kB" << std::endl;
  ::testing::Test::RecordProperty("cycles", kCycles);
  ::testing::Test::RecordProperty("rss_growth_kb", static_cast<int>(rssAfter - rssBefore));
}

}  // namespace
}  // namespace vantrel
