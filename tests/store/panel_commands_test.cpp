#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>

#include "store/PanelFolder.h"
#include "store/TfrmPanel.h"
#include "store/TfrmSelPanel.h"
#include "support/MainFixture.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

std::string missing(const std::string& name) {
  return "Panel " + name + " configuration is missing! - Create Panel again";
}

std::string line(const std::string& caption, const std::string& port, const std::string& path,
                 const std::string& check = "Y") {
  return "\"" + caption + "\",\"" + port + "\",\"" + path + "\",\"" + check +
         "\",\"224.11.5.62\",\"45000\",\"1\",\"1\"\r\n";
}

const std::string kAsi = "Instruments_Brantic\\P@ASI.exe";

std::vector<std::string> captions(const TfrmMain& m) {
  std::vector<std::string> out;
  for (const auto& r : m.Instruments.rows()) out.push_back(r.Caption);
  return out;
}

std::vector<std::string> entries(const fs::path& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

// A data folder with panel A (one row, loaded at start) and a catalog holding its instrument.
struct PanelsFixture : MainFixture {
  TfrmMain* m = nullptr;
  PanelsFixture() {
    program.write("Instruments_Brantic/P@ASI.exe", "x");
    panel("A", line("Old", "47000", kAsi));
    home.write("Quorvane/Dexalune/vantrel.ini", "[Config]\r\nLastPanelUsed=A\r\n");
    m = &create();
    m->FormShow();
  }
  // A panel folder holding a list file with these bytes.
  fs::path panel(const std::string& name, const std::string& cfg) {
    const fs::path p = fs::path(makePanel(name));
    writeFile(p / (name + ".cfg"), cfg);
    return p;
  }
  fs::path data() const { return fs::path(dataFolder()); }
  std::string cfg(const std::string& name) const {
    return readFile(data() / ("Panel_" + name) / (name + ".cfg"));
  }
  InstrumentRow row(const std::string& caption) const {
    InstrumentRow r;
    r.Checked = true;
    r.Caption = caption;
    r.SubItems = {"47000", kAsi, "224.11.5.62", "45000", "1", "1"};
    return r;
  }
  // Answers the Panels available dialog by choosing a line (or none), noting the lines.
  void answerLoad(std::optional<std::string> pick, ModalResult result,
                  std::vector<std::string>* listed = nullptr) {
    ui.expectModal([=](TForm& form) {
      auto& d = dynamic_cast<TfrmSelPanel&>(form);
      if (listed) *listed = d.lvPanels.Items;
      if (pick) {
        const auto it = std::find(d.lvPanels.Items.begin(), d.lvPanels.Items.end(), *pick);
        EXPECT_NE(it, d.lvPanels.Items.end()) << *pick << " not listed";
        d.lvPanels.ItemIndex = static_cast<int>(it - d.lvPanels.Items.begin());
      }
      if (result == ModalResult::OK && pick) {
        d.lvPanelsDblClick();
        return d.modalResult;
      }
      return result;
    });
  }
  void answerNew(std::optional<std::string> name) {
    ui.expectModal([=](TForm& form) {
      auto& d = dynamic_cast<TfrmPanel&>(form);
      EXPECT_EQ(d.edPanelName.Text, "[New Panel]");
      if (!name) return ModalResult::Cancel;
      d.edPanelName.Text = *name;
      return ModalResult::OK;
    });
  }
};

TEST(LoadPanel, ListsThePanelFoldersAndAFileThatLooksLikeOneInCaptionOrder) {
  PanelsFixture f;
  f.panel("B", "");
  f.panel("alpha", "");
  f.home.write("Quorvane/Dexalune/Panel_Notes.txt", "notes");
  const std::string longName(120, 'L');
  fs::create_directory(f.data() / ("Panel_" + longName));
  fs::create_directory(f.data() / "Other");
  std::vector<std::string> listed;
  f.answerLoad(std::nullopt, ModalResult::Cancel, &listed);
  f.m->execute("aLoadPanel");
  // Letter case does not split the list as a byte order would.
  EXPECT_EQ(listed, (std::vector<std::string>{"A", "alpha", "B", std::string(99, 'L'), "Notes.txt"}));
  EXPECT_EQ(f.ui.modalForms, (std::vector<std::string>{"frmSelPanel"}));
}

struct LoadCase {
  std::string what;
  std::optional<std::string> pick;
  ModalResult result;
  std::string message;  // empty: none; "{data}" stands for the data folder
  std::string current;
  std::vector<std::string> rows;
  bool start;
};

// Readable in the test output.
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.what; }

