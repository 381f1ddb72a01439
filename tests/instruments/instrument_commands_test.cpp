#include <gtest/gtest.h>

#include <filesystem>

#include "instruments/SendTo.h"
#include "instruments/TfrmAdd3rdParty.h"
#include "instruments/TfrmAddInstrument.h"
#include "instruments/TfrmSelMonitor.h"
#include "store/TfrmSelPanel.h"
#include "support/MainFixture.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

const std::string kAsi = "Instruments_Brantic\\P@ASI.exe";
const std::string kTorque = "Instruments_Brantic\\E@Torque.exe";

std::string row(const std::string& caption, const std::string& port, const std::string& path,
                const std::string& check, const std::string& instNo,
                const std::string& ip = "224.11.5.62") {
  return "\"" + caption + "\",\"" + port + "\",\"" + path + "\",\"" + check + "\",\"" + ip +
         "\",\"45000\",\"1\",\"" + instNo + "\"\r\n";
}

// Panel "Cessna" loaded at start, settings with their own group and port, and a catalog.
struct InstrumentsFixture : MainFixture {
  TfrmMain* m = nullptr;
  // startMessages: the boxes the start-up load shows.
  explicit InstrumentsFixture(const std::string& cfg = "",
                              const std::vector<std::string>& startMessages = {}) {
    program.write("Instruments_Brantic/P@ASI.exe", "x");
    program.write("Instruments_Brantic/P@ASI.ini",
                  "[Info]\r\nShortName=Airspeed\r\n[Network]\r\nDefaultPort=47001\r\n");
    program.write("Instruments_Brantic/E@Torque.exe", "x");
    program.write("Instruments_Brantic/E@Torque.ini",
                  "[Info]\r\nShortName=Torque\r\n[Network]\r\nDefaultPort=47005\r\n");
    makePanel("Cessna");
    writeFile(folder() / "Cessna.cfg", cfg);
    home.write("Quorvane/Dexalune/vantrel.ini",
               "[Config]\r\nLastPanelUsed=Cessna\r\nMulticastGroup=239.1.2.3\r\n"
               "FlightSimPort=49001\r\n");
    for (const auto& text : startMessages) ui.expectMessage(text);
    m = &create();
    m->FormShow();
  }
  fs::path folder() const { return fs::path(dataFolder()) / "Panel_Cessna"; }
  std::vector<std::string> rows() const {
    std::vector<std::string> out;
    for (const auto& r : m->Instruments.rows()) {
      std::string line = std::string(r.Checked ? "Y" : "N") + " " + r.Caption;
      for (const auto& s : r.SubItems) line += "|" + s;
      out.push_back(line);
    }
    return out;
  }
  void select(const std::string& caption, const std::string& instNo = "") {
    const auto& rs = m->Instruments.rows();
    for (std::size_t i = 0; i < rs.size(); ++i)
      if (rs[i].Caption == caption && (instNo.empty() || rs[i].SubItems[5] == instNo)) {
        m->lvInstrumentsSelected = static_cast<int>(i);
        return;
      }
    FAIL() << "no row " << caption;
  }
};

TEST(AddInstrument, AddsTheCheckedInstrumentsWithTheConfiguredNetwork) {
  InstrumentsFixture f(row("Airspeed", "46001", kAsi, "Y", "1") + row("Airspeed", "46001", kAsi, "Y", "3"));
  f.select("Airspeed", "3");
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmAddInstrument&>(form);
    EXPECT_EQ(d.Caption, "Add Instrument");
    EXPECT_EQ(d.Width, 670);
    EXPECT_EQ(d.MinWidth, 670);
    EXPECT_EQ(d.MaxWidth, 670);
    for (auto& item : d.lvInstruments.Items) item.Checked = true;
    d.edPort.Text = "1";
    return ModalResult::OK;
  });
  f.m->execute("aAddInstrument");
  EXPECT_EQ(f.rows(), (std::vector<std::string>{
                          "Y Airspeed|46001|" + kAsi + "|224.11.5.62|45000|1|1",
                          "Y Airspeed|46001|" + kAsi + "|224.11.5.62|45000|1|3",
                          "Y Airspeed|47001|" + kAsi + "|239.1.2.3|49001|1|4",
                          "Y Torque|47005|" + kTorque + "|239.1.2.3|49001|1|1",
                      }));
  // The selection stays on the row it was on.
  EXPECT_EQ(f.m->lvInstrumentsSelected, 1);
}

