#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "store/Archive.h"
#include "store/PanelExchange.h"
#include "store/PanelFolder.h"
#include "support/ArchiveBytes.h"
#include "support/MainFixture.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

const std::string kAsi = "Instruments_Brantic\\P@ASI.exe";

std::string line(const std::string& caption, const std::string& group = "224.11.5.62") {
  return "\"" + caption + "\",\"47000\",\"" + kAsi + "\",\"Y\",\"" + group +
         "\",\"45000\",\"1\",\"1\"\r\n";
}

// One installation with panel Cessna 172 loaded at start: panel file, list, background
// file, two placement files and an empty file.
struct Machine : MainFixture {
  TfrmMain* m = nullptr;
  explicit Machine(bool withPanel = true) {
    program.write("Instruments_Brantic/P@ASI.exe", "x");
    if (withPanel) {
      const fs::path p = panel();
      writeFile(p / "Cessna 172.cfg", line("ASI"));
      writeFile(p / "Cessna 172.ini", "[Config]\r\nPanelName=Cessna 172\r\nShowBezels=0\r\n");
      writeFile(p / "Scrimlay.ini", "[Settings]\r\nColor=0\r\n");
      writeFile(p / "P@ASI_1.ini", "[Position]\r\nLeft=1\r\n");
      writeFile(p / "P@VSI_1.ini", "[Position]\r\nLeft=2\r\n");
      writeFile(p / "notes.txt", "");
      home.write("Quorvane/Dexalune/vantrel.ini", "[Config]\r\nLastPanelUsed=Cessna 172\r\n");
    }
    m = &create();
    m->FormShow();
  }
  fs::path data() const { return fs::path(dataFolder()); }
  fs::path panel(const std::string& name = "Cessna 172") const {
    return fs::path(makePanel(name));
  }
  // Imports archive through the open dialog; refusal: the message expected.
  void import(const std::string& archive, const std::string& refusal = "") {
    ui.expectOpenFile(archive);
    if (!refusal.empty()) ui.expectMessage(refusal);
    m->execute("aImport");
  }
};

TEST(ExportPanel, NothingToExportIsReportedBeforeAnyDialog) {
  Machine none(false);
  none.ui.expectMessage("No Panel or Instruments to export!");
  none.m->execute("aExport");
  EXPECT_EQ(none.ui.messages.at(0).type, MsgType::Error);

  Machine empty;
  empty.m->Instruments.clear();
  empty.ui.expectMessage("No Panel or Instruments to export!");
  empty.m->execute("aExport");
  EXPECT_TRUE(empty.ui.fileDialogs.empty());
}

TEST(ExportPanel, MissingPanelFolderDoesNothingSilently) {
  Machine f;
  fs::remove_all(f.panel());
  f.m->execute("aExport");  // any prompt would fail the test
  EXPECT_FALSE(fs::exists(f.data() / "Panel_Cessna 172"));
}

TEST(ExportPanel, WritesTheListAsShownAndReplacesTheChosenFile) {
  Machine f;
  f.m->settings.MulticastGroup = "224.1.1.1";
  const std::string archive = f.home.write("out/Cessna 172.vnx", "an older archive");
  f.ui.expectSaveFile(archive);
  f.m->execute("aExport");

  const FileDialogOptions& d = f.ui.fileDialogs.at(0);
  EXPECT_EQ(d.title, "Select File and Folder for Export");
  EXPECT_EQ(d.defaultExt, ".vnx");
  EXPECT_EQ(d.filter, "Vantrel Export Files (vnx)|*.vnx");
  EXPECT_EQ(d.fileName, "Cessna 172.vnx");
  EXPECT_FALSE(f.ui.busy);
  EXPECT_EQ(f.ui.busyCalls, 2);

  // Exactly the non-empty top-level files, decoded by zlib alone; the list as saved now.
  std::map<std::string, std::string> stored;
  for (const RawRecord& r : rawRecords(readFile(archive))) {
    EXPECT_EQ(r.folder, "");
    stored[r.name] = zInflate(r.data, r.size);
  }
  auto expected = snapshot(f.panel());
  expected.erase("notes.txt");
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(stored["Cessna 172.cfg"], line("ASI", "224.1.1.1"));
  EXPECT_EQ(f.m->CurrentPanel, "Cessna 172");
}

