// Start and Stop of a panel over the fake platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "app/Settings.h"
#include "support/MainFixture.h"

namespace vantrel::test {
namespace {

const char* const kGroup = "224.11.5.62";

InstrumentRow instrument(const std::string& caption, bool checked, const std::string& port,
                         const std::string& path, const std::string& size,
                         const std::string& instNo) {
  InstrumentRow r;
  r.Checked = checked;
  r.Caption = caption;
  r.SubItems = {port, path, kGroup, "45000", size, instNo};
  return r;
}

InstrumentRow application(const std::string& caption, bool checked, const std::string& path,
                          const std::string& parameters) {
  InstrumentRow r;
  r.Checked = checked;
  r.Caption = caption;
  r.SubItems = {"App", path, parameters, "", "", ""};
  return r;
}

// A loaded panel "Cessna" over the fake platform, the watcher off unless a test turns it on.
struct Loaded : MainFixture {
  TfrmMain& m;
  Loaded() : m(create()) {
    makePanel("Cessna");
    m.CurrentPanel = "Cessna";
    m.DocumentName = "Cessna";
    m.settings.XPlanePopOutChecking = false;
    m.UpdateStartAction(m.CurrentPanel);
  }
  std::string app(const std::string& rel) const { return m.AppPath + rel; }
  std::string settingsText() const {
    return std::filesystem::exists(settingsFile()) ? readFile(settingsFile()) : "";
  }
};

std::string instrumentLine(const std::string& appPath, const std::string& path,
                           const std::string& port, const std::string& address,
                           const std::string& size, const std::string& instNo) {
  return "\"" + appPath + path + "\" " + port + " \"Cessna\" \"" + address +
         "\" \"45000\" \"" + size + "\" \"true\" \"0\" \"false\" \"" + instNo + "\" \"" +
         kGroup + "\"";
}

TEST(PanelStart, StartsBackgroundThenCheckedRowsAndRecordsTheirHandles) {
  Loaded f;
  f.m.Instruments.add(instrument("A ASI", true, "47000", "Instruments_Brantic\\P@ASI.exe", "1,5", "1"));
  f.m.Instruments.add(instrument("B ASI", true, "47001", "Instruments_Brantic\\P@ASI.exe", "1", "2"));
  f.m.Instruments.add(instrument("C Off", false, "47002", "Instruments_Brantic\\P@ALT.exe", "1", "1"));
  f.m.Instruments.add(application("D Tool", true, "/opt/tools/map", "a, b c"));
  f.m.Instruments.add(instrument("E VSI", true, "47003", "Instruments_Brantic\\P@VSI.exe", "0.8", "1"));
  f.m.ProcessList = {"left over"};
  f.m.execute("aStartPanel");

  const std::string bg = "\"" + f.app("Scrimlay.exe") + "\" 0 \"Cessna\" \"" + kGroup +
                         "\" \"45000\" \"0\" \"true\" \"0\" \"false\" \"1\" \"" + kGroup + "\"";
  const std::vector<std::string> expected = {
      "start " + bg,
      "start " + instrumentLine(f.m.AppPath, "Instruments_Brantic\\P@ASI.exe", "47000", "192.168.1.10", "1.5", "1"),
      "start " + instrumentLine(f.m.AppPath, "Instruments_Brantic\\P@ASI.exe", "47001", "192.168.1.10", "1", "2"),
      "sleep 1000",
      "start \"/opt/tools/map\" \"a\" \" b c\" ",
      "start " + instrumentLine(f.m.AppPath, "Instruments_Brantic\\P@VSI.exe", "47003", "192.168.1.10", "0.8", "1"),
  };
  std::vector<std::string> launches;
  for (const auto& line : f.platform.log)
    if (line.rfind("start ", 0) == 0 || line.rfind("sleep ", 0) == 0) launches.push_back(line);
  EXPECT_EQ(launches, expected);

  std::vector<std::string> handles;
  for (const auto& p : f.platform.processes) handles.push_back(std::to_string(p.handle));
  EXPECT_EQ(f.m.ProcessList, handles);

  // The running state, and the list file written with the check marks of this moment.
  EXPECT_FALSE(f.m.action("aStartPanel").Enabled);
  EXPECT_TRUE(f.m.action("aStopPanel").Enabled);
  for (const char* g : {"Panel", "Program", "Panels", "Instruments", "Networking", "Help", "Exchange"})
    EXPECT_FALSE(f.m.group(g)->Enabled) << g;
  EXPECT_TRUE(f.m.group("Control")->Enabled);
  EXPECT_EQ(f.ui.minimizeCount, 1);
  EXPECT_FALSE(f.ui.busy);
  EXPECT_EQ(f.ui.busyCalls, 2);
  EXPECT_TRUE(f.home.exists("Quorvane/Dexalune/Panel_Cessna/Cessna.cfg"));
  EXPECT_NE(f.home.read("Quorvane/Dexalune/Panel_Cessna/Cessna.cfg").find("P@VSI.exe"), std::string::npos);
}

TEST(PanelStart, NoBackgroundAndMissingProgramsAreSkippedSilently) {
  Loaded f;
  f.m.Panel.ShowBackground = false;
  f.m.Panel.ShowBezels = false;
  f.m.Panel.EnableLighting = true;
  f.m.Panel.PanelMonitor = "2";
  f.m.Instruments.add(instrument("A", true, "47000", "Instruments_Brantic\\P@Gone.exe", "1", "1"));
  f.m.Instruments.add(instrument("B", true, "47001", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
  f.m.Instruments.add(application("C", true, "/opt/gone", ""));
  f.platform.canStart = [](const std::string& line) { return line.find("Gone") == std::string::npos && line.find("gone") == std::string::npos; };
  f.m.execute("aStartPanel");

  ASSERT_EQ(f.platform.processes.size(), 1u);
  EXPECT_EQ(f.platform.processes[0].commandLine,
            "\"" + f.app("Instruments_Brantic\\P@ASI.exe") + "\" 47001 \"Cessna\" \"192.168.1.10\" "
            "\"45000\" \"1\" \"false\" \"2\" \"true\" \"1\" \"" + kGroup + "\"");
  EXPECT_EQ(f.m.ProcessList, std::vector<std::string>{std::to_string(f.platform.processes[0].handle)});
  EXPECT_TRUE(f.ui.messages.empty());
  EXPECT_TRUE(f.m.action("aStopPanel").Enabled);
}

// Application rows, de-clutter and the switch flag.
struct DesktopCase {
  bool switchFlag;
  bool noThirdPartyApp;
  bool declutter;
  bool appStarted;
  bool tidied;  // icons hidden and windows minimized at Start, icons shown at Stop
};

// Readable in the test output.
void PrintTo(const DesktopCase& c, std::ostream* os) {
  *os << "switch " << c.switchFlag << ", NoThirdPartyApp " << c.noThirdPartyApp << ", declutter "
      << c.declutter;
}

class PanelDesktop : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(PanelDesktop, ApplicationsAndDeclutterFollowTheFlags) {
  const auto& c = GetParam();
  Loaded f;
  f.m.SwitchFlag = c.switchFlag;
  f.m.settings.NoThirdPartyApp = c.noThirdPartyApp;
  f.m.settings.DeclutterDesktop = c.declutter;
  f.m.Instruments.add(application("Tool", true, "/opt/tools/map", ""));
  f.m.aStartPanelExecute();

  const bool appRan = std::any_of(f.platform.processes.begin(), f.platform.processes.end(),
                                  [](const auto& p) { return p.commandLine == "\"/opt/tools/map\" "; });
  EXPECT_EQ(appRan, c.appStarted);
  EXPECT_EQ(f.platform.sleeps, (c.appStarted ? std::vector<int>{1000} : std::vector<int>{}));
  EXPECT_EQ(f.platform.desktopIconCalls, (c.tidied ? std::vector<bool>{false} : std::vector<bool>{}));
  EXPECT_EQ(f.platform.minimizeAllCount, c.tidied ? 1 : 0);

  f.m.aStopPanelExecute();
  EXPECT_EQ(f.platform.desktopIconCalls,
            (c.tidied ? std::vector<bool>{false, true} : std::vector<bool>{}));
  EXPECT_EQ(f.platform.minimizeAllCount, c.tidied ? 1 : 0) << "Stop minimizes nothing";
}

INSTANTIATE_TEST_SUITE_P(Table, PanelDesktop,
                         ::testing::Values(DesktopCase{false, true, false, true, false},
                                           DesktopCase{false, false, false, false, false},
                                           DesktopCase{true, true, false, false, false},
                                           DesktopCase{false, true, true, true, true},
                                           DesktopCase{true, true, true, false, false}));

TEST(PanelDesktop, IconsStayHiddenAcrossASwitchAndReturnAtTheNextPlainStop) {
  Loaded f;
  f.m.settings.DeclutterDesktop = true;
  f.m.aStartPanelExecute();
  f.m.SwitchFlag = true;
  f.m.aStopPanelExecute();
  f.m.aStartPanelExecute();
  f.m.SwitchFlag = false;
  EXPECT_EQ(f.platform.desktopIconCalls, std::vector<bool>{false});
  f.m.aStopPanelExecute();
  EXPECT_EQ(f.platform.desktopIconCalls, (std::vector<bool>{false, true}));
}

TEST(PanelStop, TerminatesEveryProcessReleasesItAndRestoresTheWindow) {
  Loaded f;
  f.m.Instruments.add(instrument("A", true, "47000", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
  f.m.Instruments.add(instrument("B", true, "47001", "Instruments_Brantic\\P@ASI.exe", "1", "2"));
  f.m.aStartPanelExecute();
  // One was closed by hand; an entry that is no number is passed over.
  f.platform.terminateProcess(f.platform.processes[1].handle, 0);
  f.platform.log.clear();
  f.platform.terminated.clear();
  f.m.ProcessList.push_back("not a handle");
  f.m.DocumentName = "Cessna - C172";
  f.m.aStopPanelExecute();

  std::vector<ProcessHandle> all;
  for (const auto& p : f.platform.processes) all.push_back(p.handle);
  EXPECT_EQ(f.platform.terminated, all);
  for (const auto& line : f.platform.log)
    if (line.rfind("terminate", 0) == 0) EXPECT_EQ(line.substr(line.size() - 2), " 0") << line;
  for (const auto& p : f.platform.processes) {
    EXPECT_FALSE(p.running);
    EXPECT_TRUE(p.closed) << p.handle;
  }
  EXPECT_TRUE(f.m.ProcessList.empty());
  EXPECT_EQ(f.m.DocumentName, "Cessna");
  EXPECT_TRUE(f.m.action("aStartPanel").Enabled);
  EXPECT_FALSE(f.m.action("aStopPanel").Enabled);
  for (const char* g : {"Panel", "Program", "Panels", "Instruments", "Networking", "Help", "Exchange"})
    EXPECT_TRUE(f.m.group(g)->Enabled) << g;
  EXPECT_FALSE(f.platform.sleeps.size()) << "Stop does not wait";
  EXPECT_EQ(f.ui.minimizeCount, 1) << "Stop leaves the window as it is";
}

TEST(PanelStop, LockModeKeepsStartDisabled) {
  Loaded f;
  f.m.lockUI = true;
  f.m.LockUserInterface();
  f.m.aStartPanelExecute();
  EXPECT_TRUE(f.m.action("aStopPanel").Enabled);
  f.m.OnRestore();
  EXPECT_FALSE(f.m.action("aStopPanel").Enabled);
  EXPECT_FALSE(f.m.action("aStartPanel").Enabled);
}

TEST(PanelStop, ScreenSaverComesBackOnlyWhenItWasActive) {
  for (bool before : {true, false}) {
    Loaded f;
    f.platform.screenSaver = before;
    f.m.aStartPanelExecute();
    EXPECT_FALSE(f.platform.screenSaver);
    EXPECT_EQ(f.m.ScreenSaverFlag, before);
    f.m.aStopPanelExecute();
    EXPECT_EQ(f.platform.screenSaver, before);
    EXPECT_EQ(f.platform.screenSaverSets,
              (before ? std::vector<bool>{false, true} : std::vector<bool>{}));
  }
}

TEST(KeepAwake, OnFromStartToStopWithOneCallEach) {
  Loaded f;
  f.m.aStartPanelExecute();
  f.m.KeepAwake.setIsCritical(true);
  EXPECT_EQ(f.platform.executionStates, std::vector<std::uint32_t>{0x80000001u});
  f.m.FormClose();
  f.keepAwake->setIsCritical(false);  // the exit's own switch-off
  EXPECT_EQ(f.platform.executionStates, (std::vector<std::uint32_t>{0x80000001u, 0x80000000u}));
  EXPECT_FALSE(f.keepAwake->IsCritical());
}

// Monitor checking: the question asked, and what No and Yes do.
struct MonitorCase {
  bool checking;
  MonitorTable panel;
  const char* question;  // nullptr: none
  ModalResult answer;
  bool started;
};

void PrintTo(const MonitorCase& c, std::ostream* os) {
  *os << "checking " << c.checking << ", panel monitors " << c.panel.Count << ", question "
      << (c.question ? c.question : "none");
}

class MonitorCheck : public ::testing::TestWithParam<MonitorCase> {};

TEST_P(MonitorCheck, AsksWhenTheMonitorsDiffer) {
  const auto& c = GetParam();
  Loaded f;
  f.m.settings.MonitorChecking = c.checking;
  f.m.settings.XPlanePopOutChecking = true;
  f.m.Panel.Monitors = c.panel;
  f.m.Instruments.add(instrument("A", true, "47000", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
  if (c.question) f.ui.expectMessage(c.question, c.answer);
  f.m.aStartPanelExecute();
  if (c.question) {
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].type, MsgType::Warning);
    EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.ui.messages[0].defaultButton, ModalResult::No);
  }
  EXPECT_EQ(f.m.action("aStopPanel").Enabled, c.started);
  EXPECT_EQ(f.platform.processes.size(), c.started ? 2u : 0u);
  // A declined question changes nothing.
  EXPECT_EQ(f.m.TimerXPlanePopOuts.Enabled, c.started);
  EXPECT_EQ(f.ui.busyCalls, c.started ? 2 : 0);
  EXPECT_EQ(f.ui.minimizeCount, c.started ? 1 : 0);
  EXPECT_EQ(f.platform.executionStates.size(), c.started ? 1u : 0u);
  EXPECT_EQ(f.platform.screenSaverSets.size(), c.started ? 1u : 0u);
}

const char* const kCount =
    "Current number of monitors does not match the panel's configured number of monitors! - Continue?";
const char* const kSize =
    "Current dimension of monitors does not match the panel's configured dimension of monitors! - Continue?";
const MonitorTable kSame{1, {1920}, {1080}};
const MonitorTable kTwo{2, {1920, 1920}, {1080, 1080}};
const MonitorTable kTaller{1, {1920}, {1200}};

INSTANTIATE_TEST_SUITE_P(
    Table, MonitorCheck,
    ::testing::Values(MonitorCase{true, kSame, nullptr, ModalResult::None, true},
                      MonitorCase{false, kTwo, nullptr, ModalResult::None, true},
                      MonitorCase{true, kTwo, kCount, ModalResult::No, false},
                      MonitorCase{true, kTwo, kCount, ModalResult::Yes, true},
                      MonitorCase{true, kTaller, kSize, ModalResult::No, false},
                      MonitorCase{true, kTaller, kSize, ModalResult::Cancel, false},
                      MonitorCase{true, kTaller, kSize, ModalResult::Yes, true}));

TEST(PanelStart, AFailedListSaveLeavesNothingChanged) {
  Loaded f;
  f.m.settings.XPlanePopOutChecking = true;
  f.m.settings.DeclutterDesktop = true;
  f.m.Instruments.add(instrument("A", true, "47000", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
  // The list file cannot be written below a plain file.
  const auto folder = f.home.path() / "Quorvane/Dexalune/Panel_Cessna";
  std::filesystem::remove_all(folder);
  writeFile(folder, "");
  f.ui.expectMessage("Unable to write to " + (folder / "Cessna.cfg").string());
  f.m.execute("aStartPanel");

  EXPECT_TRUE(f.platform.processes.empty());
  EXPECT_FALSE(f.ui.busy);
  EXPECT_FALSE(f.m.TimerXPlanePopOuts.Enabled);
  EXPECT_FALSE(f.m.KeepAwake.IsCritical());
  EXPECT_TRUE(f.platform.screenSaver);
  EXPECT_TRUE(f.platform.desktopIconCalls.empty());
  EXPECT_TRUE(f.m.action("aStartPanel").Enabled);
  EXPECT_FALSE(f.m.action("aStopPanel").Enabled);
}

// The pop-out watcher: ticks driven as the view's timer would, bounded.
struct PopOutCase {
  std::int32_t interval;
  std::int32_t limit;
  bool programThere;
  int runs;
};

void PrintTo(const PopOutCase& c, std::ostream* os) {
  *os << "interval " << c.interval << ", limit " << c.limit << ", program there "
      << c.programThere;
}

class PopOutWatcher : public ::testing::TestWithParam<PopOutCase> {};

TEST_P(PopOutWatcher, RunsTheProgramUntilThePassedLimit) {
  const auto& c = GetParam();
  Loaded f;
  if (c.programThere) f.program.write("Popwarden.exe", "");
  f.m.settings.XPlanePopOutChecking = true;
  f.m.settings.XPlanePopOutCheckingInterval = c.interval;
  f.m.settings.XPlanePopOutCheckingMax = c.limit;
  f.m.PopOutElapsed = 12345;
  f.m.aStartPanelExecute();
  EXPECT_EQ(f.m.PopOutElapsed, 0);
  EXPECT_TRUE(f.m.TimerXPlanePopOuts.Enabled);
  EXPECT_EQ(f.m.TimerXPlanePopOuts.Interval, c.interval);

  int ticks = 0;
  while (f.m.TimerXPlanePopOuts.Enabled && ticks < 100) {
    f.m.TimerXPlanePopOutsTimer();
    ++ticks;
  }
  EXPECT_EQ(static_cast<int>(f.platform.shellOpened.size()), c.runs);
  for (const auto& t : f.platform.shellOpened) EXPECT_EQ(t, f.app("Popwarden.exe"));
  if (c.interval > 0) {
    EXPECT_FALSE(f.m.TimerXPlanePopOuts.Enabled);
    if (c.limit < 2147483647) EXPECT_GT(f.m.PopOutElapsed, c.limit);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, PopOutWatcher,
                         ::testing::Values(PopOutCase{15000, 240000, true, 17},
                                           PopOutCase{15000, 240000, false, 0},
                                           PopOutCase{15000, 0, true, 1},
                                           PopOutCase{60000, 240000, true, 5},
                                           PopOutCase{0, 240000, true, 0},
                                           // A count that would wrap still stops.
                                           PopOutCase{2000000000, 2147483647, true, 2}));

TEST(PopOutWatcher, StopBeforeTheLimitDisarmsAndANewStartBeginsAtZero) {
  Loaded f;
  f.program.write("Popwarden.exe", "");
  f.m.settings.XPlanePopOutChecking = true;
  f.m.aStartPanelExecute();
  f.m.TimerXPlanePopOutsTimer();
  f.m.TimerXPlanePopOutsTimer();
  f.m.aStopPanelExecute();
  EXPECT_FALSE(f.m.TimerXPlanePopOuts.Enabled);
  f.m.TimerXPlanePopOutsTimer();  // a late tick
  EXPECT_EQ(f.platform.shellOpened.size(), 2u);
  f.m.aStartPanelExecute();
  EXPECT_EQ(f.m.PopOutElapsed, 0);
  EXPECT_TRUE(f.m.TimerXPlanePopOuts.Enabled);
}

TEST(PopOutWatcher, NotArmedWhenCheckingIsOff) {
  Loaded f;
  f.m.aStartPanelExecute();
  EXPECT_FALSE(f.m.TimerXPlanePopOuts.Enabled);
  EXPECT_EQ(f.m.TimerXPlanePopOuts.Interval, 15000);
}

// The local address handed to instruments, through Start.
struct AddressFixture : Loaded {
  AddressFixture() {
    m.Instruments.add(instrument("A", true, "47000", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
    m.Panel.ShowBackground = false;
  }
  std::string addressGiven() const {
    const std::string& line = platform.processes.back().commandLine;
    const std::size_t at = line.find("\"Cessna\" \"") + 10;
    return line.substr(at, line.find('"', at) - at);
  }
  std::string stored() const { return readSettings(settingsFile(), m.AppPath).AdapterIPAddress; }
};

TEST(LocalAddress, OneAddressIsUsedAndAutoStored) {
  AddressFixture f;
  f.home.write("Quorvane/Dexalune/vantrel.ini", "[Config]\r\nAdapterIPAddress=10.0.0.9\r\n");
  f.m.LocalIPAddressToUse = "10.0.0.9";
  f.m.aStartPanelExecute();
  EXPECT_EQ(f.addressGiven(), "192.168.1.10");
  EXPECT_EQ(f.m.LocalIPAddressToUse, "192.168.1.10");
  EXPECT_EQ(f.stored(), "Auto");
  // Later starts in the same run that find several use it without asking.
  f.m.aStopPanelExecute();
  f.platform.addresses = {"10.0.0.1", "10.0.0.2"};
  f.m.aStartPanelExecute();
  EXPECT_EQ(f.addressGiven(), "192.168.1.10");
  EXPECT_TRUE(f.ui.modalForms.empty());
}

TEST(LocalAddress, SeveralWithAutoAskOnceAndStoreTheChoice) {
  for (bool pickSecond : {true, false}) {
    AddressFixture f;
    f.platform.addresses = {"10.0.0.1", "10.0.0.2"};
    f.ui.expectModal([&](TForm& form) {
      auto& d = dynamic_cast<TfrmSelAdapter&>(form);
      EXPECT_EQ(d.Caption, "Select Network Adapter");
      EXPECT_EQ(d.dropdownAdapters.Items, f.platform.addresses);
      EXPECT_EQ(d.dropdownAdapters.ItemIndex, 0);
      if (!pickSecond) return ModalResult::Cancel;  // the close box
      d.dropdownAdapters.ItemIndex = 1;
      d.btnOKClick();
      return d.modalResult;
    });
    f.m.aStartPanelExecute();
    const std::string chosen = pickSecond ? "10.0.0.2" : "10.0.0.1";
    EXPECT_EQ(f.addressGiven(), chosen);
    EXPECT_EQ(f.stored(), chosen);
    f.m.aStopPanelExecute();
    f.m.aStartPanelExecute();  // no second question
    EXPECT_EQ(f.addressGiven(), chosen);
    EXPECT_EQ(f.ui.modalForms.size(), 1u);
  }
}

TEST(LocalAddress, SeveralWithAStoredAddressUseItAndWriteNothing) {
  AddressFixture f;
  f.platform.addresses = {"10.0.0.1", "10.0.0.2"};
  const std::string before = "[Config]\r\nAdapterIPAddress=172.16.0.5\r\n";
  f.home.write("Quorvane/Dexalune/vantrel.ini", before);
  f.m.LocalIPAddressToUse = "172.16.0.5";
  f.m.aStartPanelExecute();
  EXPECT_EQ(f.addressGiven(), "172.16.0.5");
  EXPECT_EQ(f.settingsText(), before);
}

TEST(LocalAddress, NoAddressShowsTheMessageAndChangesNothing) {
  AddressFixture f;
  f.platform.addresses.clear();
  f.m.settings.XPlanePopOutChecking = true;
  f.m.settings.DeclutterDesktop = true;
  f.m.settings.MonitorChecking = true;
  f.m.Panel.Monitors = kTwo;  // no monitor question either
  f.ui.expectMessage("Could not find a valid IP Address!");
  f.m.execute("aStartPanel");
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].type, MsgType::Plain);
  EXPECT_EQ(f.ui.messages[0].buttons, MsgButtons::OK);
  EXPECT_TRUE(f.platform.log.empty()) << f.platform.log.front();
  EXPECT_FALSE(f.m.TimerXPlanePopOuts.Enabled);
  EXPECT_EQ(f.ui.busyCalls, 0);
  EXPECT_EQ(f.ui.minimizeCount, 0);
  EXPECT_TRUE(f.m.action("aStartPanel").Enabled);
  EXPECT_FALSE(f.m.action("aStopPanel").Enabled);
  EXPECT_EQ(f.settingsText(), "");
  EXPECT_EQ(f.m.LocalIPAddressToUse, "Auto");
}

// FormClose while running: the last panel is on disk before anything is terminated.
class OrderPlatform : public FakePlatform {
 public:
  std::string settingsFile;
  std::vector<std::string> lastPanelAtTerminate;
  bool terminateProcess(ProcessHandle handle, std::uint32_t exitCode) override {
    lastPanelAtTerminate.push_back(readLastPanel(settingsFile));
    return FakePlatform::terminateProcess(handle, exitCode);
  }
};

TEST(PanelStop, CloseWritesTheLastPanelBeforeTerminating) {
  TempDir home, program;
  OrderPlatform platform;
  platform.appDataFolder = home.str();
  platform.exePath = (program.path() / "vantrel").string();
  platform.settingsFile = (home.path() / "Quorvane/Dexalune/vantrel.ini").string();
  ScriptedUi ui;
  TSystemCritical keepAwake(platform);
  TfrmMain m(platform, ui, keepAwake, {});
  m.FormCreate();
  m.settings.XPlanePopOutChecking = false;
  std::filesystem::create_directories(home.path() / "Quorvane/Dexalune/Panel_Cessna");
  m.CurrentPanel = "Cessna";
  m.Instruments.add(instrument("A", true, "47000", "Instruments_Brantic\\P@ASI.exe", "1", "1"));
  m.Instruments.add(instrument("B", true, "47001", "Instruments_Brantic\\P@ASI.exe", "1", "2"));
  m.aStartPanelExecute();
  ASSERT_EQ(m.ProcessList.size(), 3u);
  m.FormClose();
  EXPECT_EQ(platform.lastPanelAtTerminate, (std::vector<std::string>{"Cessna", "Cessna", "Cessna"}));
  EXPECT_TRUE(platform.runningProcesses().empty());
}

}  // namespace
}  // namespace vantrel::test