TEST(AddInstrument, CancelAddsNothingAndTheNextOpeningIsInAddModeAgain) {
  InstrumentsFixture f(row("Airspeed", "46001", kAsi, "Y", "1"));
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmAddInstrument&>(form);
    for (auto& item : d.lvInstruments.Items) item.Checked = true;
    return ModalResult::Cancel;
  });
  f.m->execute("aAddInstrument");
  EXPECT_EQ(f.rows().size(), 1u);

  // After an edit the dialog is narrow; Add makes it wide again and clears the marks.
  f.select("Airspeed");
  f.ui.expectModal([](TForm&) { return ModalResult::Cancel; });
  f.m->execute("aEditInstrument");
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmAddInstrument&>(form);
    EXPECT_EQ(d.Width, 670);
    EXPECT_EQ(d.bbOK.Caption, "Add checked instruments");
    for (const auto& item : d.lvInstruments.Items) EXPECT_FALSE(item.Checked);
    return ModalResult::OK;
  });
  f.m->execute("aAddInstrument");
  EXPECT_EQ(f.rows().size(), 1u);
}

TEST(EditInstrument, SaveTakesThePortAndTheDescriptionsNameAndChecksTheRow) {
  InstrumentsFixture f(row("Old name", "46001", kAsi, "N", "2", "10.0.0.1"));
  f.select("Old name");
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmAddInstrument&>(form);
    EXPECT_EQ(d.Caption, "Edit Instrument");
    EXPECT_EQ(d.Width, 405);
    EXPECT_EQ(d.bbOK.Caption, "Save changes");
    EXPECT_EQ(d.lName.Caption, "Airspeed");
    EXPECT_EQ(d.edPort.Text, "46001");
    d.edPort.Text = "47077";
    return ModalResult::OK;
  });
  f.m->execute("aEditInstrument");
  EXPECT_EQ(f.rows(), (std::vector<std::string>{"Y Airspeed|47077|" + kAsi + "|239.1.2.3|49001|1|2"}));
  EXPECT_EQ(f.m->lvInstrumentsSelected, 0);
}

TEST(EditInstrument, ADescriptionWithoutANameKeepsTheRowsCaption) {
  InstrumentsFixture f(row("Mine", "46009", "Instruments_Brantic\\P@Gone.exe", "Y", "1"),
                       {"Missing instrument file for Mine\n\rDid you install all instument add-ons?"});
  f.select("Mine");
  f.ui.expectModal([](TForm& form) {
    EXPECT_EQ(dynamic_cast<TfrmAddInstrument&>(form).lName.Caption, "");
    return ModalResult::OK;
  });
  f.m->execute("aEditInstrument");
  EXPECT_EQ(f.rows(), (std::vector<std::string>{
                          "Y Mine|46009|Instruments_Brantic\\P@Gone.exe|239.1.2.3|49001|1|1"}));
}

TEST(EditInstrument, CancelOrNoSelectionChangesNothing) {
  InstrumentsFixture f(row("Airspeed", "46001", kAsi, "N", "1"));
  const auto before = f.rows();
  f.m->execute("aEditInstrument");  // nothing selected: no dialog
  f.m->execute("aDeleteInstrument");
  f.m->execute("aResetPos");
  f.select("Airspeed");
  f.ui.expectModal([](TForm& form) {
    dynamic_cast<TfrmAddInstrument&>(form).edPort.Text = "9";
    return ModalResult::Cancel;
  });
  f.m->execute("aEditInstrument");
  EXPECT_EQ(f.rows(), before);
}

