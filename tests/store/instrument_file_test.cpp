#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "platform/Error.h"
#include "platform/Paths.h"
#include "store/InstrumentFile.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

using Fields = std::vector<std::string>;

struct SplitCase {
  std::string line;
  Fields fields;
};

// Readable in the test output.
void PrintTo(const SplitCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.line); }

class CommaText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommaText, SplitsAsTheFileRulesSay) {
  EXPECT_EQ(splitCommaText(GetParam().line), GetParam().fields) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommaText,
    ::testing::Values(
        SplitCase{R"("ASI","47000","I_B\P@ASI.exe","Y","224.11.5.62","45000","1","1")",
                  {"ASI", "47000", "I_B\\P@ASI.exe", "Y", "224.11.5.62", "45000", "1", "1"}},
        // Hand-written: blanks after commas, unquoted fields, a tab.
        SplitCase{"  ASI, 47000,\tX ,Y,224.11.5.62,45000,1,1", {"ASI", "47000", "X", "Y", "224.11.5.62", "45000", "1", "1"}},
        SplitCase{R"("Map","App","C:\My Maps\Map.exe","Y","-a,b ""q""","","","")",
                  {"Map", "App", "C:\\My Maps\\Map.exe", "Y", "-a,b \"q\"", "", "", ""}},
        // An unquoted field ends at a blank: the rest is a field of its own.
        SplitCase{"My Gauge,1", {"My", "Gauge", "1"}},
        SplitCase{"a,", {"a", ""}},
        SplitCase{"a, ", {"a"}},
        SplitCase{"a,,b", {"a", "", "b"}},
        SplitCase{",a", {"", "a"}},
        SplitCase{R"("ab"cd,e)", {"ab", "cd", "e"}},
        SplitCase{R"("open to the end, still)", {"open to the end, still"}},
        SplitCase{R"("")", {""}},
        SplitCase{"", {}},
        SplitCase{" \t ", {}},
        SplitCase{std::string("a,b\0,c", 6), {"a", "b"}},
        SplitCase{"Höhe,\"Ä\"", {"Höhe", "Ä"}}));

InstrumentRow instrument(const std::string& caption, const std::string& port, const std::string& path,
                         bool checked = true) {
  InstrumentRow r;
  r.Checked = checked;
  r.Caption = caption;
  r.SubItems = {port, path, "239.1.1.1", "49000", "2", "3"};
  return r;
}

InstrumentRow application(const std::string& caption, const std::string& path,
                          const std::string& params, bool checked) {
  InstrumentRow r;
  r.Checked = checked;
  r.Caption = caption;
  r.SubItems = {"App", path, params, "", "", ""};
  return r;
}

TEST(InstrumentFile, WritesSortedQuotedLinesWithTheSettingsInForceAndReadsThemBack) {
  InstrumentList list;
  list.add(instrument("Zulu", "47000", "Instruments_Brantic\\P@Zulu.exe"));
  list.add(application("alpha", "C:\\Maps\\alpha.exe", "-a,b \"x\"", true));
  list.add(instrument("Bravo", "47010", "Instruments_Brantic\\P@B.exe", false));

  const std::string expected =
      "\"alpha\",\"App\",\"C:\\Maps\\alpha.exe\",\"Y\",\"-a,b \"\"x\"\"\",\"\",\"\",\"\"\r\n"
      "\"Bravo\",\"47010\",\"Instruments_Brantic\\P@B.exe\",\"N\",\"224.11.5.62\",\"45000\",\"2\",\"3\"\r\n"
      "\"Zulu\",\"47000\",\"Instruments_Brantic\\P@Zulu.exe\",\"Y\",\"224.11.5.62\",\"45000\",\"2\",\"3\"\r\n";
  const std::string text = instrumentFileText(list, "224.11.5.62", "45000");
  EXPECT_EQ(text, expected);

  InstrumentList back;
  std::string problem;
  ASSERT_TRUE(parseInstrumentText(text, "x.cfg", back, problem)) << problem;
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back.rows()[0].SubItems[2], "-a,b \"x\"");
  EXPECT_FALSE(back.rows()[1].Checked);
  // The loaded columns show the settings that were written, not the row's old ones.
  EXPECT_EQ(back.rows()[2].SubItems[2], "224.11.5.62");
  EXPECT_EQ(back.rows()[2].SubItems[3], "45000");
  EXPECT_EQ(instrumentFileText(back, "224.11.5.62", "45000"), expected);
}

TEST(InstrumentFile, HandWrittenLinesReadLikeTheirQuotedForm) {
  const std::string text =
      "ASI, 47000, Instruments_B\\ASI.exe, y, 1.2.3.4, 45000, 1, 1\n"
      "\"HSI\",\"47001\",\"Instruments_B\\HSI.exe\",\"Y\",\"1.2.3.4\",\"45000\",\"1\",\"2\",\"extra\"\r"
      "Map,App,/usr/bin/map,Y,,,,";
  InstrumentList list;
  std::string problem;
  ASSERT_TRUE(parseInstrumentText(text, "x.cfg", list, problem)) << problem;
  ASSERT_EQ(list.size(), 3u);
  const auto& asi = list.rows()[0];
  EXPECT_EQ(asi.Caption, "ASI");
  EXPECT_FALSE(asi.Checked) << "only an exact Y checks a row";
  EXPECT_EQ(asi.SubItems, (std::array<std::string, 6>{"47000", "Instruments_B\\ASI.exe", "1.2.3.4",
                                                      "45000", "1", "1"}));
  EXPECT_TRUE(list.rows()[1].Checked);
  EXPECT_EQ(list.rows()[1].SubItems[5], "2");
  EXPECT_TRUE(list.rows()[2].isApplication());
  EXPECT_EQ(instrumentLine(asi, "g", "p"),
            R"("ASI","47000","Instruments_B\ASI.exe","N","g","p","1","1")");
}

TEST(InstrumentFile, ShortLinesAndMissingFilesAreReportedWithTheirPlace) {
  struct Case {
    std::string text;
    std::size_t rowsRead;
    std::string problem;
  };
  const std::string good = R"("A","1","p","Y","g","p","1","1")";
  for (const Case& c : {Case{good + "\r\n" + good + "\r\n\"B\",\"1\"\r\n" + good, 2, "line 3"},
                        Case{good + "\r\n\r\n" + good + "\r\n", 1, "line 2"},
                        Case{"a,b,c,d,e,f,", 0, "line 1"}}) {
    InstrumentList list;
    std::string problem;
    EXPECT_FALSE(parseInstrumentText(c.text, "/d/Panel_A/A.cfg", list, problem));
    EXPECT_EQ(problem, "Instrument list file /d/Panel_A/A.cfg is damaged: " + c.problem +
                           " holds fewer than eight fields");
    EXPECT_EQ(list.size(), c.rowsRead);
  }
  // An empty file is an empty list; a missing one is a fault.
  TempDir dir;
  const std::string empty = dir.write("A.cfg", "");
  InstrumentList list;
  std::string problem;
  EXPECT_TRUE(readInstrumentFile(empty, list, problem));
  EXPECT_TRUE(list.empty());
  const std::string gone = (dir.path() / "B.cfg").string();
  EXPECT_FALSE(readInstrumentFile(gone, list, problem));
  EXPECT_EQ(problem, "Instrument list file " + gone + " is missing");
}

TEST(InstrumentFile, ReadsTextMadeInTheWindowsCodePage) {
  TempDir dir;
  const std::string path = dir.write("A.cfg", "\"H\xF6he\",\"47000\",\"p\",\"Y\",\"g\",\"p\",\"1\",\"1\"\r\n");
  InstrumentList list;
  std::string problem;
  ASSERT_TRUE(readInstrumentFile(path, list, problem)) << problem;
  EXPECT_EQ(list.rows()[0].Caption, "Höhe");
}

TEST(InstrumentFile, EachLineIsDecodedOnItsOwnAndAByteOrderMarkIsSkipped) {
  TempDir dir;
  const std::string path = dir.write(
      "A.cfg",
      "\xEF\xBB\xBF\"Caf\xC3\xA9\",\"47000\",\"p\",\"Y\",\"g\",\"p\",\"1\",\"1\"\r\n"
      "\"H\xF6he\",\"47001\",\"p\",\"Y\",\"g\",\"p\",\"1\",\"1\"\r\n");
  InstrumentList list;
  std::string problem;
  ASSERT_TRUE(readInstrumentFile(path, list, problem)) << problem;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.rows()[0].Caption, "Caf\xC3\xA9");
  EXPECT_EQ(list.rows()[1].Caption, "H\xC3\xB6he");
}

TEST(InstrumentFile, LineBreakOrNulInAFieldStillReadsBack) {
  TempDir dir;
  InstrumentList list;
  list.add(instrument("Two\r\nLines", "47000", "Instruments_B\\ASI.exe"));
  list.add(application("Map", "/usr/bin/map", std::string("-a\nb\0c", 6), true));
  saveInstrumentFile(dir.str(), "A", list, "g", "p");
  InstrumentList back;
  std::string problem;
  ASSERT_TRUE(readInstrumentFile(dir.file("Panel_A/A.cfg"), back, problem)) << problem;
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back.rows()[0].SubItems[2], "-a b");
  EXPECT_EQ(back.rows()[1].Caption, "Two  Lines");
  EXPECT_EQ(back.rows()[1].SubItems[1], "Instruments_B\\ASI.exe");
}

TEST(InstrumentFile, SaveCreatesThePanelFolderButNeverTheDataFolder) {
  TempDir home;
  const std::string data = (home.path() / "Data").string();
  InstrumentList list;
  list.add(instrument("ASI", "47000", "p"));

  // An empty name writes nothing at all.
  saveInstrumentFile(data, "", list, "g", "p");
  EXPECT_FALSE(std::filesystem::exists(data));

  try {
    saveInstrumentFile(data, "A", list, "g", "p");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + joinPath(joinPath(data, "Panel_A"), "A.cfg"));
  }
  EXPECT_FALSE(std::filesystem::exists(data));

  std::filesystem::create_directory(data);
  saveInstrumentFile(data, "A", list, "g", "p");
  EXPECT_EQ(home.read("Data/Panel_A/A.cfg"), R"("ASI","47000","p","Y","g","p","2","3")" "\r\n");
  // Saving again replaces the file whole and leaves nothing else behind.
  list.clear();
  saveInstrumentFile(data, "A", list, "g", "p");
  EXPECT_EQ(home.read("Data/Panel_A/A.cfg"), "");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(data + "/Panel_A")) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST(InstrumentFile, ReadOnlyListIsNotReplaced) {
  TempDir home;
  const std::string old = R"("Old","47000","p","Y","g","p","1","1")" "\r\n";
  const std::string path = home.write("Panel_A/A.cfg", old);
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  InstrumentList list;
  list.add(instrument("ASI", "47000", "p"));
  try {
    saveInstrumentFile(home.str(), "A", list, "g", "p");
    ADD_FAILURE() << "read-only list replaced";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + joinPath(joinPath(home.str(), "Panel_A"), "A.cfg"));
  }
  EXPECT_EQ(home.read("Panel_A/A.cfg"), old);
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TEST(InstrumentFile, SaveThatCannotReplaceTheFileKeepsTheOldOne) {
  TempDir home;
  // The list file's place is taken by a folder holding a file: the rename must fail.
  home.write("Panel_A/A.cfg/keep", "old");
  InstrumentList list;
  list.add(instrument("ASI", "47000", "p"));
  EXPECT_THROW(saveInstrumentFile(home.str(), "A", list, "g", "p"), Error);
  EXPECT_EQ(home.read("Panel_A/A.cfg/keep"), "old");
}

TEST(InstrumentList, SortsCaptionsByWordOrderWhateverTheOrderAdded) {
  InstrumentList list;
  for (const char* c : {"Zulu", "alpha", "Bravo"}) list.add(instrument(c, "1", "p"));
  std::vector<std::string> order;
  for (const auto& r : list.rows()) order.push_back(r.Caption);
  EXPECT_EQ(order, (std::vector<std::string>{"alpha", "Bravo", "Zulu"}));
  list.setCaption(0, "Zz");
  EXPECT_EQ(list.rows()[2].Caption, "Zz");
}

// A catalog beside the program: Brantic lost its ASI, which now lives in Halvery.
struct Catalog {
  TempDir app;
  std::string appPath;
  Catalog() {
    app.write("Instruments_Brantic/P@HSI.exe", "x");
    app.write("Instruments_Halvery/P@ASI.exe", "x");
    app.write("Instruments_Halvery/P@VSI.exe/inner", "a folder, not a file");
    appPath = app.str() + "/";
  }
};

TEST(CheckInstrumentFiles, FindsMovedInstrumentsAndReportsMissingOnes) {
  Catalog cat;
  InstrumentList list;
  list.add(instrument("ASI", "47000", "Instruments_Brantic\\P@ASI.exe"));
  list.add(instrument("HSI", "47000", "Instruments_Brantic\\P@HSI.exe"));
  list.add(instrument("VSI", "47000", "Instruments_Brantic\\P@VSI.exe"));
  list.add(application("Map", "/nowhere/map", "", true));
  ScriptedUi ui;
  ui.expectMessage("Missing instrument file for VSI\n\rDid you install all instument add-ons?");
  CheckInstrumentFiles(cat.appPath, list, ui);
  EXPECT_EQ(list.rows()[0].SubItems[1], "Instruments_Halvery\\P@ASI.exe");
  EXPECT_EQ(list.rows()[1].SubItems[1], "Instruments_Brantic\\P@HSI.exe");
  EXPECT_EQ(list.rows()[3].SubItems[1], "Instruments_Brantic\\P@VSI.exe");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].type, MsgType::Error);
}

TEST(CheckInstrumentFiles, FoldsPortsAboveTheBaseIntoItAndSkipsNonNumbers) {
  Catalog cat;
  struct Case {
    std::string caption, port, expected;
  };
  const std::vector<Case> cases = {{"a", "47000", "47000"}, {"b", "47001", "47000"},
                                   {"c", "47050", "47000"}, {"d", "47099", "47000"},
                                   {"e", "47100", "47100"}, {"f", "", ""},
                                   {"g", "abc", "abc"},     {"h", "47050", "47000"}};
  InstrumentList list;
  for (const auto& c : cases) list.add(instrument(c.caption, c.port, "Instruments_Brantic\\P@HSI.exe"));
  list.add(application("i", "x", "", true));
  ScriptedUi ui;
  CheckInstrumentFiles(cat.appPath, list, ui);
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(list.rows()[i].SubItems[0], cases[i].expected) << cases[i].port;
  EXPECT_EQ(list.rows().back().SubItems[0], "App");
}

}  // namespace
}  // namespace vantrel::test
