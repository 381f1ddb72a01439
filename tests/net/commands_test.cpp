// What the items of a datagram do to the main window, over the fake platform.
#include <gtest/gtest.h>

#include "net/Commands.h"
#include "net_fixture.h"

namespace vantrel::test {
namespace {

using Names = std::vector<std::string>;

// One row of the aircraft-id rule: the state before, the datagram, the state after.
struct IdCase {
  const char* what;
  const char* runningPanel;  // nullptr: loadedPanel is loaded, not running
  const char* loadedPanel;   // "" for none
  bool switching;
  bool autoStart;
  const char* prefix;
  const char* suffix;
  const char* datagram;
  const char* current;   // current panel afterwards
  const char* document;  // document name afterwards
  bool running;          // a panel runs afterwards
  int stops;             // processes terminated
  Names started;         // programs started, in order
};

void PrintTo(const IdCase& c, std::ostream* os) { *os << c.what; }

class AircraftIdRule : public ::testing::TestWithParam<IdCase> {};

TEST_P(AircraftIdRule, SwitchesStartsOrOnlyNamesTheAircraft) {
  const IdCase& c = GetParam();
  PanelsFixture f({"A320", "B737", "C172 Skyhawk", "XP_E190", "E175_XL"});
  f.m.settings.PanelSwitching = c.switching;
  f.m.settings.AutoStart = c.autoStart;
  f.m.settings.AircraftIDPrefix = c.prefix;
  f.m.settings.AircraftIDSuffix = c.suffix;
  // The desktop is cleared on start; a switch must leave it alone.
  f.m.settings.DeclutterDesktop = true;
  if (c.runningPanel)
    f.run(c.runningPanel);
  else if (*c.loadedPanel)
    f.load(c.loadedPanel);
  f.platform.desktopIconCalls.clear();
  f.platform.minimizeAllCount = 0;

  f.datagram(c.datagram);

  EXPECT_EQ(f.m.CurrentPanel, c.current);
  EXPECT_EQ(f.m.DocumentName, c.document);
  EXPECT_EQ(f.running(), c.running);
  EXPECT_EQ(f.terminations(), c.stops);
  EXPECT_EQ(f.started(), c.started);
  EXPECT_FALSE(f.m.SwitchFlag);
  if (c.runningPanel) {
    EXPECT_TRUE(f.platform.desktopIconCalls.empty()) << "a switch leaves the desktop alone";
    EXPECT_EQ(f.platform.minimizeAllCount, 0);
  }
  // The instrument list is the current panel's.
  ASSERT_FALSE(f.m.Instruments.empty());
  EXPECT_EQ(f.m.Instruments.rows()[0].Caption, std::string(c.current) + " app");
}

const Names kNothing;
INSTANTIATE_TEST_SUITE_P(
    Table, AircraftIdRule,
    ::testing::Values(
        IdCase{"switching off: only the document name", "A320", "", false, true, "", "",
               "PNL:C172", "A320", "A320 (C172)", true, 0, kNothing},
        IdCase{"a running panel is replaced; no applications, desktop untouched", "A320", "",
               true, false, "", "", "PNL:C172", "C172 Skyhawk", "C172 Skyhawk(C172)", true, 3,
               {"background", "C172 Skyhawk"}},
        IdCase{"the blank after the colon is trimmed", "A320", "", true, false, "", "",
               "PNL: C172 ", "C172 Skyhawk", "C172 Skyhawk(C172)", true, 3,
               {"background", "C172 Skyhawk"}},
        IdCase{"the running panel already holds the id", "C172 Skyhawk", "", true, true, "", "",
               "PNL:C172", "C172 Skyhawk", "C172 Skyhawk (C172)", true, 0, kNothing},
        IdCase{"prefix: the bare id is shown first, the key after the switch", "A320", "", true,
               false, "XP_", "", "PNL:E190", "XP_E190", "XP_E190(XP_E190)", true, 3,
               {"background", "XP_E190"}},
        IdCase{"prefix: a key that matches nothing leaves the bare id", "A320", "", true, true,
               "XP_", "", "PNL:C172", "A320", "A320 (C172)", true, 0, kNothing},
        IdCase{"suffix", "A320", "", true, false, "", "_XL", "PNL:E175", "E175_XL",
               "E175_XL(E175_XL)", true, 3, {"background", "E175_XL"}},
        IdCase{"no panel matches: the running panel stays", "A320", "", true, true, "", "",
               "PNL:Z999", "A320", "A320 (Z999)", true, 0, kNothing},
        IdCase{"not running, auto start off: nothing starts", nullptr, "A320", true, false, "",
               "", "PNL:C172", "A320", "A320 (C172)", false, 0, kNothing},
        IdCase{"auto start loads and starts the panel with its applications", nullptr, "A320",
               true, true, "", "", "PNL:B737", "B737", "B737(B737)", true, 0,
               {"background", "app", "B737"}},
        IdCase{"auto start needs panel switching", nullptr, "A320", false, true, "", "",
               "PNL:B737", "A320", "A320 (B737)", false, 0, kNothing},
        IdCase{"an empty id is in no panel name", "A320", "", true, true, "", "", "PNL:",
               "A320", "A320 ()", true, 0, kNothing},
        IdCase{"the match is case-sensitive", "A320", "", true, true, "", "", "PNL:c172", "A320",
               "A320 (c172)", true, 0, kNothing}));

TEST(AircraftIdRule, WithNoPanelLoadedTheDocumentNameBeginsWithTheBlank) {
  PanelsFixture f;
  f.datagram("PNL:C172");
  EXPECT_EQ(f.m.DocumentName, " (C172)");
  EXPECT_EQ(f.m.CurrentPanel, "");
  EXPECT_TRUE(f.m.Instruments.empty());
}

TEST(AircraftIdRule, ASwitchKeepsTheOrderOfTheItems) {
  PanelsFixture f;
  f.m.settings.PanelSwitching = true;
  f.run("A320");
  f.datagram("PNL:C172|PNL:Stop");
  EXPECT_EQ(f.m.CurrentPanel, "C172 Skyhawk");
  EXPECT_FALSE(f.running());
  EXPECT_EQ(f.m.DocumentName, "C172 Skyhawk") << "Stop shows the panel name again";
  // A320's three processes, then the two just started.
  EXPECT_EQ(f.started(), (Names{"background", "C172 Skyhawk"}));
  EXPECT_EQ(f.terminations(), 5);
  EXPECT_LT(std::find_if(f.platform.log.begin(), f.platform.log.end(),
                         [](const std::string& l) { return l.find("C172 Skyhawk.exe") != l.npos; }),
            std::find_if(f.platform.log.rbegin(), f.platform.log.rend(),
                         [](const std::string& l) { return l.rfind("terminate", 0) == 0; })
                .base());
}

TEST(AircraftIdRule, AFoundPanelWithADamagedListIsReportedAndChangesNothing) {
  PanelsFixture f;
  f.m.settings.PanelSwitching = true;
  writeFile(f.dataFolder() + "/Panel_C172 Skyhawk/C172 Skyhawk.cfg", "\"only\",\"three\",\"fields\"\r\n");
  f.run("A320");
  const auto before = f.m.Instruments.rows().size();
  f.ui.expectMessage("Instrument list file " + f.dataFolder() +
                     "/Panel_C172 Skyhawk/C172 Skyhawk.cfg is damaged: line 1 holds fewer "
                     "than eight fields");
  f.datagram("PNL:C172|PNL:Stop");
  EXPECT_EQ(f.m.CurrentPanel, "A320");
  EXPECT_EQ(f.m.Instruments.size(), before) << "the running panel keeps its list";
  EXPECT_FALSE(f.m.SwitchFlag);
  EXPECT_FALSE(f.running()) << "the next item is still carried out";
  f.m.FormClose();
  EXPECT_NE(f.home.read("Quorvane/Dexalune/Panel_A320/A320.cfg").find("A320 gauge"),
            std::string::npos)
      << "the loaded panel's file was not emptied";
}

TEST(AircraftIdRule, ARaisedErrorEndsOnlyItsItemAndClearsTheSwitchFlag) {
  PanelsFixture f;
  f.m.settings.PanelSwitching = true;
  // A panel file whose monitor count is no number: ReadPanelFile raises.
  writeFile(f.dataFolder() + "/Panel_B737/B737.ini", "[Config]\nNo_of_Screens=two\n");
  f.run("A320");
  f.ui.expectMessage("'two' is not a valid integer value");
  f.datagram("PNL:B737|PNL:Start");
  EXPECT_FALSE(f.m.SwitchFlag);
  EXPECT_EQ(f.m.CurrentPanel, "B737");
  EXPECT_EQ(f.m.DocumentName, "B737(B737)");
  EXPECT_TRUE(f.running()) << "PNL:Start after the failed item starts B737";
}

TEST(AircraftIdRule, TheLoadedPanelsEditsAreSavedBeforeAnotherPanelReplacesIt) {
  PanelsFixture f;
  f.m.settings.PanelSwitching = true;
  f.m.settings.AutoStart = true;
  f.load("A320");
  f.m.Instruments.rows()[1].Checked = false;  // the user unticks "A320 gauge"
  f.datagram("PNL:B737");
  ASSERT_EQ(f.m.CurrentPanel, "B737");
  InstrumentList saved;
  std::string problem;
  ASSERT_TRUE(readInstrumentFile(f.dataFolder() + "/Panel_A320/A320.cfg", saved, problem));
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved.rows()[1].Caption, "A320 gauge");
  EXPECT_FALSE(saved.rows()[1].Checked);
}

TEST(Commands, StartStopAndIgnoredItems) {
  struct Case {
    const char* what;
    bool load, run, lock;
    const char* datagram;
    bool runningAfter;
    int started, stopped;
  };
  const Case cases[] = {
      {"Start starts a loaded panel", true, false, false, "PNL:Start", true, 3, 0},
      {"Start while running does nothing", true, true, false, "PNL:Start", true, 0, 0},
      {"Start with no panel does nothing", false, false, false, "PNL:Start", false, 0, 0},
      {"Start in lock mode does nothing", true, false, true, "PNL:Start", false, 0, 0},
      {"Stop stops", true, true, false, "PNL:Stop", false, 0, 3},
      {"Stop while not running does nothing", true, false, false, "PNL:Stop", false, 0, 0},
      {"small letters are no PNL", true, true, false, "pnl:Stop", true, 0, 0},
      {"a blank before PNL", true, true, false, " PNL:Stop", true, 0, 0},
      {"Start and Stop in one datagram", true, false, false, "PNL:Start|PNL:Stop", false, 3, 3},
  };
  for (const auto& c : cases) {
    PanelsFixture f;
    if (c.load) f.load("A320");
    if (c.run) f.run("A320");
    if (c.lock) {
      f.m.lockUI = true;
      f.m.LockUserInterface();
    }
    f.platform.log.clear();
    f.datagram(c.datagram);
    EXPECT_EQ(f.running(), c.runningAfter) << c.what;
    EXPECT_EQ(f.started().size(), static_cast<std::size_t>(c.started)) << c.what;
    EXPECT_EQ(f.terminations(), c.stopped) << c.what;
  }
}

TEST(Commands, KillStopsRestoresWaitsAndAsksToClose) {
  for (bool running : {false, true}) {
    PanelsFixture f;
    if (running) f.run("A320");
    int refreshes = 0;
    f.m.AfterListenerWork = [&] {
      ++refreshes;
      EXPECT_TRUE(f.m.CloseRequested) << "the view closes the window after the datagram";
    };
    f.platform.log.clear();
    f.datagram("PNL:Kill");
    EXPECT_FALSE(f.running());
    EXPECT_EQ(f.terminations(), running ? 3 : 0);
    EXPECT_EQ(f.ui.restoreCount, 1);
    ASSERT_FALSE(f.platform.log.empty());
    EXPECT_EQ(f.platform.log.back(), "sleep 100") << "the wait comes after the stop";
    EXPECT_EQ(refreshes, 1);
  }
}

}  // namespace
}  // namespace vantrel::test
