// Start and Stop with real processes: the argv each program receives, and nothing left
// behind after Stop.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "app/TfrmMain.h"
#include "platform/posix/PosixPlatform.h"
#include "runtime/RunState.h"
#include "runtime/platform_test_util.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

// The real platform with the program's folder, data folder, addresses and locale fixed.
class HostPlatform : public PosixPlatform {
 public:
  std::string exe, appData;
  std::vector<std::string> addresses{"10.9.8.7"};
  char separator = '.';
  std::string applicationDataFolder() override { return appData; }
  std::string executablePath() override { return exe; }
  std::vector<std::string> localIPv4Addresses() override { return addresses; }
  char decimalSeparator() override { return separator; }
};

InstrumentRow row(bool checked, const std::string& port, const std::string& path,
                  const std::string& size, const std::string& instNo) {
  InstrumentRow r;
  r.Checked = checked;
  r.Caption = path + instNo;
  r.SubItems = {port, path, "224.11.5.62", "45000", size, instNo};
  return r;
}

struct RealPanel {
  TempDir program, home, records;
  ScopedEnv env;
  HostPlatform platform;
  test::ScriptedUi ui;
  TSystemCritical keepAwake{platform};
  std::unique_ptr<TfrmMain> m;

  RealPanel() {
    env.set("VANTREL_RECORD_DIR", records.path());
    env.set("VANTREL_RECORD_EXIT", std::nullopt);
    env.set("VANTREL_RECORD_IGNORE_TERM", std::nullopt);
    platform.exe = program / "vantrel";
    platform.appData = home.path();
    std::filesystem::create_directories(program / "Instruments_Brantic");
    link("Scrimlay.exe");
    m = std::make_unique<TfrmMain>(platform, ui, keepAwake, std::vector<std::string>{});
    m->FormCreate();
    m->settings.XPlanePopOutChecking = false;
    m->CurrentPanel = "My Panel";
    std::filesystem::create_directories(m->IniPath + "/Panel_My Panel");
  }
  ~RealPanel() {
    // Whatever a failed test left running is ended here.
    if (m && m->action("aStopPanel").Enabled) m->aStopPanelExecute();
  }
  void link(const std::string& rel) {
    std::filesystem::create_symlink(testing::RecordingInstrument, program / rel);
  }
  // A stand-in that runs the recorder with one variable set.
  void script(const std::string& rel, const std::string& variable) {
    const std::string path = program / rel;
    test::writeFile(path, "#!/bin/sh\n" + variable + "=1 exec '" + testing::RecordingInstrument +
                              "' \"$@\"\n");
    chmod(path.c_str(), 0755);
  }
  std::vector<int> pids() const {
    std::vector<int> out;
    for (const auto& entry : m->ProcessList) out.push_back(platform.pidOf(std::stoull(entry)));
    return out;
  }
};

TEST(PanelProcesses, EachProgramReceivesItsExactArguments) {
  RealPanel p;
  p.link("Instruments_Brantic/P@ASI.exe");
  p.link("Instruments_Brantic/P@ALT.exe");
  p.m->Panel.ShowBezels = false;
  p.m->Panel.EnableLighting = true;
  p.m->Panel.PanelMonitor = "1";
  p.m->Instruments.add(row(true, "47000", "Instruments_Brantic\\P@ASI.exe", "1,5", "1"));
  p.m->Instruments.add(row(true, "47001", "Instruments_Brantic\\P@ASI.exe", "0.75", "2"));
  p.m->Instruments.add(row(false, "47002", "Instruments_Brantic\\P@ALT.exe", "1", "1"));
  InstrumentRow app;
  app.Checked = true;
  app.Caption = "Zz Tool";
  app.SubItems = {"App", testing::RecordingInstrument, "a, b c,\"x,y\",", "", "", ""};
  p.m->Instruments.add(app);

  const auto before = std::chrono::steady_clock::now();
  p.m->aStartPanelExecute();
  const auto took = std::chrono::steady_clock::now() - before;
  EXPECT_GE(took, std::chrono::milliseconds(1000)) << "the application row waits first";

  const std::string asi = p.program / "Instruments_Brantic/P@ASI.exe";
  const std::vector<std::vector<std::string>> expected = {
      {p.program / "Scrimlay.exe", "0", "My Panel", "224.11.5.62", "45000", "0", "false", "1",
       "true", "1", "224.11.5.62"},
      {asi, "47000", "My Panel", "10.9.8.7", "45000", "1.5", "false", "1", "true", "1", "224.11.5.62"},
      {asi, "47001", "My Panel", "10.9.8.7", "45000", "0.75", "false", "1", "true", "2", "224.11.5.62"},
      {testing::RecordingInstrument, "a", " b c", "x,y", ""},
  };
  const auto pids = p.pids();
  ASSERT_EQ(pids.size(), expected.size());
  for (std::size_t i = 0; i < pids.size(); ++i) {
    const auto args = testing::waitForArgs(p.records.path(), pids[i]);
    ASSERT_TRUE(args) << "program " << i << " recorded nothing";
    EXPECT_EQ(*args, expected[i]) << "program " << i;
  }
}

