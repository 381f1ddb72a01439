#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "app/Settings.h"
#include "platform/Error.h"

namespace vantrel {
namespace {

using test::TempDir;

class SettingsFile : public ::testing::Test {
 protected:
  TempDir dir;
  std::string file = dir.file("vantrel.ini");
  std::string appPath = dir.str() + "/";
  void addPopwarden() { dir.write("Popwarden.exe", "MZ"); }
};

TEST_F(SettingsFile, DefaultsWhenFileIsMissing) {
  const Settings s = readSettings(file, appPath);
  EXPECT_EQ(s.MulticastGroup, "224.11.5.62");
  EXPECT_EQ(s.ListenPort, "48000");
  EXPECT_EQ(s.FlightSimPort, "45000");
  EXPECT_EQ(s.AdapterIPAddress, "Auto");
  EXPECT_FALSE(s.PanelSwitching);
  EXPECT_FALSE(s.AutoStart);
  EXPECT_FALSE(s.MonitorChecking);
  EXPECT_FALSE(s.DeclutterDesktop);
  EXPECT_TRUE(s.NoThirdPartyApp);
  EXPECT_EQ(s.AircraftIDPrefix, "");
  EXPECT_EQ(s.AircraftIDSuffix, "");
  EXPECT_EQ(s.XPlanePopOutCheckingInterval, 15000);
  EXPECT_EQ(s.XPlanePopOutCheckingMax, 240000);
  EXPECT_FALSE(s.XPlanePopOutChecking);  // no Popwarden.exe beside the program
  EXPECT_EQ(readLastPanel(file), "");
  EXPECT_FALSE(dir.exists("vantrel.ini"));

  addPopwarden();
  EXPECT_TRUE(readSettings(file, appPath).XPlanePopOutChecking);
}

TEST_F(SettingsFile, OddStoredValues) {
  dir.write("vantrel.ini",
            "[config]\r\n"
            "panelswitching=Yes\r\n"
            "AutoStart=yes\r\n"
            "NoThirdPartyApp=\r\n"
            "MonitorChecking= yes \r\n"
            "XPlanePopOutCheckingInterval=abc\r\n"
            "XPlanePopOutCheckingMax=0x3A98\r\n"
            "AircraftIDPrefix=\"  quoted \"\r\n"
            "AircraftIDSuffix=   padded\t\r\n"
            "ListenPort=not a port\r\n"
            "LastPanelUsed=My Panel\r\n");
  const Settings s = readSettings(file, appPath);
  EXPECT_FALSE(s.PanelSwitching);
  EXPECT_TRUE(s.AutoStart);
  EXPECT_FALSE(s.NoThirdPartyApp);
  EXPECT_TRUE(s.MonitorChecking);
  EXPECT_EQ(s.XPlanePopOutCheckingInterval, 15000);
  EXPECT_EQ(s.XPlanePopOutCheckingMax, 15000);
  EXPECT_EQ(s.AircraftIDPrefix, "  quoted ");
  EXPECT_EQ(s.AircraftIDSuffix, "padded");
  EXPECT_EQ(s.ListenPort, "not a port");  // text is taken unchanged; converted elsewhere
  EXPECT_EQ(readLastPanel(file), "My Panel");
}

TEST_F(SettingsFile, PopOutNeedsExactYesAndPopwarden) {
  struct Case {
    const char* stored;  // nullptr: key missing
    bool popwarden, expected;
  };
  const Case cases[] = {
      {nullptr, true, true}, {"yes", true, true},  {"Yes", true, false},
      {"no", true, false},   {"yes", false, false},
  };
  for (const Case& c : cases) {
    TempDir d;
    const std::string app = d.str() + "/";
    if (c.popwarden) d.write("Popwarden.exe", "MZ");
    d.write("v.ini", c.stored ? std::string("[Config]\nXPlanePopOutChecking=") + c.stored + "\n" : "[Config]\n");
    EXPECT_EQ(readSettings(d.file("v.ini"), app).XPlanePopOutChecking, c.expected)
        << (c.stored ? c.stored : "(missing)") << " popwarden " << c.popwarden;
  }
  // A folder of that name is no program.
  std::filesystem::create_directory(dir.file("Popwarden.exe"));
  EXPECT_FALSE(popOutCheckingAvailable(true, appPath));
}

TEST_F(SettingsFile, NetworkWriteOrderOnNewFile) {
  Settings s;
  s.ListenPort = "48001";
  s.FlightSimPort = "45001";
  s.PanelSwitching = true;
  s.AircraftIDPrefix = "pre ";
  s.XPlanePopOutChecking = false;
  s.XPlanePopOutCheckingInterval = 20000;
  writeNetworkSettings(file, s);
  EXPECT_EQ(dir.read("vantrel.ini"),
            "[Config]\r\n"
            "ListenPort=48001\r\n"
            "MulticastGroup=224.11.5.62\r\n"
            "FlightSimPort=45001\r\n"
            "PanelSwitching=yes\r\n"
            "NoThirdPartyApp=yes\r\n"
            "AutoStart=no\r\n"
            "AircraftIDPrefix=pre \r\n"
            "AircraftIDSuffix=\r\n"
            "MonitorChecking=no\r\n"
            "DeclutterDesktop=no\r\n"
            "XPlanePopOutChecking=no\r\n"
            "XPlanePopOutCheckingInterval=20000\r\n"
            "XPlanePopOutCheckingMax=240000\r\n");

  // Read back at the next start: the port from its own key, the prefix without its blank.
  const Settings back = readSettings(file, appPath);
  EXPECT_EQ(back.FlightSimPort, "45001");
  EXPECT_EQ(back.AircraftIDPrefix, "pre");
  EXPECT_TRUE(back.PanelSwitching);
  EXPECT_EQ(back.XPlanePopOutCheckingInterval, 20000);
}

TEST_F(SettingsFile, LastPanelAndAdapterReplaceTheirLines) {
  dir.write("vantrel.ini", "[Config]\nLastPanelUsed=Old\nAdapterIPAddress=Auto\n");
  writeLastPanel(file, "");
  writeAdapterAddress(file, "192.168.1.20");
  EXPECT_EQ(dir.read("vantrel.ini"), "[Config]\nLastPanelUsed=\nAdapterIPAddress=192.168.1.20\n");
  EXPECT_EQ(readLastPanel(file), "");
  EXPECT_EQ(readSettings(file, appPath).AdapterIPAddress, "192.168.1.20");
}

TEST_F(SettingsFile, FailedWriteNamesTheFullPath) {
  const std::string missing = dir.file("no-such-folder") + "/vantrel.ini";
  try {
    writeNetworkSettings(missing, Settings{});
    FAIL() << "write succeeded";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), ("Unable to write to " + missing).c_str());
  }
}

TEST(SettingsPath, ExecutableNameWithIni) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
#ifdef _WIN32
      {"C:\\data", "C:\\Apps\\Vantrel.exe", "C:\\data\\Vantrel.ini"},
      {"C:\\data\\", "C:\\Apps\\Vantrel.exe", "C:\\data\\Vantrel.ini"},
      {"C:\\data", "C:\\my.tools\\run.v2.bin", "C:\\data\\run.v2.ini"},
#else
      {"/data", "/opt/bin/vantrel", "/data/vantrel.ini"},
      {"/data/", "/opt/bin/vantrel", "/data/vantrel.ini"},
      {"/data", "C:\\Apps\\Vantrel.exe", "/data/Vantrel.ini"},
      {"/data", "/opt/my.tools/run.v2.bin", "/data/run.v2.ini"},
#endif
  };
  for (const auto& [ini, exe, expected] : cases) EXPECT_EQ(settingsFilePath(ini, exe), expected) << exe;
}

}  // namespace
}  // namespace vantrel