TEST(EditInstrument, DoubleClickEditsWhileRunningButNotWhenLocked) {
  {
    InstrumentsFixture f(row("Airspeed", "46001", kAsi, "Y", "1"));
    f.m->SetRunningState(true);
    f.select("Airspeed");
    f.ui.expectModal([](TForm&) { return ModalResult::Cancel; });
    f.m->lvInstrumentsDblClick();
    EXPECT_EQ(f.ui.modalForms, (std::vector<std::string>{"frmAddInstrument"}));
  }
  {
    InstrumentsFixture f(row("Airspeed", "46001", kAsi, "Y", "1"));
    f.m->LockUserInterface();
    f.select("Airspeed");
    f.m->lvInstrumentsDblClick();
    EXPECT_TRUE(f.ui.modalForms.empty());
  }
}

TEST(ApplicationRows, CaptionFromThePathAndParametersKeptWhole) {
  const struct {
    std::string path, caption;
  } cases[] = {
      {"C:\\Tools\\Moving Map.exe", "Moving Map"},
      {"/opt/tools/moving-map", "moving-map"},
      {"/home/pilot/bin/start radio.cmd", "start radio"},
      {"", ""},
  };
  for (const auto& k : cases) {
    InstrumentsFixture f;
    f.ui.expectModal([&](TForm& form) {
      auto& d = dynamic_cast<TfrmAdd3rdParty&>(form);
      EXPECT_EQ(d.Caption, "Add 3rd Party Application");
      EXPECT_EQ(d.edAppName.Text, "");
      d.edAppName.Text = k.path;
      d.edParameters.Text = "a,b";
      return ModalResult::OK;
    });
    f.m->execute("a3rdParty");
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"Y " + k.caption + "|App|" + k.path + "|a,b|||"}));
  }
}

TEST(ApplicationRows, EditReplacesTheRowCheckedAndCancelKeepsIt) {
  const std::string app = "\"Map\",\"App\",\"/opt/map\",\"N\",\"-x\",\"\",\"\",\"\"\r\n";
  InstrumentsFixture f(app + row("Airspeed", "46001", kAsi, "Y", "1"));
  f.select("Map");
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmAdd3rdParty&>(form);
    EXPECT_EQ(d.edAppName.Text, "/opt/map");
    EXPECT_EQ(d.edParameters.Text, "-x");
    d.edAppName.Text = "/opt/zz/Zulu Chart";
    return ModalResult::Cancel;
  });
  f.m->execute("aEditInstrument");
  EXPECT_EQ(f.rows()[1], "N Map|App|/opt/map|-x|||");

  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmAdd3rdParty&>(form);
    d.edAppName.Text = "/opt/zz/Zulu Chart";
    d.edParameters.Text = "\"a,b\",c";
    return ModalResult::OK;
  });
  f.m->execute("aEditInstrument");
  EXPECT_EQ(f.rows(), (std::vector<std::string>{
                          "Y Airspeed|46001|" + kAsi + "|224.11.5.62|45000|1|1",
                          "Y Zulu Chart|App|/opt/zz/Zulu Chart|\"a,b\",c|||"}));
}

TEST(ApplicationRows, BrowseOffersProgramsAndCommandFilesAndCancelKeepsThePath) {
  InstrumentsFixture f;
  TfrmAdd3rdParty d(f.ui);
  d.edAppName.Text = "typed";
  f.ui.expectOpenFile(std::nullopt);
  d.btnImageClick();
  EXPECT_EQ(d.edAppName.Text, "typed");
  f.ui.expectOpenFile("/opt/tools/run.cmd");
  d.btnImageClick();
  EXPECT_EQ(d.edAppName.Text, "/opt/tools/run.cmd");
  ASSERT_EQ(f.ui.fileDialogs.size(), 2u);
  const auto& o = f.ui.fileDialogs[0];
  EXPECT_EQ(o.title, "Select Application");
  EXPECT_EQ(o.filter, "Executable Files (*.exe)|*.exe|Command Files (*.cmd)|*.cmd");
  EXPECT_EQ(o.defaultExt, ".exe");
#ifdef _WIN32
  EXPECT_TRUE(o.executablesFilter.empty());  // Windows programs are the filter's *.exe files
#else
  EXPECT_FALSE(o.executablesFilter.empty());
#endif
}

