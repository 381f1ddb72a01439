// The temporary files that a save cut short leaves behind: never part of a panel, and
// removed once the folder is written again.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "instruments/SendTo.h"
#include "platform/Paths.h"
#include "store/Archive.h"
#include "store/IniFile.h"
#include "store/PanelFolder.h"
#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

// A writer that is long gone (no process has so high a number) and one that is alive.
const std::string kStale = std::string(kSaveTempPrefix) + "999999999.3";
const std::string kOwn = std::string(kSaveTempPrefix) + std::to_string(::getpid()) + ".900";
// An old-style name ending like a placement file, to show the prefix alone decides.
const std::string kStaleIni = std::string(kSaveTempPrefix) + "999999999.4.ini";

TEST(SaveTemp, NameIsNoFileTheProgramMakes) {
  for (const char* name : {"Panel.ini", "Panel.cfg", "Panel.ini.tmp", ".hidden", "Scrimlay.ini"})
    EXPECT_FALSE(isSaveTempName(name)) << name;
  EXPECT_TRUE(isSaveTempName(kStale));
}

TEST(SaveTemp, StaleOnesGoWhenTheFolderIsNextWritten) {
  TempDir dir;
  dir.write(kStale, "[Config]\r\nPanelName=half");
  dir.write(kStaleIni, "half");
  dir.write(kOwn, "a save of this process still under way");
  dir.write("Other.ini", "[S]\r\n");
  IniFile(dir.file("A.ini")).writeString("Config", "PanelName", "A");
  EXPECT_EQ(dir.names(), (std::vector<std::string>{kOwn, "A.ini", "Other.ini"}));
}

TEST(SaveTemp, LeftOutOfCopyExportAndSendTo) {
  TempDir data;
  data.write("Panel_A/A.ini", "[Config]\r\nPanelName=A\r\nPanelMonitor=0\r\n");
  data.write("Panel_A/P@ASI_1.ini", "[Position]\r\nMonitor=0\r\n");
  const std::string temp = "[Position]\r\nMonitor=0\r\n";
  data.write("Panel_A/" + kStaleIni, temp);
  data.write("Panel_A/" + kOwn, temp);
  const auto folder = data.path() / "Panel_A";

  // Copy Panel.
  std::filesystem::create_directory(data.path() / "Panel_B");
  copyPanelFiles(data.str(), "A", "B");
  for (const auto& e : std::filesystem::directory_iterator(data.path() / "Panel_B"))
    EXPECT_FALSE(isSaveTempName(e.path().filename().string())) << e.path();

  // Export.
  for (const RawRecord& r : rawRecords(packFolderBytes(folder.string(), false)))
    EXPECT_FALSE(isSaveTempName(r.name)) << r.name;

  // Send To: the placement file moves, the temporary files are left as they were.
  sendPanelTo(data.str(), "A", 1, MonitorInfo{0, 0, 800, 600});
  EXPECT_EQ(data.read("Panel_A/P@ASI_1.ini"), "[Position]\r\nMonitor=1\r\n");
  EXPECT_EQ(data.read("Panel_A/" + kOwn), temp);
  EXPECT_FALSE(data.exists("Panel_A/" + kStaleIni));
}

}  // namespace
}  // namespace vantrel::test