TEST(PanelProcesses, CommaSeparatorLocaleGetsACommaSize) {
  RealPanel p;
  p.platform.separator = ',';
  p.m->Panel.ShowBackground = false;
  p.link("Instruments_Brantic/P@ASI.exe");
  p.m->Instruments.add(row(true, "47000", "Instruments_Brantic\\P@ASI.exe", "1.5", "1"));
  p.m->aStartPanelExecute();
  const auto pids = p.pids();
  ASSERT_EQ(pids.size(), 1u);
  const auto args = testing::waitForArgs(p.records.path(), pids[0]);
  ASSERT_TRUE(args);
  ASSERT_EQ(args->size(), 11u);
  EXPECT_EQ((*args)[5], "1,5");
}

TEST(PanelProcesses, StopLeavesNothingBehind) {
  RealPanel p;
  p.link("Instruments_Brantic/P@ASI.exe");
  p.script("Instruments_Brantic/P@Quit.exe", "VANTREL_RECORD_EXIT");
  p.script("Instruments_Brantic/P@Stubborn.exe", "VANTREL_RECORD_IGNORE_TERM");
  p.m->Instruments.add(row(true, "47000", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
  p.m->Instruments.add(row(true, "47001", "Instruments_Brantic\\P@Quit.exe", "1", "1"));
  p.m->Instruments.add(row(true, "47002", "Instruments_Brantic\\P@Stubborn.exe", "1", "1"));
  p.m->Instruments.add(row(true, "47003", "Instruments_Brantic\\P@Missing.exe", "1", "1"));
  p.m->aStartPanelExecute();

  const auto pids = p.pids();
  ASSERT_EQ(pids.size(), 4u) << "background and three instruments; the missing one skipped";
  for (int pid : pids) ASSERT_TRUE(testing::waitForArgs(p.records.path(), pid)) << pid;
  // The one that quits has ended and is waiting to be reaped.
  ASSERT_TRUE(testing::waitUntil([&] { return testing::isDead(pids[2]); }, 5000));

  p.m->aStopPanelExecute();
  EXPECT_TRUE(p.m->ProcessList.empty());
  for (int pid : pids)
    EXPECT_TRUE(testing::waitUntil([&] { return testing::isGone(pid); }, 1000))
        << pid << " still there, state " << testing::processState(pid).value_or('?');
  EXPECT_TRUE(testing::childrenOf(getpid()).empty());
}

TEST(PanelProcesses, AKilledManagersInstrumentsRunOnUntilTheNextStartEndsThem) {
  RealPanel p;
  p.link("Instruments_Brantic/P@ASI.exe");
  p.m->Instruments.add(row(true, "47000", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
  p.m->Instruments.add(row(true, "47001", "Instruments_Brantic\\P@ASI.exe", "1", "2"));
  // The same program, running but not started by the panel.
  const ProcessHandle stranger = p.platform.createProcess("\"" + testing::RecordingInstrument + "\"");
  const int strangerPid = p.platform.pidOf(stranger);
  ASSERT_TRUE(testing::waitForArgs(p.records.path(), strangerPid));

  // A manager starts the panel and is killed.
  const pid_t manager = fork();
  ASSERT_GE(manager, 0);
  if (manager == 0) {
    p.m->aStartPanelExecute();
    raise(SIGKILL);
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(manager, &status, 0), manager);
  ASSERT_TRUE(WIFSIGNALED(status));

  RunState left;
  ASSERT_TRUE(readRunState(p.m->IniPath, left));
  ASSERT_EQ(left.processes.size(), 3u) << "background and two instruments";
  const std::string program = std::filesystem::canonical(testing::RecordingInstrument).string();
  for (const ProcessIdentity& id : left.processes) {
    EXPECT_EQ(id.program, program);
    EXPECT_TRUE(p.platform.isRunning(id)) << id.pid << " ended with the manager";
  }
  // Entries that name the stranger's number but not the stranger.
  const ProcessIdentity real = *p.platform.processIdentity(stranger);
  RunState forged = left;
  forged.processes.push_back({real.pid, real.startTime + "1", real.program});
  forged.processes.push_back({real.pid, real.startTime, "/usr/bin/other"});
  writeRunState(p.m->IniPath, forged);

  p.m->aStartPanelExecute();
  for (const ProcessIdentity& id : left.processes)
    EXPECT_TRUE(testing::isDead(static_cast<int>(id.pid))) << id.pid << " runs on beside its new copy";
  EXPECT_FALSE(testing::isDead(strangerPid));
  const auto fresh = p.pids();
  ASSERT_EQ(fresh.size(), 3u);
  for (int pid : fresh) EXPECT_FALSE(testing::isDead(pid));
  RunState now;
  ASSERT_TRUE(readRunState(p.m->IniPath, now));
  ASSERT_EQ(now.processes.size(), 3u);
  for (std::size_t i = 0; i < fresh.size(); ++i) EXPECT_EQ(now.processes[i].pid, fresh[i]);

  p.m->aStopPanelExecute();
  EXPECT_FALSE(std::filesystem::exists(runStatePath(p.m->IniPath)));
  EXPECT_FALSE(testing::isDead(strangerPid));
  p.platform.terminateProcess(stranger, 0);
  p.platform.closeProcess(stranger);
}

}  // namespace
}  // namespace vantrel
