#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "instruments/Catalog.h"
#include "instruments/InstrumentRows.h"
#include "instruments/TfrmAddInstrument.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

std::string description(const std::string& shortName, const std::string& port,
                        const std::string& image = "") {
  std::string text = "[Info]\r\nShortName=" + shortName + "\r\nLongName=" + shortName +
                     " indicator\r\nDescription=Shows the " + shortName + "\r\n";
  if (!image.empty()) text += "ImageFile=" + image + "\r\n";
  if (!port.empty()) text += "[Network]\r\nDefaultPort=" + port + "\r\n";
  return text;
}

// A program folder with three sets; Brantic holds instruments of several types.
struct Catalog {
  TempDir app;
  Catalog() {
    add("Brantic", "P@ASI.exe", description("Airspeed", "47001", "pics\\asi.png"));
    add("Brantic", "p@Altimeter.EXE", description("Altimeter", "47002"));
    add("Brantic", "N@Vor.exe", description("VOR", "47003"));
    add("Brantic", "E@Torque.exe", description("Torque", ""));
    app.write("Instruments_Brantic/pics/asi.png", "png bytes");
    app.write("Instruments_Brantic/readme.txt", "not an instrument");
    fs::create_directories(app.path() / "Instruments_Brantic" / "P@Folder.exe");
    add("Halvery", "M@Clock.exe", description("Clock", "47100"));
    add("Halvery", "P@Horizon.exe", description("Horizon", "47101"));
  }
  void add(const std::string& set, const std::string& file, const std::string& ini) const {
    app.write("Instruments_" + set + "/" + file, "#!/bin/sh\n");
    app.write("Instruments_" + set + "/" + file.substr(0, file.size() - 4) + ".ini", ini);
  }
  std::string appPath() const { return app.str() + "/"; }
};

std::vector<std::string> stems(const std::vector<CatalogEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.Stem);
  return out;
}