TEST(ImportPanel, ArchiveFromAnotherMachineOpensUnderItsOwnOrANewName) {
  Machine source;
  const std::string archive = source.home.file("Cessna 172.vnx");
  source.ui.expectSaveFile(archive);
  source.m->execute("aExport");
  auto exported = snapshot(source.panel());
  exported.erase("notes.txt");

  Machine target(false);
  target.import(archive);
  EXPECT_EQ(target.ui.fileDialogs.at(0).title, "Select Vantrel Export File");
  EXPECT_EQ(target.ui.fileDialogs.at(0).filter, "Vantrel Export Files  (vnx)|*.vnx");
  EXPECT_EQ(snapshot(target.data() / "Panel_Cessna 172"), exported) << "no file renamed";
  EXPECT_EQ(target.m->CurrentPanel, "Cessna 172");
  EXPECT_EQ(target.m->DocumentName, "Cessna 172");
  EXPECT_TRUE(target.m->action("aStartPanel").Enabled);
  ASSERT_EQ(target.m->Instruments.size(), 1u);
  EXPECT_FALSE(target.m->Panel.ShowBezels);

  // Under another file name: list and panel file take the name, nothing else changes.
  const std::string trainer = target.home.file("Trainer.vnx");
  fs::copy_file(archive, trainer);
  target.import(trainer);
  auto renamed = exported;
  renamed.erase("Cessna 172.cfg");
  renamed.erase("Cessna 172.ini");
  renamed["Trainer.cfg"] = exported["Cessna 172.cfg"];
  renamed["Trainer.ini"] = "[Config]\r\nPanelName=Trainer\r\nShowBezels=0\r\n";
  EXPECT_EQ(snapshot(target.data() / "Panel_Trainer"), renamed);
  EXPECT_EQ(target.m->CurrentPanel, "Trainer");
  EXPECT_EQ(target.m->DocumentName, "Trainer");

  // A second import of that name is refused before anything is unpacked.
  const auto before = snapshot(target.data());
  target.import(trainer, "Panel Trainer already exists!");
  EXPECT_EQ(snapshot(target.data()), before);
  EXPECT_EQ(target.m->CurrentPanel, "Trainer");
  EXPECT_FALSE(target.ui.busy);
}

struct RefusedCase {
  std::string what;
  std::string file;                    // archive file name in the user's folder
  std::optional<std::string> archive;  // nullopt: no such file
  std::string message;                 // "{file}" stands for the archive's full path
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.what; }

class ImportRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(ImportRefused, LeavesTheDataFolderAndTheCurrentPanelAsTheyWere) {
  const RefusedCase& c = GetParam();
  Machine f;
  const std::string path = f.home.file("in/" + c.file);
  fs::create_directories(f.home.path() / "in");
  if (c.archive) writeFile(path, *c.archive);
  std::string message = c.message;
  if (const auto at = message.find("{file}"); at != std::string::npos) message.replace(at, 6, path);
  const auto before = snapshot(f.data());

  f.import(path, message);
  EXPECT_EQ(f.ui.messages.at(0).type, MsgType::Error);
  EXPECT_EQ(snapshot(f.data()), before);
  EXPECT_EQ(f.m->CurrentPanel, "Cessna 172");
  EXPECT_EQ(f.m->DocumentName, "Cessna 172");
  EXPECT_EQ(f.m->Instruments.size(), 1u);
  EXPECT_FALSE(f.ui.busy);
}

const std::string kCfg = goodRecord("", "Evil.cfg", line("ASI"));

INSTANTIATE_TEST_SUITE_P(
    Table, ImportRefused,
    ::testing::Values(
        RefusedCase{"Missing", "Gone.vnx", std::nullopt,
                    "Cannot open file \"{file}\". No such file or directory"},
        RefusedCase{"EmptyArchive", "Empty.vnx", "", noPanelInArchiveMessage("{file}")},
        RefusedCase{"NoListFile", "Picture.vnx", goodRecord("", "Scrimlay.ini", "[Settings]\r\n"),
                    noPanelInArchiveMessage("{file}")},
        RefusedCase{"Unsafe", "Evil.vnx", kCfg + goodRecord("..\\..\\", "x.ini", "x"),
                    unsafeRecordMessage("..\\..\\", "x.ini")},
        RefusedCase{"Damaged", "Evil.vnx", kCfg + rawRecord("", "x.ini", 5, "garbage"),
                    "zlib returned: data error"},
#ifndef _WIN32  // on Windows the backslash is the path's own
        RefusedCase{"NameNoFolderHolds", "a\\b.vnx", kCfg, invalidPanelNameMessage("a\\b")},
#endif
        RefusedCase{"NoNameAtAll", ".vnx", kCfg, invalidPanelNameMessage("")}),
    [](const auto& info) { return info.param.what; });

TEST(ImportPanel, CancelledDialogChangesNothing) {
  Machine f;
  f.ui.expectOpenFile(std::nullopt);
  f.m->execute("aImport");
  EXPECT_EQ(f.ui.busyCalls, 0);
  EXPECT_EQ(f.m->CurrentPanel, "Cessna 172");
}

}  // namespace
}  // namespace vantrel::test
