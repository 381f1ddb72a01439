#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "platform/Paths.h"
#include "support/MainFixture.h"

namespace vantrel::test {
namespace {

std::string missing(const std::string& name) {
  return "Panel " + name + " configuration is missing! - Create Panel again";
}

// What the command line decides: which panel loads, whether it starts, lock mode.
struct CommandLineCase {
  std::vector<std::string> args;
  std::string lastPanel;  // "LastPanelUsed" in the settings file
  std::string expectPanel;
  bool expectStarted;
  bool expectLock;
};

// Readable in the test output.
void PrintTo(const CommandLineCase& c, std::ostream* os) {
  *os << "arguments " << ::testing::PrintToString(c.args) << ", last panel " << ::testing::PrintToString(c.lastPanel);
}

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, LoadsStartsAndLocksAsAsked) {
  const auto& c = GetParam();
  MainFixture f;
  f.makePanel("Last");
  f.makePanel("Cessna");
  f.makePanel("Start");
  f.home.write("Quorvane/Dexalune/vantrel.ini", "[Config]\r\nLastPanelUsed=" + c.lastPanel + "\r\n");
  TfrmMain& m = f.create(c.args);
  m.FormShow();

  EXPECT_EQ(m.CurrentPanel, c.expectPanel);
  EXPECT_EQ(m.DocumentName, c.expectPanel);
  EXPECT_EQ(m.action("aStopPanel").Enabled, c.expectStarted) << "started";
  EXPECT_EQ(m.lockUI, c.expectLock);
  // FormShow minimizes before it starts, and Start minimizes again.
  EXPECT_EQ(f.ui.minimizeCount, c.expectStarted ? 2 : 0);
  if (c.expectLock) {
    for (const auto& a : m.Actions)
      if (a.Name != "aExit" && a.Name != "aStopPanel")
        EXPECT_FALSE(a.Enabled) << a.Name;
    EXPECT_TRUE(m.action("aExit").Enabled);
    EXPECT_FALSE(m.lvInstrumentsEnabled);
  } else {
    EXPECT_TRUE(m.lvInstrumentsEnabled);
    EXPECT_EQ(m.action("aStartPanel").Enabled, !c.expectPanel.empty() && !c.expectStarted);
    EXPECT_EQ(m.action("aEditSettings").Enabled, !c.expectPanel.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLine,
    ::testing::Values(
        CommandLineCase{{}, "", "", false, false},
        CommandLineCase{{}, "Last", "Last", false, false},
        CommandLineCase{{"start"}, "Last", "Last", true, false},
        CommandLineCase{{"start"}, "", "", false, false},
        CommandLineCase{{"Cessna"}, "Last", "Cessna", true, false},
        // "Start" with a capital S is a panel name, not the word start.
        CommandLineCase{{"Start"}, "Last", "Start", true, false},
        CommandLineCase{{"start", "lock"}, "Last", "Last", true, true},
        CommandLineCase{{"Cessna", "lock"}, "", "Cessna", true, true},
        CommandLineCase{{"Cessna", "Lock"}, "", "Cessna", true, false},
        CommandLineCase{{"Cessna", "lock", "x"}, "", "Cessna", true, false}));

TEST(MainWindow, MissingPanelIsReportedAndNothingStarts) {
  MainFixture f;
  f.ui.expectMessage(missing("Gone"));
  TfrmMain& m = f.create({"Gone"});
  m.FormShow();
  EXPECT_EQ(m.CurrentPanel, "");
  EXPECT_FALSE(m.action("aStartPanel").Enabled);
  EXPECT_FALSE(m.action("aStopPanel").Enabled);
  EXPECT_TRUE(f.platform.processes.empty());
}

TEST(MainWindow, LockedPanelCannotStartAgainAfterRestoreStopsIt) {
  MainFixture f;
  f.makePanel("Last");
  f.home.write("Quorvane/Dexalune/vantrel.ini", "[Config]\r\nLastPanelUsed=Last\r\n");
  TfrmMain& m = f.create({"start", "lock"});
  m.FormShow();
  ASSERT_TRUE(m.action("aStopPanel").Enabled);
  m.OnRestore();
  EXPECT_FALSE(m.action("aStopPanel").Enabled);
  EXPECT_FALSE(m.action("aStartPanel").Enabled);
  // Restoring again with nothing running does nothing.
  m.OnRestore();
  EXPECT_FALSE(m.action("aStartPanel").Enabled);
}

TEST(MainWindow, SendToFollowsMonitorCountAndTableKeepsFour) {
  for (int count : {1, 2, 6}) {
    MainFixture f;
    f.ui.monitorList.clear();
    for (int i = 0; i < count; ++i) f.ui.monitorList.push_back({i * 100, 0, 100 + i, 50 + i});
    TfrmMain& m = f.create();
    EXPECT_EQ(m.Monitors.Count, count);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(m.Monitors.Widths[i], i < count ? 100 + i : 0);
      EXPECT_EQ(m.Monitors.Heights[i], i < count ? 50 + i : 0);
    }
    m.FormShow();
    EXPECT_EQ(m.action("aSendToMonitor").Enabled, count > 1) << count;
    EXPECT_EQ(m.MonitorCount, count);
  }
}

TEST(MainWindow, CreateMakesTheDataFolderAndShowFillsTheStatusBar) {
  MainFixture f;
  TfrmMain& m = f.create();
  EXPECT_TRUE(std::filesystem::is_directory(f.dataFolder()));
  EXPECT_EQ(m.IniPath, f.dataFolder());
  EXPECT_EQ(m.AppPath, f.program.str() + PathDelim);
  m.FormShow();
  ASSERT_EQ(m.sbMain.size(), 3u);
  EXPECT_EQ(m.sbMain[0].Width, 170);
  EXPECT_EQ(m.sbMain[1].Width, 200);
  EXPECT_EQ(m.sbMain[2].Width, 50);
  EXPECT_EQ(m.sbMain[2].Text, "V2.15.1");
  // Reading the settings never creates the file.
  EXPECT_FALSE(std::filesystem::exists(f.settingsFile()));
}

TEST(MainWindow, CloseWritesLastPanelUsedAndKeepsTheRestOfTheFile) {
  const std::string before =
      "; my cockpit\r\n[Other]\r\nKeep=1\r\n\r\n[Config]\r\nListenPort=48001\r\n"
      "LastPanelUsed=Old\r\nUnknown=yes\r\n";
  {
    MainFixture f;
    f.home.write("Quorvane/Dexalune/vantrel.ini", before);
    f.ui.expectMessage(missing("Old"));
    TfrmMain& m = f.create();
    m.FormShow();
    m.FormClose();
    std::string expected = before;
    expected.replace(expected.find("LastPanelUsed=Old"), 17, "LastPanelUsed=");
    EXPECT_EQ(f.home.read("Quorvane/Dexalune/vantrel.ini"), expected);
  }
  {
    MainFixture f;
    f.makePanel("Kept");
    TfrmMain& m = f.create({"Kept"});
    m.FormShow();
    m.FormClose();
    // The start found the host's one address and stored "Auto".
    EXPECT_EQ(f.home.read("Quorvane/Dexalune/vantrel.ini"),
              "[Config]\r\nAdapterIPAddress=Auto\r\nLastPanelUsed=Kept\r\n");
    EXPECT_FALSE(m.action("aStopPanel").Enabled) << "close stops the running panel";
  }
}

TEST(MainWindow, CloseBeforeTheFirstShowKeepsTheLastPanel) {
  {
    MainFixture f;
    TfrmMain& m = f.create({"start"});
    m.CloseBeforeShow();
    EXPECT_EQ(f.home.read("Quorvane/Dexalune/vantrel.ini"), "[Config]\r\nLastPanelUsed=\r\n");
  }
  {
    MainFixture f;
    const std::string before = "[Config]\r\nLastPanelUsed=Cessna\r\nListenPort=1\r\n";
    const std::string list = "\"ASI\",\"47000\",\"x\",\"Y\",\"a\",\"b\",\"1\",\"1\"\r\n";
    f.home.write("Quorvane/Dexalune/vantrel.ini", before);
    f.makePanel("Cessna");
    f.home.write("Quorvane/Dexalune/Panel_Cessna/Cessna.cfg", list);
    TfrmMain& m = f.create({"start"});
    m.CloseBeforeShow();
    EXPECT_EQ(f.home.read("Quorvane/Dexalune/vantrel.ini"), before);
    EXPECT_EQ(f.home.read("Quorvane/Dexalune/Panel_Cessna/Cessna.cfg"), list);
    EXPECT_TRUE(f.platform.processes.empty());
  }
}

TEST(MainWindow, ExitAndHelpCommands) {
  MainFixture f;
  TfrmMain& m = f.create();
  m.FormShow();
  m.execute("aWebSite");
  ASSERT_EQ(f.platform.shellOpened.size(), 1u);
  EXPECT_NE(f.platform.shellOpened[0].find("quorvane"), std::string::npos);

  // The manual is opened only when it lies in the working folder.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(f.program.path());
  m.execute("aUserManual");
  EXPECT_EQ(f.platform.shellOpened.size(), 1u);
  f.program.write("Vantrel Manual.pdf", "%PDF");
  m.execute("aUserManual");
  std::filesystem::current_path(cwd);
  ASSERT_EQ(f.platform.shellOpened.size(), 2u);
  EXPECT_EQ(f.platform.shellOpened[1], (f.program.path() / "Vantrel Manual.pdf").string());

  EXPECT_FALSE(m.CloseRequested);
  m.execute("aExit");
  EXPECT_TRUE(m.CloseRequested);
}

TEST(MainWindow, RunningStateDisablesTheEditingGroupsOnly) {
  MainFixture f;
  TfrmMain& m = f.create();
  m.SetRunningState(true);
  for (const auto& tab : m.Tabs)
    for (const auto& g : tab.Groups) EXPECT_EQ(g.Enabled, g.Caption == "Control") << g.Caption;
  EXPECT_FALSE(m.action("aStartPanel").Enabled);
  EXPECT_TRUE(m.action("aStopPanel").Enabled);
  m.SetRunningState(false);
  for (const auto& tab : m.Tabs)
    for (const auto& g : tab.Groups) EXPECT_TRUE(g.Enabled) << g.Caption;
  EXPECT_TRUE(m.action("aStartPanel").Enabled);
  EXPECT_FALSE(m.action("aStopPanel").Enabled);
}

}  // namespace
}  // namespace vantrel::test