TEST(RemoveInstrument, DeletesOnlyThatCopysPlacementFile) {
  InstrumentsFixture f(row("Airspeed", "46001", kAsi, "Y", "1") + row("Airspeed", "46001", kAsi, "Y", "2") +
                       row("Airspeed", "46001", kAsi, "Y", "3") +
                       "\"Map\",\"App\",\"/opt/Map\",\"Y\",\"\",\"\",\"\",\"\"\r\n");
  for (const char* n : {"ASI1.ini", "ASI2.ini", "ASI3.ini", "Map.ini"}) writeFile(f.folder() / n, "x");
  const std::string listFile = readFile(f.folder() / "Cessna.cfg");

  f.select("Airspeed", "2");
  f.m->execute("aDeleteInstrument");
  EXPECT_EQ(f.m->lvInstrumentsSelected, -1);
  EXPECT_FALSE(fs::exists(f.folder() / "ASI2.ini"));
  EXPECT_TRUE(fs::exists(f.folder() / "ASI1.ini"));
  EXPECT_TRUE(fs::exists(f.folder() / "ASI3.ini"));
  // Only the list in memory changed; the file follows at the next save.
  EXPECT_EQ(readFile(f.folder() / "Cessna.cfg"), listFile);

  f.select("Map");
  f.m->execute("aDeleteInstrument");
  EXPECT_TRUE(fs::exists(f.folder() / "Map.ini"));
  EXPECT_EQ(f.rows().size(), 2u);

  // The next copy is numbered after the highest left, not in the gap.
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmAddInstrument&>(form);
    for (auto& item : d.lvInstruments.Items) item.Checked = item.Caption == "ASI";
    return ModalResult::OK;
  });
  f.m->execute("aAddInstrument");
  EXPECT_EQ(f.m->Instruments.rows().back().SubItems[5], "4");
}

TEST(RemoveInstrument, ASelectionDoesNotCarryOverToAnotherPanel) {
  InstrumentsFixture f(row("Airspeed", "46001", kAsi, "Y", "1"));
  f.makePanel("Baron");
  writeFile(fs::path(f.dataFolder()) / "Panel_Baron" / "Baron.cfg", row("Torque", "46005", kTorque, "Y", "1"));
  f.select("Airspeed");
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmSelPanel&>(form);
    const auto it = std::find(d.lvPanels.Items.begin(), d.lvPanels.Items.end(), "Baron");
    d.lvPanels.ItemIndex = static_cast<int>(it - d.lvPanels.Items.begin());
    return ModalResult::OK;
  });
  f.m->execute("aLoadPanel");
  ASSERT_EQ(f.m->CurrentPanel, "Baron");
  f.m->execute("aDeleteInstrument");
  EXPECT_EQ(f.rows().size(), 1u);
}

TEST(ResetPosition, WritesTheFiveKeysAndKeepsTheInstrumentsOwn) {
  InstrumentsFixture f(row("Torque", "47005", kTorque, "Y", "2"));
  writeFile(f.folder() / "Torque2.ini",
            "[Position]\r\nMonitor=2\r\nX=640\r\nY=-20\r\nIsLocked=True\r\nOpacity=80\r\n"
            "[Size]\r\nScaleSize=1.5\r\n[Colors]\r\nNight=1\r\n");
  f.select("Torque");
  f.ui.expectMessage("Confirm to reset position of Torque", ModalResult::No);
  f.m->execute("aResetPos");
  EXPECT_EQ(readFile(f.folder() / "Torque2.ini").substr(0, 20), "[Position]\r\nMonitor=");
  EXPECT_NE(readFile(f.folder() / "Torque2.ini").find("Monitor=2"), std::string::npos);

  f.ui.expectMessage("Confirm to reset position of Torque", ModalResult::Yes);
  f.m->execute("aResetPos");
  EXPECT_EQ(readFile(f.folder() / "Torque2.ini"),
            "[Position]\r\nMonitor=0\r\nX=0\r\nY=0\r\nIsLocked=False\r\nOpacity=80\r\n"
            "[Size]\r\nScaleSize=1\r\n[Colors]\r\nNight=1\r\n");
  EXPECT_EQ(f.ui.messages.back().buttons, MsgButtons::YesNo);
}

