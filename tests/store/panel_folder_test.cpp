#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "platform/Error.h"
#include "store/PanelFolder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

const std::string kRow = R"("ASI","47000","p","Y","g","p","1","1")" "\r\n";

struct PanelFileCase {
  std::string what;
  std::string file;  // empty: no panel file at all
  std::string name, monitor;
  std::int32_t count;
  std::array<std::int32_t, 4> widths, heights;
  bool background, bezels, lighting;
};

// Readable in the test output.
void PrintTo(const PanelFileCase& c, std::ostream* os) { *os << c.what; }

class ReadPanelFileTable : public ::testing::TestWithParam<PanelFileCase> {};

TEST_P(ReadPanelFileTable, FillsThePanelState) {
  const auto& c = GetParam();
  TempDir data;
  std::filesystem::create_directory(data.path() / "Panel_A");
  if (!c.file.empty()) data.write("Panel_A/A.ini", c.file);
  std::string current = "before";
  PanelState state;
  // Entries beyond the count keep what they held.
  state.Monitors.Widths = {-1, -1, -1, -1};
  state.Monitors.Heights = {-1, -1, -1, -1};
  ReadPanelFile(data.str(), "A", current, state);
  EXPECT_EQ(current, c.name);
  EXPECT_EQ(state.PanelMonitor, c.monitor);
  EXPECT_EQ(state.Monitors.Count, c.count);
  EXPECT_EQ(state.Monitors.Widths, c.widths);
  EXPECT_EQ(state.Monitors.Heights, c.heights);
  EXPECT_EQ(state.ShowBackground, c.background);
  EXPECT_EQ(state.ShowBezels, c.bezels);
  EXPECT_EQ(state.EnableLighting, c.lighting);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadPanelFileTable,
    ::testing::Values(
        PanelFileCase{"no file", "", "A", "0", 1, {0, -1, -1, -1}, {0, -1, -1, -1}, true, true, false},
        PanelFileCase{"five monitors",
                      "[Config]\r\nPanelName=A\r\nShowBackground=0\r\nPanelMonitor=2\r\nNo_of_Screens=5\r\n"
                      "Screen_0_Height=1080\r\nScreen_0_Width=1920\r\nScreen_1_Height=1024\r\n"
                      "Screen_1_Width=1280\r\nScreen_2_Height=768\r\nScreen_2_Width=1024\r\n"
                      "Screen_3_Height=600\r\nScreen_3_Width=800\r\nScreen_4_Height=480\r\n"
                      "Screen_4_Width=640\r\nShowBezels=0\r\nEnableLighting=1\r\n",
                      "A", "2", 5, {1920, 1280, 1024, 800}, {1080, 1024, 768, 600}, false, false, true},
        PanelFileCase{"words as flags and another name",
                      "[config]\r\npanelname=B\r\nShowBezels=false\r\nEnableLighting=true\r\n"
                      "ShowBackground=yes\r\n",
                      "B", "0", 1, {0, -1, -1, -1}, {0, -1, -1, -1}, true, true, false},
        PanelFileCase{"saved on four, then on two",
                      "[Config]\r\nNo_of_Screens=2\r\nScreen_0_Height=1\r\nScreen_0_Width=2\r\n"
                      "Screen_1_Height=3\r\nScreen_1_Width=4\r\nScreen_2_Height=5\r\nScreen_2_Width=6\r\n"
                      "Screen_3_Height=7\r\nScreen_3_Width=8\r\n",
                      "A", "0", 2, {2, 4, -1, -1}, {1, 3, -1, -1}, true, true, false}),
    [](const auto& info) {
      std::string n;
      for (char ch : info.param.what) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return n;
    });

TEST(ReadPanelFile, BadScreenCountStopsAfterNameAndMonitorWereTaken) {
  TempDir data;
  data.write("Panel_A/A.ini",
             "[Config]\r\nPanelName=A2\r\nPanelMonitor=1\r\nNo_of_Screens=abc\r\nShowBezels=0\r\n");
  std::string current = "Old";
  PanelState state;
  state.Monitors = {3, {1, 2, 3, 4}, {5, 6, 7, 8}};
  state.EnableLighting = true;
  try {
    ReadPanelFile(data.str(), "A", current, state);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(current, "A2");
  EXPECT_EQ(state.PanelMonitor, "1");
  EXPECT_EQ(state.Monitors.Count, 3);
  EXPECT_EQ(state.Monitors.Widths[2], 3);
  EXPECT_TRUE(state.ShowBezels);
  EXPECT_TRUE(state.EnableLighting);

  // An empty name reads nothing.
  ReadPanelFile(data.str(), "", current, state);
  EXPECT_EQ(current, "A2");
}

struct Lookup {
  std::string text;
  bool partial;
  bool found;
  std::string foundName;
};

void PrintTo(const Lookup& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.text) << (c.partial ? ", partial" : ", exact");
}

