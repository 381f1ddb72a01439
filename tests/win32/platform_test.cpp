// The Windows platform against the real system (or Wine): processes started and ended,
// caption order, the 8-bit text of the files, environment and paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "platform/CommandLine.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/win32/Win32Platform.h"
#include "store/IniFile.h"
#include "support/TempDir.h"

// After Platform.h, whose ES_ constants <windows.h> would turn into its macros.
#include <windows.h>

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

// The helpers lie in test-helpers beside the folder of the test programs.
std::string helper(Win32Platform& platform, const std::string& name) {
  const std::string self = platform.executablePath();
  const fs::path exe = fs::path(std::u8string(self.begin(), self.end()));
  const std::u8string u8 = (exe.parent_path().parent_path() / "test-helpers" / (name + ".exe")).u8string();
  return std::string(u8.begin(), u8.end());
}

bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

TEST(Win32Process, StartedProgramIsKnownUntilTerminated) {
  Win32Platform platform;
  const std::string program = helper(platform, "idle_instrument");
  ASSERT_TRUE(fs::exists(fs::path(std::u8string(program.begin(), program.end())))) << program;
  const ProcessHandle h = platform.createProcess("\"" + program + "\"");
  ASSERT_NE(h, 0u);
  const auto id = platform.processIdentity(h);
  ASSERT_TRUE(id.has_value());
  EXPECT_EQ(static_cast<unsigned long>(id->pid), platform.pidOf(h));
  EXPECT_FALSE(id->startTime.empty());
  EXPECT_TRUE(sameTextIgnoreCase(extractFileName(id->program), "idle_instrument.exe")) << id->program;
  EXPECT_TRUE(platform.isRunning(*id));
  ProcessIdentity other = *id;
  other.startTime += "1";
  EXPECT_FALSE(platform.isRunning(other)) << "a number alone is no identity";

  EXPECT_TRUE(platform.terminateProcess(h, 0));
  EXPECT_TRUE(waitUntil([&] { return !platform.isRunning(*id); }));
  EXPECT_FALSE(platform.processIdentity(h).has_value());
  EXPECT_FALSE(platform.terminateProcess(h, 0)) << "already ended";
  platform.closeProcess(h);
  EXPECT_FALSE(platform.terminateProcess(h, 0)) << "handle let go of";
  EXPECT_EQ(platform.pidOf(h), 0u);
}

TEST(Win32Process, WhatCannotStartGivesNoHandle) {
  Win32Platform platform;
  for (const std::string line : {"", "   ", "\"C:\\nowhere\\missing.exe\"", "C:\\nowhere\\missing.exe -x"})
    EXPECT_EQ(platform.createProcess(line), 0u) << line;
  EXPECT_FALSE(platform.terminateProcess(12345, 0));
  platform.closeProcess(12345);  // unknown: nothing happens
}

TEST(Win32Process, ArgumentsArriveAsTheCommandLineRulesSplitThem) {
  Win32Platform platform;
  TempDir dir;
  const std::string program = helper(platform, "record_args");
  const std::string rest = "plain \"two words\" tail\\\\ \"quote\\\"inside\" back\\slash \"\"";
  int n = 0;
  for (const std::string& line : {"\"" + program + "\" " + rest, "\"" + program + "\""}) {
    const std::string out = dir.file("args" + std::to_string(n++) + ".txt");
    SetEnvironmentVariableW(L"VANTREL_ARGS_FILE", fs::path(std::u8string(out.begin(), out.end())).c_str());
    const ProcessHandle h = platform.createProcess(line);
    SetEnvironmentVariableW(L"VANTREL_ARGS_FILE", nullptr);
    ASSERT_NE(h, 0u) << line;
    EXPECT_TRUE(waitUntil([&] { return fs::exists(fs::path(std::u8string(out.begin(), out.end()))); })) << line;
    EXPECT_TRUE(platform.terminateProcess(h, 0));
    platform.closeProcess(h);

    std::vector<std::string> expected = splitCommandLine(line);
    expected.erase(expected.begin());
    std::string text;
    ASSERT_TRUE(readFileBytes(out, text));
    std::vector<std::string> got;
    std::istringstream lines(text);
    for (std::string l; std::getline(lines, l);) got.push_back(l);
    EXPECT_EQ(got, expected) << line;
  }
}

TEST(Win32Process, LeftoversAreEndedOnlyWhenTheirIdentityStillMatches) {
  Win32Platform platform;
  const std::string program = helper(platform, "idle_instrument");
  const ProcessHandle h = platform.createProcess("\"" + program + "\"");
  ASSERT_NE(h, 0u);
  const auto id = platform.processIdentity(h);
  ASSERT_TRUE(id.has_value());
  platform.closeProcess(h);  // as a killed manager would have

  ProcessIdentity stranger = *id;
  stranger.program = "C:\\windows\\notepad.exe";
  EXPECT_EQ(platform.endLeftovers({stranger}), 0u);
  EXPECT_TRUE(platform.isRunning(*id));
  EXPECT_EQ(platform.endLeftovers({*id}), 1u);
  EXPECT_FALSE(platform.isRunning(*id));
  EXPECT_EQ(platform.endLeftovers({*id}), 0u) << "ended already";
}

struct CaptionCase {
  const char* a;
  const char* b;
  int order;
};

