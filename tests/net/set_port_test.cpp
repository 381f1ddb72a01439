// The Network Config dialog, opened through the main window's command.
#include <gtest/gtest.h>

#include <map>

#include "net/TfrmSetPort.h"
#include "net_fixture.h"
#include "store/IniFile.h"

namespace vantrel::test {
namespace {

struct Dialog : PanelsFixture {
  Dialog() { m.settings = Settings{}; }
  void popOutProgram() const { writeFile(program.path() / "Popwarden.exe", ""); }
  // Opens the dialog; work sees it filled and answers as the user would.
  void open(std::function<ModalResult(TfrmSetPort&)> work) {
    ui.expectModal([work](TForm& form) { return work(dynamic_cast<TfrmSetPort&>(form)); });
    m.execute("aPortNumber");
  }
  std::map<std::string, std::string> written() const {
    std::map<std::string, std::string> keys;
    if (!std::filesystem::exists(settingsFile())) return keys;
    std::istringstream in(readFile(settingsFile()));
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const auto eq = line.find('=');
      if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
  }
};

TEST(NetworkConfig, OpensFilledFromTheSettingsWithTheGroupFollowingPanelSwitching) {
  Dialog f;
  f.m.settings.ListenPort = "48001";
  f.m.settings.FlightSimPort = "45001";
  f.m.settings.MulticastGroup = "239.0.0.9";
  f.m.settings.MonitorChecking = true;
  f.m.settings.AircraftIDPrefix = "XP_";
  f.m.settings.AircraftIDSuffix = " x";
  f.open([](TfrmSetPort& d) {
    EXPECT_EQ(d.Caption, "Vantrel Network Config");
    EXPECT_EQ(d.ClientWidth, 344);
    EXPECT_EQ(d.ClientHeight, 477);
    EXPECT_EQ(d.edPort.Text, "48001");
    EXPECT_EQ(d.edXPort.Text, "45001");
    EXPECT_EQ(d.edMulti.Text, "239.0.0.9");
    EXPECT_TRUE(d.cbMonitorChecking.Checked);
    EXPECT_EQ(d.edPrefix.Text, "XP_");
    EXPECT_EQ(d.edSUffix.Text, " x");
    EXPECT_FALSE(d.cbPanelSwitching.Checked);
    EXPECT_FALSE(d.gbPanelSwitching.Enabled);
    d.setPanelSwitching(true);
    EXPECT_TRUE(d.gbPanelSwitching.Enabled);
    d.setPanelSwitching(false);
    EXPECT_FALSE(d.gbPanelSwitching.Enabled);
    return ModalResult::Cancel;
  });
  f.m.settings.PanelSwitching = true;
  f.open([](TfrmSetPort& d) {
    EXPECT_TRUE(d.gbPanelSwitching.Enabled) << "filling the box runs its click handler";
    return ModalResult::Cancel;
  });
}

TEST(NetworkConfig, WithoutThePopOutProgramItsControlsHideAndOkWritesTheFormDefaults) {
  Dialog f;
  f.open([](TfrmSetPort& d) {
    for (const TControl* c : {static_cast<const TControl*>(&d.cbXPlanePopOuts),
                              static_cast<const TControl*>(&d.lXPlanePopOuts),
                              static_cast<const TControl*>(&d.edXPlanePopOuts),
                              static_cast<const TControl*>(&d.edXPlanePopOutsMaxMins),
                              static_cast<const TControl*>(&d.lXPlanePopOutsMaxMins)})
      EXPECT_FALSE(c->Visible) << c->Name;
    EXPECT_FALSE(d.cbXPlanePopOuts.Checked);
    return ModalResult::OK;
  });
  const auto keys = f.written();
  EXPECT_EQ(keys.at("XPlanePopOutChecking"), "no");
  EXPECT_EQ(keys.at("XPlanePopOutCheckingInterval"), "20000");
  EXPECT_EQ(keys.at("XPlanePopOutCheckingMax"), "300000");
  EXPECT_EQ(keys.size(), 13u) << "every key of the dialog and no other";
  EXPECT_EQ(keys.count("AdapterIPAddress"), 0u);
  EXPECT_EQ(keys.count("LastPanelUsed"), 0u);
}

TEST(NetworkConfig, PopOutTimesShowInTheirShortestFormAndOkWritesThemBack) {
  struct Case {
    std::int32_t interval, max;
    char separator;
    const char* seconds;
    const char* minutes;
  };
  const Case cases[] = {{15000, 240000, '.', "15", "4"},
                        {15500, 90000, ',', "15,5", "1,5"},
                        {1, 60000, '.', "0.001", "1"}};
  for (const auto& c : cases) {
    Dialog f;
    f.popOutProgram();
    f.platform.separator = c.separator;
    f.m.settings.XPlanePopOutCheckingInterval = c.interval;
    f.m.settings.XPlanePopOutCheckingMax = c.max;
    f.open([&](TfrmSetPort& d) {
      EXPECT_TRUE(d.edXPlanePopOuts.Visible);
      EXPECT_TRUE(d.cbXPlanePopOuts.Checked) << "the in-memory flag";
      EXPECT_EQ(d.edXPlanePopOuts.Text, c.seconds);
      EXPECT_EQ(d.edXPlanePopOutsMaxMins.Text, c.minutes);
      return ModalResult::Cancel;
    });
  }
  Dialog f;
  f.popOutProgram();
  f.open([](TfrmSetPort&) { return ModalResult::OK; });
  EXPECT_EQ(f.written().at("XPlanePopOutCheckingInterval"), "15000");
  EXPECT_EQ(f.written().at("XPlanePopOutCheckingMax"), "240000");
  EXPECT_EQ(f.written().at("XPlanePopOutChecking"), "yes");
}

TEST(NetworkConfig, OkTakesEveryFieldAsTyped) {
  Dialog f;
  f.open([](TfrmSetPort& d) {
    d.edPort.Text = "not a port";
    d.edMulti.Text = "1.2.3.4";
    d.edXPort.Text = "45009";
    d.setPanelSwitching(true);
    d.cbAutoStart.Checked = true;
    d.cbMonitorChecking.Checked = true;
    d.cbDeclutter.Checked = true;
    d.edPrefix.Text = "XP_ ";
    d.edSUffix.Text = "_B";
    return ModalResult::OK;
  });
  const Settings& s = f.m.settings;
  EXPECT_EQ(s.ListenPort, "not a port");
  EXPECT_EQ(s.MulticastGroup, "1.2.3.4");
  EXPECT_EQ(s.FlightSimPort, "45009");
  EXPECT_TRUE(s.PanelSwitching && s.AutoStart && s.MonitorChecking && s.DeclutterDesktop);
  EXPECT_EQ(s.AircraftIDPrefix, "XP_ ");
  const auto keys = f.written();
  EXPECT_EQ(keys.at("ListenPort"), "not a port");
  EXPECT_EQ(keys.at("MulticastGroup"), "1.2.3.4");
  EXPECT_EQ(keys.at("PanelSwitching"), "yes");
  EXPECT_EQ(keys.at("AircraftIDSuffix"), "_B");
}

TEST(NetworkConfig, TheThirdPartyBoxMeansWhatItSays) {
  // "Disable loading of 3rd party Apps" checked keeps application rows from starting; the
  // key keeps its stored meaning ("yes": they start).
  Dialog f;
  f.open([](TfrmSetPort& d) {
    EXPECT_FALSE(d.cbNoThirdParty.Checked) << "the default: applications start";
    d.cbNoThirdParty.Checked = true;
    return ModalResult::OK;
  });
  EXPECT_EQ(f.written().at("NoThirdPartyApp"), "no");
  f.run("A320");
  for (const auto& line : f.platform.startedCommandLines())
    EXPECT_EQ(line.find("-app"), std::string::npos) << line;
  f.m.aStopPanelExecute();
  f.open([](TfrmSetPort& d) {
    EXPECT_TRUE(d.cbNoThirdParty.Checked);
    d.cbNoThirdParty.Checked = false;
    return ModalResult::OK;
  });
  EXPECT_EQ(f.written().at("NoThirdPartyApp"), "yes");
}

TEST(NetworkConfig, APopOutFieldThatIsNoWholeNumberFailsAfterTheDialogClosed) {
  struct Case {
    const char* seconds;
    const char* minutes;
    const char* message;
    bool intervalTaken;
  };
  const Case cases[] = {{"15,5", "4", "'15,5' is not a valid integer value", false},
                        {"", "4", "'' is not a valid integer value", false},
                        {"15", "four", "'four' is not a valid integer value", true},
                        {"15", "40000", "'40000' is not a valid integer value", true},
                        {"3000000", "4", "'3000000' is not a valid integer value", false}};
  for (const auto& c : cases) {
    Dialog f;
    f.popOutProgram();
    f.platform.separator = ',';
    f.m.settings.XPlanePopOutCheckingInterval = 15500;
    f.open([&](TfrmSetPort& d) {
      d.edPort.Text = "48002";
      d.edXPlanePopOuts.Text = c.seconds;
      d.edXPlanePopOutsMaxMins.Text = c.minutes;
      f.ui.expectMessage(c.message);  // shown once the dialog is gone
      return ModalResult::OK;
    });
    EXPECT_EQ(f.m.settings.ListenPort, "48002") << "earlier steps keep their values";
    EXPECT_EQ(f.m.settings.XPlanePopOutCheckingInterval, c.intervalTaken ? 15000 : 15500);
    EXPECT_EQ(f.m.settings.XPlanePopOutCheckingMax, 240000);
    EXPECT_TRUE(f.written().empty()) << "nothing is written";
  }
}

TEST(NetworkConfig, CancelAfterEditingEverythingChangesNothing) {
  Dialog f;
  f.popOutProgram();
  const Settings before = f.m.settings;
  f.open([](TfrmSetPort& d) {
    for (TEdit* e : {&d.edMulti, &d.edPort, &d.edXPort, &d.edPrefix, &d.edSUffix,
                     &d.edXPlanePopOuts, &d.edXPlanePopOutsMaxMins})
      e->Text = "9";
    for (TCheckBox* c : {static_cast<TCheckBox*>(&d.cbAutoStart), static_cast<TCheckBox*>(&d.cbNoThirdParty),
                         static_cast<TCheckBox*>(&d.cbMonitorChecking), static_cast<TCheckBox*>(&d.cbDeclutter),
                         static_cast<TCheckBox*>(&d.cbXPlanePopOuts)})
      c->Checked = !c->Checked;
    d.setPanelSwitching(true);
    return ModalResult::Cancel;
  });
  const Settings& s = f.m.settings;
  EXPECT_EQ(s.MulticastGroup, before.MulticastGroup);
  EXPECT_EQ(s.ListenPort, before.ListenPort);
  EXPECT_EQ(s.PanelSwitching, before.PanelSwitching);
  EXPECT_EQ(s.NoThirdPartyApp, before.NoThirdPartyApp);
  EXPECT_EQ(s.XPlanePopOutCheckingInterval, before.XPlanePopOutCheckingInterval);
  EXPECT_TRUE(f.written().empty());
}

}  // namespace
}  // namespace vantrel::test