class LoadPanelOutcome : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadPanelOutcome, LeavesTheWindowInLineWithWhatWasChosen) {
  const auto& c = GetParam();
  PanelsFixture f;
  f.panel("B", line("Zulu", "47050", kAsi) + line("alpha", "47000", "Instruments_Gone\\P@ASI.exe"));
  f.home.write("Quorvane/Dexalune/Panel_B/B.ini", "[Config]\r\nShowBezels=0\r\nPanelMonitor=1\r\n");
  f.panel("Bad", line("One", "47000", kAsi) + "\"Two\",\"47000\"\r\n");
  f.home.write("Quorvane/Dexalune/Panel_Notes.txt", "notes");
  const std::string badBytes = f.cfg("Bad");
  f.m->Instruments.add(f.row("Unsaved"));

  f.answerLoad(c.pick, c.result);
  if (!c.message.empty()) {
    std::string text = c.message;
    if (const auto at = text.find("{data}"); at != std::string::npos) text.replace(at, 6, f.dataFolder());
    f.ui.expectMessage(text);
  }
  f.m->execute("aLoadPanel");

  // The panel being left was saved first, whatever was chosen.
  EXPECT_EQ(f.cfg("A"), line("Old", "47000", kAsi) + line("Unsaved", "47000", kAsi));
  EXPECT_EQ(f.m->CurrentPanel, c.current);
  EXPECT_EQ(f.m->DocumentName, c.current);
  EXPECT_EQ(captions(*f.m), c.rows);
  EXPECT_EQ(f.m->action("aStartPanel").Enabled, c.start);
  if (c.current == "B") {
    EXPECT_EQ(f.m->Instruments.rows()[1].SubItems[0], "47000") << "checked against the catalog";
    EXPECT_EQ(f.m->Instruments.rows()[0].SubItems[1], kAsi) << "moved instrument found";
    EXPECT_FALSE(f.m->Panel.ShowBezels);
    EXPECT_EQ(f.m->Panel.PanelMonitor, "1");
  }
  // Closing afterwards never writes over a list that could not be read.
  f.m->FormClose();
  EXPECT_EQ(f.cfg("Bad"), badBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LoadPanelOutcome,
    ::testing::Values(
        LoadCase{"stored", "B", ModalResult::OK, "", "B", {"alpha", "Zulu"}, true},
        LoadCase{"file", "Notes.txt", ModalResult::OK, missing("Notes.txt"), "", {"Old", "Unsaved"}, false},
        LoadCase{"cancel", "B", ModalResult::Cancel, "", "A", {"Old", "Unsaved"}, true},
        LoadCase{"nothing", std::nullopt, ModalResult::OK, "", "A", {"Old", "Unsaved"}, true},
        LoadCase{"damaged", "Bad", ModalResult::OK,
                 "Instrument list file {data}/Panel_Bad/Bad.cfg is damaged: line 2 holds fewer than eight fields",
                 "", {}, false}),
    [](const auto& info) { return info.param.what; });

TEST(LoadPanel, EmptyLineMakesTheListDamaged) {
  PanelsFixture f;
  f.panel("Bad", line("One", "47000", kAsi) + "\r\n");
  f.answerLoad("Bad", ModalResult::OK);
  f.ui.expectMessage("Instrument list file " + (f.data() / "Panel_Bad" / "Bad.cfg").string() +
                     " is damaged: line 2 holds fewer than eight fields");
  f.m->execute("aLoadPanel");
  EXPECT_EQ(f.m->CurrentPanel, "");
  EXPECT_TRUE(f.m->Instruments.empty());
}

TEST(LoadPanel, MissingListAtStartLeavesNoPanelAndTheFolderAlone) {
  MainFixture f;
  const fs::path p = fs::path(f.makePanel("A"));
  fs::remove(p / "A.cfg");
  f.home.write("Quorvane/Dexalune/vantrel.ini", "[Config]\r\nLastPanelUsed=A\r\n");
  TfrmMain& m = f.create();
  f.ui.expectMessage("Instrument list file " + (p / "A.cfg").string() + " is missing");
  m.FormShow();
  EXPECT_EQ(m.CurrentPanel, "");
  EXPECT_EQ(m.DocumentName, "");
  EXPECT_FALSE(m.action("aStartPanel").Enabled);
  m.FormClose();
  EXPECT_EQ(entries(p), std::vector<std::string>{});
}

// The user's view of start-up and close: a hand-edited list comes back sorted and repaired.
TEST(PanelAtStart, HandEditedListLoadsRepairedAndClosesByteExact) {
  MainFixture f;
  f.program.write("Instruments_Halvery/P@ASI.exe", "x");
  f.program.write("Instruments_Brantic/P@HSI.exe", "x");
  const fs::path p = fs::path(f.makePanel("Cessna 172"));
  writeFile(p / "Cessna 172.cfg",
            "\"Zulu Clock\",\"47000\",\"Instruments_Brantic\\P@HSI.exe\",\"Y\",\"224.11.5.62\",\"45000\",\"1\",\"2\"\r\n"
            "ASI, 47012, Instruments_Brantic\\P@ASI.exe, Y, 224.1.1.1, 49000, 1.5, 1\r\n"
            "\"moving map\",\"App\",\"/opt/map/map\",\"N\",\"--zoom 3,4 \"\"x\"\"\",\"\",\"\",\"\"\n");
  f.home.write("Quorvane/Dexalune/vantrel.ini",
               "[Config]\r\nLastPanelUsed=Cessna 172\r\nMulticastGroup=239.0.0.9\r\nFlightSimPort=49001\r\n");
  TfrmMain& m = f.create();
  m.FormShow();
  EXPECT_EQ(m.CurrentPanel, "Cessna 172");
  EXPECT_EQ(m.DocumentName, "Cessna 172");
  EXPECT_EQ(captions(m), (std::vector<std::string>{"ASI", "moving map", "Zulu Clock"}));
  EXPECT_EQ(m.Instruments.rows()[0].SubItems[2], "224.1.1.1") << "shown as loaded";
  m.FormClose();
  EXPECT_EQ(readFile(p / "Cessna 172.cfg"),
            "\"ASI\",\"47000\",\"Instruments_Halvery\\P@ASI.exe\",\"Y\",\"239.0.0.9\",\"49001\",\"1.5\",\"1\"\r\n"
            "\"moving map\",\"App\",\"/opt/map/map\",\"N\",\"--zoom 3,4 \"\"x\"\"\",\"\",\"\",\"\"\r\n"
            "\"Zulu Clock\",\"47000\",\"Instruments_Brantic\\P@HSI.exe\",\"Y\",\"239.0.0.9\",\"49001\",\"1\",\"2\"\r\n");
}

TEST(CopyPanel, CopiesEveryFileRenamingThePanelsOwnAndMakesTheCopyCurrent) {
  PanelsFixture f;
  const fs::path a = f.data() / "Panel_A";
  writeFile(a / "A.ini", "[Config]\r\nPanelName=A\r\nPanelMonitor=1\r\n");
  writeFile(a / "Scrimlay.ini", "[Settings]\r\n");
  writeFile(a / "ScrimlayImage.png", "PNG");
  writeFile(a / "P@ASI_1.ini", "[Position]\r\n");
  writeFile(a / "P@HSI_1.ini", "[Position]\r\n");
  fs::create_directory(a / "sub");
  // A row added since the last save reaches both panels.
  f.m->Instruments.add(f.row("Unsaved"));

  f.ui.expectInput("B");
  f.m->execute("aCopyPanel");

  const fs::path b = f.data() / "Panel_B";
  EXPECT_EQ(entries(b), (std::vector<std::string>{"B.cfg", "B.ini", "P@ASI_1.ini", "P@HSI_1.ini",
                                                  "Scrimlay.ini", "ScrimlayImage.png"}));
  EXPECT_EQ(readFile(b / "B.ini"), "[Config]\r\nPanelName=B\r\nPanelMonitor=1\r\n");
  EXPECT_EQ(readFile(b / "ScrimlayImage.png"), "PNG");
  EXPECT_EQ(readFile(b / "B.cfg"), f.cfg("A"));
  EXPECT_EQ(f.cfg("A"), line("Old", "47000", kAsi) + line("Unsaved", "47000", kAsi));
  EXPECT_EQ(f.ui.inputCaptions, std::vector<std::string>{"Enter new Panel Name"});
  EXPECT_EQ(f.m->CurrentPanel, "B");
  EXPECT_EQ(f.m->DocumentName, "B");
  EXPECT_EQ(f.m->Panel.PanelMonitor, "1");
  EXPECT_EQ(captions(*f.m), (std::vector<std::string>{"Old", "Unsaved"}));
  EXPECT_TRUE(f.m->action("aStartPanel").Enabled);
  EXPECT_TRUE(fs::exists(a / "A.ini"));
}

TEST(CopyPanel, PanelWithoutPanelFileGetsOneNamingTheCopy) {
  PanelsFixture f;
  f.ui.expectInput("B");
  f.m->execute("aCopyPanel");
  EXPECT_EQ(readFile(f.data() / "Panel_B" / "B.ini"), "[Config]\r\nPanelName=B\r\n");
  EXPECT_EQ(f.m->CurrentPanel, "B");
}

struct Refusal {
  std::optional<std::string> answer;  // nullopt: Cancel
  std::string message;
};

TEST(CopyPanel, RefusalsChangeNothing) {
  const std::string invalid = " - a panel name cannot contain \\ / : * ? \" < > | or end in a blank or dot";
  for (const Refusal& c :
       {Refusal{std::nullopt, ""}, Refusal{"", ""},
        Refusal{"C", "Panel C already exists! - Choose a different name"},
        Refusal{"a/b", "Invalid panel name: a/b" + invalid},
        Refusal{"..", "Invalid panel name: .." + invalid},
        Refusal{"B.", "Invalid panel name: B." + invalid},
        // Load Panel would list it cut to 99 characters, under a name with no folder.
        Refusal{std::string(100, 'x'), "Panel name too long - a panel name can have at most 99 characters"}}) {
    PanelsFixture f;
    f.panel("C", "");
    f.m->Instruments.add(f.row("Unsaved"));
    const auto before = entries(f.data());
    f.ui.expectInput(c.answer);
    if (!c.message.empty()) f.ui.expectMessage(c.message);
    f.m->execute("aCopyPanel");
    EXPECT_EQ(entries(f.data()), before) << c.message;
    EXPECT_EQ(f.cfg("A"), line("Old", "47000", kAsi)) << "nothing saved on a refusal";
    EXPECT_EQ(f.cfg("C"), "");
    EXPECT_EQ(f.m->CurrentPanel, "A");
    EXPECT_EQ(captions(*f.m), (std::vector<std::string>{"Old", "Unsaved"}));
  }
}

TEST(CopyPanel, EmptyListAsksNothingAndMissingSourceLeavesTheEmptyFolder) {
  PanelsFixture f;
  f.m->Instruments.clear();
  f.m->execute("aCopyPanel");
  EXPECT_TRUE(f.ui.inputCaptions.empty());

  f.m->Instruments.add(f.row("Old"));
  f.m->CurrentPanel = "Gone";
  f.ui.expectInput("B");
  f.ui.expectMessage("Error creating Panel Folder");
  f.m->execute("aCopyPanel");
  EXPECT_EQ(entries(f.data() / "Panel_B"), std::vector<std::string>{});
  EXPECT_EQ(f.m->CurrentPanel, "Gone");
}

TEST(DeletePanel, YesRemovesTheFolderAndLeavesNoPanel) {
  PanelsFixture f;
  writeFile(f.data() / "Panel_A" / "A.ini", "[Config]\r\nPanelMonitor=2\r\nShowBezels=0\r\nEnableLighting=1\r\n"
                                            "ShowBackground=0\r\nNo_of_Screens=2\r\n");
  f.m->Panel = {};
  ReadPanelFile(f.m->IniPath, "A", f.m->CurrentPanel, f.m->Panel);
  f.panel("B", "");

  f.ui.expectMessage("Confirm to delete panel", ModalResult::No);
  f.m->execute("aDeletePanel");
  EXPECT_TRUE(fs::exists(f.data() / "Panel_A" / "A.cfg"));
  EXPECT_EQ(f.m->CurrentPanel, "A");
  EXPECT_EQ(captions(*f.m), std::vector<std::string>{"Old"});
  EXPECT_TRUE(f.m->action("aStartPanel").Enabled);
  EXPECT_TRUE(f.m->action("aEditSettings").Enabled);

  f.ui.expectMessage("Confirm to delete panel", ModalResult::Yes);
  f.m->execute("aDeletePanel");
  EXPECT_FALSE(f.m->action("aEditSettings").Enabled);
  ASSERT_EQ(f.ui.messages.size(), 2u);
  EXPECT_EQ(f.ui.messages[1].type, MsgType::Confirmation);
  EXPECT_EQ(f.ui.messages[1].buttons, MsgButtons::YesNo);
  EXPECT_FALSE(fs::exists(f.data() / "Panel_A"));
  EXPECT_TRUE(fs::exists(f.data() / "Panel_B" / "B.cfg"));
  EXPECT_EQ(f.m->CurrentPanel, "");
  EXPECT_EQ(f.m->DocumentName, "");
  EXPECT_TRUE(f.m->Instruments.empty());
  EXPECT_FALSE(f.m->action("aStartPanel").Enabled);
  EXPECT_EQ(f.m->Panel.PanelMonitor, "0");
  EXPECT_TRUE(f.m->Panel.ShowBezels);
  EXPECT_FALSE(f.m->Panel.EnableLighting);
  EXPECT_TRUE(f.m->Panel.ShowBackground);
  EXPECT_EQ(f.m->Panel.Monitors.Count, 2) << "the monitor table is kept";
  // Closing now writes no list anywhere.
  f.m->FormClose();
  EXPECT_FALSE(fs::exists(f.data() / "Panel_A"));
}

TEST(DeletePanel, FolderWithASubfolderLosesItsFilesOnly) {
  PanelsFixture f;
  const fs::path a = f.data() / "Panel_A";
  writeFile(a / "Scrimlay.ini", "x");
  fs::create_directory(a / "keep");
  writeFile(a / "keep" / "inside.txt", "x");
  f.ui.expectMessage("Confirm to delete panel", ModalResult::Yes);
  f.m->execute("aDeletePanel");
  EXPECT_EQ(entries(a), std::vector<std::string>{"keep"});
  EXPECT_TRUE(fs::exists(a / "keep" / "inside.txt"));
  EXPECT_EQ(f.m->CurrentPanel, "");
}

TEST(NewPanel, SavesTheLeftPanelAndCreatesAnEmptyCurrentOne) {
  PanelsFixture f;
  f.m->Instruments.add(f.row("Two"));
  f.m->Instruments.add(f.row("Three"));
  f.m->ColorDialog.Color = 0x00FFFFFF;
  f.ui.expectModal([&](TForm& form) {
    auto& d = dynamic_cast<TfrmPanel&>(form);
    EXPECT_EQ(d.edPanelName.Text, "[New Panel]");
    EXPECT_EQ(d.edBGImage.Text, "");
    EXPECT_EQ(d.sBGColor.Color, 0u);
    EXPECT_EQ(d.PictureInitialDir, f.m->IniPath);
    EXPECT_EQ(f.m->ColorDialog.Color, 0u);
    d.edPanelName.Text = "B";
    return ModalResult::OK;
  });
  f.m->execute("aNewPanel");
  EXPECT_EQ(f.cfg("A"), line("Old", "47000", kAsi) + line("Three", "47000", kAsi) +
                            line("Two", "47000", kAsi));
  EXPECT_EQ(entries(f.data() / "Panel_B"), (std::vector<std::string>{"B.cfg", "B.ini", "Scrimlay.ini"}));
  EXPECT_EQ(f.cfg("B"), "");
  EXPECT_EQ(f.m->CurrentPanel, "B");
  EXPECT_EQ(f.m->DocumentName, "B");
  EXPECT_TRUE(f.m->Instruments.empty());
  EXPECT_TRUE(f.m->action("aStartPanel").Enabled);
  EXPECT_EQ(f.m->Panel.Monitors.Count, 1);
}

TEST(NewPanel, CancelUnchangedMarkerAndRefusedNamesCreateNothing) {
  const std::string invalid = " - a panel name cannot contain \\ / : * ? \" < > | or end in a blank or dot";
  for (const Refusal& c :
       {Refusal{std::nullopt, ""}, Refusal{"[New Panel]", ""},
        Refusal{"A", "Panel A already exists! - Choose a different name"},
        Refusal{"", "The panel name is empty - Enter a name for the panel"},
        Refusal{"x:y", "Invalid panel name: x:y" + invalid},
        Refusal{"Trailing ", "Invalid panel name: Trailing " + invalid},
        Refusal{std::string(100, 'x'), "Panel name too long - a panel name can have at most 99 characters"},
        // 70 characters of three bytes each: listed whole, but more than a file name holds
        // with the panel's prefixes and the temporary name of a save.
        Refusal{[] { std::string s; for (int i = 0; i < 70; ++i) s += "\u20AC"; return s; }(),
                "Panel name too long for the file system - Choose a shorter name"}}) {
    PanelsFixture f;
    writeFile(f.data() / "Panel_A" / "A.ini", "[Config]\r\nPanelMonitor=1\r\n");
    f.m->Instruments.add(f.row("Unsaved"));
    const auto before = entries(f.data());
    f.answerNew(c.answer);
    if (!c.message.empty()) {
      f.ui.expectMessage(c.message);
      // Back in the dialog; Cancel there ends the command.
      f.ui.expectModal([](TForm&) { return ModalResult::Cancel; });
    }
    f.m->execute("aNewPanel");
    EXPECT_EQ(entries(f.data()), before) << c.message;
    EXPECT_EQ(entries(f.data() / "Panel_A"), (std::vector<std::string>{"A.cfg", "A.ini"}));
    EXPECT_EQ(readFile(f.data() / "Panel_A" / "A.ini"), "[Config]\r\nPanelMonitor=1\r\n");
    // The list of the current panel is saved before the dialog, then left as it was.
    EXPECT_EQ(f.cfg("A"), line("Old", "47000", kAsi) + line("Unsaved", "47000", kAsi));
    EXPECT_EQ(f.m->CurrentPanel, "A");
    EXPECT_EQ(f.m->DocumentName, "A");
    EXPECT_EQ(captions(*f.m), (std::vector<std::string>{"Old", "Unsaved"}));
    EXPECT_TRUE(f.m->action("aStartPanel").Enabled);
  }
}

TEST(NewPanel, RefusedNameReturnsToTheDialogWithEverythingChosen) {
  PanelsFixture f;
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmPanel&>(form);
    d.edPanelName.Text = "A";
    d.cbLighting.Checked = true;
    d.cbBezels.Checked = false;
    return ModalResult::OK;
  });
  f.ui.expectMessage("Panel A already exists! - Choose a different name");
  f.ui.expectModal([](TForm& form) {
    auto& d = dynamic_cast<TfrmPanel&>(form);
    EXPECT_EQ(d.edPanelName.Text, "A");
    EXPECT_TRUE(d.edPanelName.Enabled) << "the name can be corrected";
    EXPECT_TRUE(d.cbLighting.Checked);
    EXPECT_FALSE(d.cbBezels.Checked);
    d.edPanelName.Text = "Night";
    return ModalResult::OK;
  });
  f.m->execute("aNewPanel");
  EXPECT_EQ(f.ui.modalForms.size(), 2u);
  EXPECT_EQ(f.m->CurrentPanel, "Night");
  EXPECT_TRUE(f.m->Panel.EnableLighting);
  EXPECT_FALSE(f.m->Panel.ShowBezels);
  EXPECT_TRUE(fs::exists(f.data() / "Panel_Night" / "Night.cfg"));
}

}  // namespace
}  // namespace vantrel::test