TEST(Win32Captions, LocaleOrderNotByteOrder) {
  const CaptionCase cases[] = {
      {"alpha", "Bravo", -1},          // letters before case
      {"Bravo", "alpha", 1},
      {"caf\xC3\xA9", "cafz", -1},     // an accented letter sorts with its letter
      {"\xC3\xA9t\xC3\xA9", "f", -1},
      {"Same", "Same", 0},
      {"a", "A", -1},                  // case still counts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(compareCaptions(c.a, c.b), c.order) << c.a << " / " << c.b;
    EXPECT_EQ(compareCaptions(c.b, c.a), -c.order) << c.b << " / " << c.a;
  }
}

TEST(Win32Text, EightBitTextIsTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 1252u) << "the expected bytes below are those of Windows-1252";
  // Every byte of the code page comes back as it was, through UTF-8.
  std::string all;
  for (int c = 0x20; c < 0x100; ++c) all += static_cast<char>(c);
  const std::string text = decodeFileText(all);
  EXPECT_TRUE(isValidUtf8(text));
  EXPECT_EQ(encodeFileText(text), all);
  EXPECT_EQ(encodeFileText("Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xE9 \x80");
  EXPECT_EQ(decodeFileText("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
  // UTF-8 from another system is read as such.
  EXPECT_EQ(decodeFileText("Caf\xC3\xA9"), "Caf\xC3\xA9");

  // What the program writes into an INI file is 8-bit text, and reads back the same.
  TempDir dir;
  IniFile ini(dir.file("p.ini"));
  ini.writeString("Config", "Name", "No\xC3\xABl");
  EXPECT_EQ(dir.read("p.ini"), "[Config]\r\nName=No\xEBl\r\n");
  EXPECT_EQ(IniFile(dir.file("p.ini")).readString("Config", "Name", ""), "No\xC3\xABl");
}

TEST(Win32Environment, VariablesAndTheProgramsPlace) {
  Win32Platform platform;
  SetEnvironmentVariableW(L"VANTREL_TEST_VALUE", nullptr);
  EXPECT_FALSE(platform.environment("VANTREL_TEST_VALUE").has_value());
  SetEnvironmentVariableW(L"VANTREL_TEST_VALUE", L"");
  EXPECT_EQ(platform.environment("VANTREL_TEST_VALUE"), std::optional<std::string>(""));
  SetEnvironmentVariableW(L"VANTREL_TEST_VALUE", L"Caf\u00e9 \u20ac");
  EXPECT_EQ(platform.environment("VANTREL_TEST_VALUE"), std::optional<std::string>("Caf\xC3\xA9 \xE2\x82\xAC"));
  const std::wstring longValue(5000, L'x');
  SetEnvironmentVariableW(L"VANTREL_TEST_VALUE", longValue.c_str());
  EXPECT_EQ(platform.environment("VANTREL_TEST_VALUE"), std::optional<std::string>(std::string(5000, 'x')));
  SetEnvironmentVariableW(L"VANTREL_TEST_VALUE", nullptr);

  wchar_t saved[4096] = {};
  const bool hadAppData = GetEnvironmentVariableW(L"APPDATA", saved, 4096) > 0;
  SetEnvironmentVariableW(L"APPDATA", L"C:\\Data\\Roaming");
  EXPECT_EQ(platform.applicationDataFolder(), "C:\\Data\\Roaming");
  SetEnvironmentVariableW(L"APPDATA", hadAppData ? saved : nullptr);

  const std::string exe = platform.executablePath();
  EXPECT_TRUE(sameTextIgnoreCase(extractFileName(exe), "test_win32.exe")) << exe;
  EXPECT_TRUE(fs::exists(fs::path(std::u8string(exe.begin(), exe.end())))) << exe;
  const char separator = platform.decimalSeparator();
  EXPECT_TRUE(separator == '.' || separator == ',') << separator;
}

TEST(Win32Files, NamesBeyondTheCodePageWithWideCalls) {
  TempDir dir;
  // Greek capital omega is not in Windows-1252: only a wide call can make this name.
  const std::string name = "Caf\xC3\xA9 \xCE\xA9.ini";
  const std::string path = joinPath(dir.str(), name);
  writeFileAtomic(path, "[A]\r\n");
  std::string bytes;
  ASSERT_TRUE(readFileBytes(path, bytes));
  EXPECT_EQ(bytes, "[A]\r\n");
  EXPECT_EQ(listEntries(dir.str(), "*.ini"), std::vector<std::string>{name});
  EXPECT_EQ(listEntries(dir.str(), "CAF\xC3\x89 \xCF\x89.*"), std::vector<std::string>{name}) << "case ignored";
  EXPECT_EQ(dir.names(), std::vector<std::string>{name}) << "no temporary file left";

  // A hidden or system folder is one the user does not see. (Wine also hides dot names.)
  fs::create_directory(dir.path() / "Shown");
  fs::create_directory(dir.path() / "Hidden");
  SetFileAttributesW((dir.path() / "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(isHiddenOrSystem(dir.str(), "Shown"));
  EXPECT_TRUE(isHiddenOrSystem(dir.str(), "Hidden"));
  SetFileAttributesW((dir.path() / "Hidden").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Desktop, ScreenSaverSwitchesOffAndBackOn) {
  Win32Platform platform;
  const bool before = platform.screenSaverActive();
  platform.setScreenSaverActive(false);
  EXPECT_FALSE(platform.screenSaverActive());
  platform.setScreenSaverActive(true);
  EXPECT_TRUE(platform.screenSaverActive());
  platform.setScreenSaverActive(before);
  // Without a desktop window these are silently nothing; with one they must not fail.
  platform.showDesktopIcons(false);
  platform.showDesktopIcons(true);
  platform.setExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
  platform.setExecutionState(ES_CONTINUOUS);
}

}  // namespace
}  // namespace vantrel::test