TEST(ResetPosition, CreatesAMissingFileAndRefusesApplicationRows) {
  InstrumentsFixture f(row("Torque", "47005", kTorque, "Y", "1") +
                       "\"Map\",\"App\",\"/opt/Map\",\"Y\",\"\",\"\",\"\",\"\"\r\n");
  f.select("Torque");
  f.ui.expectMessage("Confirm to reset position of Torque", ModalResult::Yes);
  f.m->execute("aResetPos");
  const std::string written = readFile(f.folder() / "Torque1.ini");
  for (const char* line : {"[Position]", "Monitor=0", "X=0", "Y=0", "IsLocked=False", "[Size]",
                           "ScaleSize=1"})
    EXPECT_NE(written.find(line), std::string::npos) << line;
  EXPECT_LT(written.find("Monitor=0"), written.find("X=0"));
  EXPECT_LT(written.find("IsLocked=False"), written.find("[Size]"));

  f.select("Map");
  f.ui.expectMessage("Reset position not available for 3rd party applications");
  f.m->execute("aResetPos");
  EXPECT_EQ(f.ui.messages.back().type, MsgType::Warning);
}

// Send To over a panel folder on a desktop of two monitors, the second left of the first.
struct SendToFixture : InstrumentsFixture {
  SendToFixture() {
    ui.monitorList = {{0, 0, 1920, 1080}, {-1280, -200, 1280, 1024}};
    m->FormShow();
    ui.verifyDone();
  }
  void file(const std::string& name, const std::string& bytes) const {
    writeFile(folder() / name, bytes);
  }
  std::string read(const std::string& name) const { return readFile(folder() / name); }
  void chooseEntry(int index, ModalResult result = ModalResult::OK) {
    ui.expectModal([=](TForm& form) {
      auto& d = dynamic_cast<TfrmSelMonitor&>(form);
      EXPECT_EQ(d.cbMonitor.Items, (std::vector<std::string>{"1", "2"}));
      EXPECT_EQ(d.cbMonitor.ItemIndex, 0);
      d.cbMonitor.ItemIndex = index;
      return result;
    });
  }
};

TEST(SendTo, OneMonitorCheckOverThePlacementFiles) {
  const struct {
    std::string what;
    std::vector<std::pair<std::string, std::string>> files;
    bool passes;
  } cases[] = {
      {"differing values", {{"A1.ini", "[Position]\r\nMonitor=0\r\n"}, {"B1.ini", "[Position]\r\nMonitor=1\r\n"}}, false},
      {"a missing key beside 0", {{"A1.ini", "[Position]\r\nMonitor=0\r\n"}, {"B1.ini", "[Position]\r\nX=5\r\n"}}, false},
      {"two missing keys", {{"A1.ini", "[Size]\r\nScaleSize=1\r\n"}, {"B1.ini", ""}}, true},
      {"equal values", {{"A1.ini", "[Position]\r\nMonitor=1\r\n"}, {"B1.INI", "[position]\r\nmonitor=1\r\n"}}, true},
      {"only the panel file", {}, true},
      {"panel and background files never count",
       {{"A1.ini", "[Position]\r\nMonitor=1\r\n"},
        {"SCRIMLAY.ini", "[Position]\r\nMonitor=0\r\n"}},
       true},
  };
  for (const auto& k : cases) {
    SendToFixture f;
    f.file("Cessna.ini", "[Config]\r\nPanelMonitor=0\r\n[Position]\r\nMonitor=0\r\n");
    for (const auto& [name, bytes] : k.files) f.file(name, bytes);
    EXPECT_EQ(panelOnOneMonitor(f.dataFolder(), "Cessna"), k.passes) << k.what;
    if (!k.passes) {
      f.ui.expectMessage("The panel spreads accross multiple monitors. Cannot use this function!");
      f.m->execute("aSendToMonitor");
      EXPECT_EQ(f.read("A1.ini"), k.files[0].second) << k.what;
      EXPECT_EQ(f.read("Cessna.ini"), "[Config]\r\nPanelMonitor=0\r\n[Position]\r\nMonitor=0\r\n");
    }
  }
}

