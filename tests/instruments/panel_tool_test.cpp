// vantrel-panel as a user runs it: a copy beside a catalog, a data folder of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

std::string shellQuote(const std::string& s) {
  std::string out = "'";
  for (const char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct Result {
  int status = -1;
  std::string out, err;
};

struct PanelTool {
  TempDir program;
  TempDir home;
  PanelTool() {
    fs::copy_file(fs::path(VANTREL_BIN_DIR) / "vantrel-panel", program.path() / "vantrel-panel");
    program.write("Instruments_Brantic/P@ASI.exe", "#!/bin/sh\n");
    program.write("Instruments_Brantic/P@ASI.ini",
                  "[Info]\r\nShortName=Airspeed\r\n[Network]\r\nDefaultPort=47001\r\n");
    program.write("Instruments_Brantic/E@Torque.exe", "#!/bin/sh\n");
    program.write("Instruments_Brantic/E@Torque.ini",
                  "[Info]\r\nShortName=Torque\r\n[Network]\r\nDefaultPort=47005\r\n");
    program.write("Instruments_Halvery/M@Clock.exe", "#!/bin/sh\n");
    program.write("Instruments_Halvery/M@Clock.ini", "[Info]\r\nShortName=Clock\r\n");
    home.write("Quorvane/Dexalune/vantrel.ini",
               "[Config]\r\nMulticastGroup=239.9.9.9\r\nFlightSimPort=49999\r\n");
    panel("Cessna", "\"Map\",\"App\",\"/opt/map\",\"N\",\"-f,x\",\"\",\"\",\"\"\r\n");
    panel("Baron", "");
  }
  fs::path folder(const std::string& name) const {
    return home.path() / "Quorvane" / "Dexalune" / ("Panel_" + name);
  }
  void panel(const std::string& name, const std::string& cfg) const {
    fs::create_directories(folder(name));
    writeFile(folder(name) / (name + ".cfg"), cfg);
  }
  std::string cfg(const std::string& name) const { return readFile(folder(name) / (name + ".cfg")); }
  Result run(const std::vector<std::string>& args) const {
    std::string command = "APPDATA=" + shellQuote(home.str()) + " " +
                          shellQuote((program.path() / "vantrel-panel").string());
    for (const auto& a : args) command += " " + shellQuote(a);
    const std::string out = home.file("out.txt"), err = home.file("err.txt");
    command += " >" + shellQuote(out) + " 2>" + shellQuote(err) + " </dev/null";
    Result r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readFile(out);
    r.err = readFile(err);
    fs::remove(out);
    fs::remove(err);
    return r;
  }
};

TEST(PanelTool, ListAndShowPrintThePanelsAndTheirRows) {
  PanelTool t;
  const Result list = t.run({"list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "Baron\nCessna\n");

  const Result show = t.run({"show", "Cessna"});
  EXPECT_EQ(show.status, 0);
  EXPECT_EQ(show.out, "Map\tApp\t/opt/map\tN\t-f,x\t\t\t\n");
  EXPECT_EQ(show.err, "");
}

TEST(PanelTool, AddWritesRowsAsAddInstrumentMakesThem) {
  PanelTool t;
  const Result r = t.run({"add", "Cessna", "Brantic", "P@ASI", "p@asi.exe", "Torque"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(t.cfg("Cessna"),
            "\"Airspeed\",\"47001\",\"Instruments_Brantic\\P@ASI.exe\",\"Y\",\"239.9.9.9\",\"49999\",\"1\",\"1\"\r\n"
            "\"Airspeed\",\"47001\",\"Instruments_Brantic\\P@ASI.exe\",\"Y\",\"239.9.9.9\",\"49999\",\"1\",\"2\"\r\n"
            "\"Map\",\"App\",\"/opt/map\",\"N\",\"-f,x\",\"\",\"\",\"\"\r\n"
            "\"Torque\",\"47005\",\"Instruments_Brantic\\E@Torque.exe\",\"Y\",\"239.9.9.9\",\"49999\",\"1\",\"1\"\r\n");
  EXPECT_EQ(r.out,
            "Airspeed\t47001\tInstruments_Brantic\\P@ASI.exe\tY\t239.9.9.9\t49999\t1\t1\n"
            "Airspeed\t47001\tInstruments_Brantic\\P@ASI.exe\tY\t239.9.9.9\t49999\t1\t2\n"
            "Torque\t47005\tInstruments_Brantic\\E@Torque.exe\tY\t239.9.9.9\t49999\t1\t1\n");
}

TEST(PanelTool, RemoveDeletesExactlyThatCopysPlacementFile) {
  PanelTool t;
  ASSERT_EQ(t.run({"add", "Baron", "Brantic", "P@ASI", "P@ASI", "P@ASI"}).status, 0);
  for (const char* n : {"ASI1.ini", "ASI2.ini", "ASI3.ini"}) writeFile(t.folder("Baron") / n, "[Position]\r\n");
  const Result r = t.run({"remove", "Baron", "Airspeed", "2"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(t.folder("Baron") / "ASI1.ini"));
  EXPECT_FALSE(fs::exists(t.folder("Baron") / "ASI2.ini"));
  EXPECT_TRUE(fs::exists(t.folder("Baron") / "ASI3.ini"));
  EXPECT_EQ(t.run({"show", "Baron"}).out,
            "Airspeed\t47001\tInstruments_Brantic\\P@ASI.exe\tY\t239.9.9.9\t49999\t1\t1\n"
            "Airspeed\t47001\tInstruments_Brantic\\P@ASI.exe\tY\t239.9.9.9\t49999\t1\t3\n");
}

TEST(PanelTool, ResetWritesTheFiveKeysAndKeepsTheInstrumentsOwn) {
  PanelTool t;
  ASSERT_EQ(t.run({"add", "Baron", "Brantic", "E@Torque"}).status, 0);
  writeFile(t.folder("Baron") / "Torque1.ini",
            "[Position]\r\nMonitor=1\r\nX=5\r\nY=6\r\nIsLocked=True\r\nTheme=dark\r\n[Size]\r\nScaleSize=2\r\n");
  const std::string list = t.cfg("Baron");
  const Result r = t.run({"reset", "Baron", "Torque", "1"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readFile(t.folder("Baron") / "Torque1.ini"),
            "[Position]\r\nMonitor=0\r\nX=0\r\nY=0\r\nIsLocked=False\r\nTheme=dark\r\n[Size]\r\nScaleSize=1\r\n");
  EXPECT_EQ(t.cfg("Baron"), list);
}

TEST(PanelTool, RefusedRequestsFailWithTheReasonAndChangeNothing) {
  PanelTool t;
  writeFile(t.folder("Cessna") / "Map.ini", "x");
  const std::string before = t.cfg("Cessna");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"add", "Cessna", "Ordane", "P@ASI"}, "Instrument set Ordane is not installed"},
      {{"add", "Cessna", "Brantic", "P@ASI", "P@Nothing"}, "Instrument P@Nothing is not in the set Brantic"},
      {{"add", "Nowhere", "Brantic", "P@ASI"}, "Panel Nowhere configuration is missing! - Create Panel again"},
      {{"remove", "Cessna", "Map", "1"}, "Panel Cessna has no row Map with instance number 1"},
      {{"reset", "Cessna", "Map", ""}, "Reset position not available for 3rd party applications"},
      {{"show"}, "see vantrel-panel --help"},
      {{"launch", "Cessna"}, "see vantrel-panel --help"},
  };
  for (const auto& k : cases) {
    const Result r = t.run(k.args);
    EXPECT_EQ(r.status, 1) << testing::PrintToString(k.args);
    EXPECT_NE(r.err.find(k.err), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(t.cfg("Cessna"), before);
  EXPECT_TRUE(fs::exists(t.folder("Cessna") / "Map.ini"));
  EXPECT_FALSE(fs::exists(t.folder("Nowhere")));
}

TEST(PanelTool, HelpDescribesEveryCommand) {
  PanelTool t;
  for (const char* flag : {"--help", "-h"}) {
    const Result r = t.run({flag});
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"list", "show PANEL", "add PANEL SET", "remove PANEL CAPTION INSTNO",
                             "reset PANEL CAPTION INSTNO", "export PANEL FILE", "import FILE",
                             "when it closes"})
      EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

// Export and import: the same archive code as the window, with a shell's exit status.
TEST(PanelTool, ExportWritesTheArchiveOrRefusesWithoutAFile) {
  PanelTool t;
  writeFile(t.folder("Cessna") / "Cessna.ini", "[Config]\r\nPanelName=Cessna\r\n");
  const std::string archive = t.home.write("out/Cessna.vnx", "older archive");
  const Result r = t.run({"export", "Cessna", archive});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out + r.err, "");
  std::map<std::string, std::string> stored;
  for (const RawRecord& rec : rawRecords(readFile(archive))) stored[rec.name] = zInflate(rec.data, rec.size);
  EXPECT_EQ(stored, snapshot(t.folder("Cessna")));

  struct Refusal {
    std::string panel, err;
  };
  for (const Refusal& c : {Refusal{"Baron", "No Panel or Instruments to export!\n"},
                           Refusal{"Nowhere", "Panel Nowhere configuration is missing! - Create Panel again\n"}}) {
    const std::string file = t.home.file("out/" + c.panel + ".vnx");
    const Result refused = t.run({"export", c.panel, file});
    EXPECT_EQ(refused.status, 1) << c.panel;
    EXPECT_EQ(refused.err, c.err);
    EXPECT_FALSE(fs::exists(file)) << c.panel;
  }
}

TEST(PanelTool, ImportPrintsTheNewPanelOrRefusesLeavingNothing) {
  PanelTool t;
  const std::string archive = t.home.file("Trainer.vnx");
  ASSERT_EQ(t.run({"export", "Cessna", archive}).status, 0);
  const Result r = t.run({"import", archive});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Trainer\n");
  EXPECT_EQ(t.cfg("Trainer"), t.cfg("Cessna"));
  EXPECT_FALSE(fs::exists(t.folder("Trainer") / "Cessna.cfg"));

  const std::string evil = t.home.write("Evil.vnx", goodRecord("", "Evil.cfg", "") +
                                                        goodRecord("../../", "x", "x"));
  const auto before = snapshot(t.home.path());
  struct Refusal {
    std::string file, err;
  };
  for (const Refusal& c : {Refusal{archive, "Panel Trainer already exists!\n"},
                           Refusal{evil, "Unsafe path in archive: ../../x\n"}}) {
    const Result refused = t.run({"import", c.file});
    EXPECT_EQ(refused.status, 1) << c.file;
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, c.err);
    EXPECT_EQ(snapshot(t.home.path()), before) << c.file;
  }
}

}  // namespace
}  // namespace vantrel::test