TEST(InstrumentSets, BranticFirstThenTheVisibleSetFoldersOnDisk) {
  Catalog c;
  fs::create_directories(c.app.path() / "Instruments_brantic");  // another letter case
  fs::create_directories(c.app.path() / "Instruments_Secret");
#ifdef _WIN32
  SetFileAttributesW((c.app.path() / "Instruments_Secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
  c.app.write(".hidden", "Instruments_Secret\n");
#endif
  c.app.write("Instruments_NotAFolder", "file");
  const std::string longName(140, 'x');
  fs::create_directories(c.app.path() / ("Instruments_" + longName));
  fs::create_directories(c.app.path() / "Other");

  std::vector<std::string> sets = listInstrumentSets(c.appPath());
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(sets.front(), "Brantic");
  std::sort(sets.begin() + 1, sets.end());
#ifdef _WIN32
  // Names that differ only in letter case are one folder there.
  EXPECT_EQ(sets, (std::vector<std::string>{"Brantic", "Halvery", std::string(128, 'x')}));
#else
  EXPECT_EQ(sets, (std::vector<std::string>{"Brantic", "Halvery", "brantic",
                                            std::string(128, 'x')}));
#endif
}

TEST(InstrumentSets, BranticIsListedEvenWhenItsFolderIsMissing) {
  TempDir app;
  EXPECT_EQ(listInstrumentSets(app.str() + "/"), (std::vector<std::string>{"Brantic"}));
}

TEST(CatalogListing, FiltersByTypeIgnoringCaseAndSortsByStem) {
  Catalog c;
  const struct {
    std::string code;
    std::vector<std::string> stems;
  } cases[] = {
      {"*", {"Altimeter", "ASI", "Torque", "Vor"}},
      {"P", {"Altimeter", "ASI"}},
      {"N", {"Vor"}},
      {"C", {}},
  };
  for (const auto& k : cases)
    EXPECT_EQ(stems(listCatalog(c.appPath(), "Brantic", k.code)), k.stems) << k.code;
  const auto all = listCatalog(c.appPath(), "Brantic", "*");
  EXPECT_EQ(all[0].FileName, "p@Altimeter.EXE");
  EXPECT_TRUE(listCatalog(c.appPath(), "Ordane", "*").empty());
}

TEST(InstrumentDescription, ReadsTheTextsAndFindsThePictureBesideIt) {
  Catalog c;
  const auto d = readDescription(c.appPath(), "Instruments_Brantic\\P@ASI.ini");
  EXPECT_EQ(d.ShortName, "Airspeed");
  EXPECT_EQ(d.LongName, "Airspeed indicator");
  EXPECT_EQ(d.Description, "Shows the Airspeed");
  EXPECT_EQ(d.DefaultPort, "47001");
  EXPECT_EQ(fs::path(d.PicturePath), c.app.path() / "Instruments_Brantic/pics/asi.png");

  c.app.write("Instruments_Brantic/P@ASI.ini", description("Airspeed", "1", "gone.png"));
  EXPECT_EQ(readDescription(c.appPath(), "Instruments_Brantic\\P@ASI.ini").PicturePath, "");
  const auto missing = readDescription(c.appPath(), "Instruments_Brantic\\X@None.ini");
  EXPECT_EQ(missing.ShortName + missing.DefaultPort + missing.PicturePath, "");
}

TEST(InstanceNumber, OneMoreThanTheHighestOfTheSameCaption) {
  const struct {
    std::vector<std::pair<std::string, std::string>> rows;  // caption, InstNo
    std::string next;
  } cases[] = {
      {{}, "1"},
      {{{"ASI", "1"}}, "2"},
      {{{"ASI", "1"}, {"ASI", "3"}}, "4"},
      {{{"ASI", "3"}, {"ASI", "1"}}, "4"},
      {{{"ASI", "1"}, {"VOR", "7"}}, "2"},
      {{{"asi", "5"}}, "1"},
      {{{"ASI", "two"}, {"ASI", ""}}, "1"},
      {{{"ASI", "0"}, {"ASI", "-4"}}, "1"},
      {{{"ASI", "2147483647"}}, "2147483648"},
  };
  for (const auto& k : cases) {
    InstrumentList list;
    for (const auto& [caption, instNo] : k.rows)
      list.add(instrumentRow(caption, "47000", "Instruments_Brantic\\P@ASI.exe", "g", "p", instNo));
    EXPECT_EQ(nextInstanceNumber(list, "ASI"), k.next) << testing::PrintToString(k.rows);
  }
}

TEST(AddInstrumentDialog, AddModeListsTheSetAndShowsItsFirstInstrument) {
  Catalog c;
  TfrmAddInstrument d;
  d.FormCreate(c.appPath());
  EXPECT_EQ(d.cbInstrumentSet.selectedText(), "Brantic");
  EXPECT_EQ(d.rgType.Items.size(), 7u);
  EXPECT_EQ(d.rgType.Items[d.rgType.ItemIndex], "All");

  d.FormShow();
  EXPECT_EQ(d.bbOK.Caption, "Add checked instruments");
  EXPECT_EQ(d.bbOK.Width, 168);
  ASSERT_EQ(d.lvInstruments.Items.size(), 4u);
  EXPECT_EQ(d.lvInstruments.ItemIndex, 0);
  EXPECT_EQ(d.lName.Caption, "Altimeter");
  EXPECT_EQ(d.edPathName.Text, "Instruments_Brantic\\p@Altimeter.EXE");
  EXPECT_EQ(d.edPort.Text, "47002");

  d.selectInstrument(1);
  EXPECT_EQ(d.lName.Caption, "Airspeed");
  EXPECT_EQ(d.edLong.Text, "Airspeed indicator");
  EXPECT_EQ(d.edDescription.Text, "Shows the Airspeed");
  EXPECT_EQ(d.edPort.Text, "47001");
  EXPECT_FALSE(d.edImage.FileName.empty());

  // Checks are cleared at every opening; the chosen set and type stay.
  d.lvInstruments.Items[0].Checked = true;
  d.selectType(2);  // Navigation
  ASSERT_EQ(d.lvInstruments.Items.size(), 1u);
  EXPECT_EQ(d.lvInstruments.Items[0].Caption, "Vor");
  d.FormShow();
  EXPECT_EQ(d.rgType.ItemIndex, 2);
  for (const auto& item : d.lvInstruments.Items) EXPECT_FALSE(item.Checked);

  // Another set resets the type to All and shows the new set's first instrument.
  d.selectSet(1);
  EXPECT_EQ(d.rgType.ItemIndex, 0);
  EXPECT_EQ(d.lName.Caption, "Clock");
  EXPECT_EQ(d.edPathName.Text, "Instruments_Halvery\\M@Clock.exe");

  // A type without instruments empties the display but keeps the name label.
  d.selectType(3);  // Engine
  EXPECT_TRUE(d.lvInstruments.Items.empty());
  EXPECT_EQ(d.edPort.Text + d.edPathName.Text + d.edLong.Text + d.edImage.FileName, "");
  EXPECT_EQ(d.lName.Caption, "Clock");
}

TEST(AddInstrumentDialog, EditModeShowsTheRowsInstrumentAndLeavesTheListAlone) {
  Catalog c;
  TfrmAddInstrument d;
  d.FormCreate(c.appPath());
  d.FormShow();
  const auto listed = d.lvInstruments.Items.size();
  d.setFixedWidth(TfrmAddInstrument::EditWidth);
  d.Caption = "Edit Instrument";
  d.lName.Caption = "Old name";
  d.edPathName.Text = "Instruments_Brantic\\P@ASI.exe";
  d.edPort.Text = "47555";
  d.FormShow();
  EXPECT_EQ(d.bbOK.Caption, "Save changes");
  EXPECT_EQ(d.bbOK.Width, 120);
  EXPECT_EQ(d.Width, 405);
  EXPECT_EQ(d.MinWidth, 405);
  EXPECT_EQ(d.MaxWidth, 405);
  EXPECT_EQ(d.lName.Caption, "Airspeed");
  EXPECT_EQ(d.edPort.Text, "47555");
  EXPECT_EQ(d.edPathName.Text, "Instruments_Brantic\\P@ASI.exe");
  EXPECT_FALSE(d.edImage.FileName.empty());
  EXPECT_EQ(d.lvInstruments.Items.size(), listed);

  d.edPort.Text.clear();
  d.FormShow();
  EXPECT_EQ(d.edPort.Text, "47001");
}

TEST(AddInstrumentDialog, AddsEachCheckedInstrumentWithItsOwnDefaultPort) {
  Catalog c;
  // Two catalog entries that share one ShortName.
  c.add("Brantic", "N@Vor2.exe", description("VOR", "47004"));
  TfrmAddInstrument d;
  d.FormCreate(c.appPath());
  d.FormShow();
  InstrumentList list;
  list.add(instrumentRow("VOR", "47003", "Instruments_Brantic\\N@Vor.exe", "g", "p", "1"));
  for (auto& item : d.lvInstruments.Items)
    item.Checked = item.Caption == "Vor" || item.Caption == "Vor2" || item.Caption == "Torque";
  d.edPort.Text = "12345";  // typed before OK: not used
  d.AddCheckedInstruments(list, "224.1.1.1", "49000");

  std::vector<std::vector<std::string>> rows;
  for (const auto& r : list.rows()) {
    std::vector<std::string> row = {r.Checked ? "Y" : "N", r.Caption};
    row.insert(row.end(), r.SubItems.begin(), r.SubItems.end());
    rows.push_back(row);
  }
  EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                      {"Y", "Torque", "", "Instruments_Brantic\\E@Torque.exe", "224.1.1.1",
                       "49000", "1", "1"},
                      {"Y", "VOR", "47003", "Instruments_Brantic\\N@Vor.exe", "g", "p", "1", "1"},
                      {"Y", "VOR", "47003", "Instruments_Brantic\\N@Vor.exe", "224.1.1.1",
                       "49000", "1", "2"},
                      {"Y", "VOR", "47004", "Instruments_Brantic\\N@Vor2.exe", "224.1.1.1",
                       "49000", "1", "3"},
                  }));
}

}  // namespace
}  // namespace vantrel::test