class OpenPanelLookup : public ::testing::TestWithParam<Lookup> {};

TEST_P(OpenPanelLookup, FindsTheFolderAndItsList) {
  const auto& c = GetParam();
  TempDir data;
  data.write("Panel_Cessna 172/Cessna 172.cfg", kRow);
  data.write("Panel_MyPanel_2/MyPanel_2.cfg", kRow);
  data.write("Panel_Baron.txt", "a file, not a folder");
  std::filesystem::create_directory(data.path() / "Elsewhere");
  data.write("Elsewhere/Elsewhere.cfg", kRow);
#ifndef _WIN32  // a link needs a right Windows users lack by default
  std::filesystem::create_directory_symlink(data.path() / "Elsewhere", data.path() / "Panel_Linked");
#endif

  InstrumentList list;
  InstrumentRow old;
  old.Caption = "old";
  list.add(old);
  ScriptedUi ui;
  std::string found = "untouched";
  EXPECT_EQ(OpenPanel(data.str(), list, ui, c.text, false, c.partial, found), c.found);
  EXPECT_EQ(found, c.found ? c.foundName : "untouched");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list.rows()[0].Caption, c.found ? "ASI" : "old");
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenPanelLookup,
    ::testing::Values(Lookup{"Cessna", true, true, "Cessna 172"},
                      Lookup{"cessna", true, false, ""},
                      Lookup{"", true, false, ""},
                      Lookup{"Panel_C", true, true, "Cessna 172"},
                      Lookup{"_2", true, true, "MyPanel_2"},
                      Lookup{"Baron", true, false, ""},
                      Lookup{"Linked", true, false, ""},
                      Lookup{"Cessna 172", false, true, "Cessna 172"},
                      Lookup{"Cessna", false, false, ""}));

TEST(OpenPanel, MissingPanelIsReportedOnlyWhenAsked) {
  TempDir data;
  InstrumentList list;
  std::string found;
  ScriptedUi ui;
  EXPECT_FALSE(OpenPanel(data.str(), list, ui, "X", false, false, found));
  ui.expectMessage("Panel X configuration is missing! - Create Panel again");
  EXPECT_FALSE(OpenPanel(data.str(), list, ui, "X", true, false, found));
  ui.expectMessage("Panel cessna configuration is missing! - Create Panel again");
  EXPECT_FALSE(OpenPanel(data.str(), list, ui, "cessna", true, true, found));
}

TEST(OpenPanel, MissingOrDamagedListFailsWithAnEmptyList) {
  TempDir data;
  std::filesystem::create_directory(data.path() / "Panel_Gone");
  data.write("Panel_Bad/Bad.cfg", kRow + "\"B\",\"47000\"\r\n");
  for (const std::string name : {"Gone", "Bad"}) {
    InstrumentList list;
    InstrumentRow old;
    list.add(old);
    ScriptedUi ui;
    const std::string path = data.str() + "/Panel_" + name + "/" + name + ".cfg";
    ui.expectMessage(name == "Gone" ? "Instrument list file " + path + " is missing"
                                    : "Instrument list file " + path +
                                          " is damaged: line 2 holds fewer than eight fields");
    std::string found;
    // Reported even on a silent lookup: the panel exists, its list is broken.
    EXPECT_FALSE(OpenPanel(data.str(), list, ui, name, false, name == "Bad", found));
    EXPECT_TRUE(list.empty());
  }
}

TEST(PanelName, RefusesWhatAFolderNameCannotHold) {
  for (const std::string& bad : std::vector<std::string>
       {"", ".", "..", "a\\b", "a/b", "a:b", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "a\tb",
        std::string("a\x01"), "a ", "a."})
    EXPECT_FALSE(isValidPanelName(bad)) << bad;
  for (const std::string good : {"A", "Cessna 172", " lead", "a.b", "Höhe", "[New]"})
    EXPECT_TRUE(isValidPanelName(good)) << good;
}

}  // namespace
}  // namespace vantrel::test