TEST(SendTo, WritesTheChosenMonitorEverywhereAndItsRectangleToTheBackground) {
  SendToFixture f;
  f.file("Cessna.ini", "[Config]\r\nPanelName=Cessna\r\nPanelMonitor=0\r\n");
  f.file("Scrimlay.ini", "[Settings]\r\nMonitor=0\r\nHeight=1080\r\nWidth=1920\r\nSizeType=1\r\n"
                         "[Position]\r\nTop=0\r\nLeft=0\r\n");
  f.file("ASI1.ini", "[Position]\r\nMonitor=0\r\nX=10\r\nY=20\r\n");
  f.file("Torque2.ini", "[Position]\r\nMonitor=0\r\nX=30\r\nY=40\r\n");
  f.file("notes.txt", "left alone");
  f.chooseEntry(1);
  f.m->execute("aSendToMonitor");
  EXPECT_EQ(f.read("Cessna.ini"), "[Config]\r\nPanelName=Cessna\r\nPanelMonitor=1\r\n");
  EXPECT_EQ(f.read("Scrimlay.ini"), "[Settings]\r\nMonitor=1\r\nHeight=1024\r\nWidth=1280\r\nSizeType=1\r\n"
                                    "[Position]\r\nTop=-200\r\nLeft=-1280\r\n");
  EXPECT_EQ(f.read("ASI1.ini"), "[Position]\r\nMonitor=1\r\nX=10\r\nY=20\r\n");
  EXPECT_EQ(f.read("Torque2.ini"), "[Position]\r\nMonitor=1\r\nX=30\r\nY=40\r\n");
  EXPECT_EQ(f.read("notes.txt"), "left alone");
  // The next start passes the new monitor, and the pointer is normal again.
  EXPECT_EQ(f.m->Panel.PanelMonitor, "1");
  EXPECT_FALSE(f.ui.busy);
  EXPECT_GE(f.ui.busyCalls, 2);
}

TEST(SendTo, NothingIsWrittenOnCancelOrForAMonitorThatHasGone) {
  SendToFixture f;
  const std::string panel = "[Config]\r\nPanelMonitor=0\r\n";
  const std::string placement = "[Position]\r\nMonitor=0\r\n";
  f.file("Cessna.ini", panel);
  f.file("ASI1.ini", placement);
  f.chooseEntry(1, ModalResult::Cancel);
  f.m->execute("aSendToMonitor");
  f.ui.monitorList.pop_back();  // unplugged after the count was taken
  f.chooseEntry(1);
  f.m->execute("aSendToMonitor");
  f.ui.monitorList = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  f.chooseEntry(-1);
  f.m->execute("aSendToMonitor");
  EXPECT_EQ(f.read("Cessna.ini"), panel);
  EXPECT_EQ(f.read("ASI1.ini"), placement);
  EXPECT_EQ(f.m->Panel.PanelMonitor, "0");
}

TEST(SendTo, OnlyThePanelFileGetsPanelMonitor) {
  SendToFixture f;
  f.file("Cessna.ini", "[Config]\r\nPanelMonitor=1\r\n");
  f.chooseEntry(0);
  f.m->execute("aSendToMonitor");
  EXPECT_EQ(f.read("Cessna.ini"), "[Config]\r\nPanelMonitor=0\r\n");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(f.folder())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Cessna.cfg", "Cessna.ini"}));
}

}  // namespace
}  // namespace vantrel::test
