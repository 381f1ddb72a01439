#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "platform/posix/PosixPlatform.h"
#include "platform_test_util.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using namespace vantrel::testing;

TEST(PosixEnvironment, DataFolderPrefersAppDataThenXdgThenHome) {
  const test::TempDir root;
  const std::string r = root.str();
  struct Case {
    std::optional<std::string> appData, xdg, home;
    std::string expected;
  };
  const Case cases[] = {
      {r + "/data/app", r + "/xdg", r + "/home/u", r + "/data/app"},
      {"", r + "/xdg", r + "/home/u", r + "/xdg"},  // an empty APPDATA counts as unset
      {std::nullopt, r + "/xdg", r + "/home/u", r + "/xdg"},
      {std::nullopt, "", r + "/home/u", r + "/home/u/.config"},
      {std::nullopt, "relative/xdg", r + "/home/u", r + "/home/u/.config"},
      {std::nullopt, std::nullopt, r + "/home/u", r + "/home/u/.config"},
      {std::nullopt, std::nullopt, std::nullopt, ""},
  };
  PosixPlatform platform;
  for (const Case& c : cases) {
    ScopedEnv env;
    env.set("APPDATA", c.appData);
    env.set("XDG_CONFIG_HOME", c.xdg);
    env.set("HOME", c.home);
    EXPECT_EQ(platform.applicationDataFolder(), c.expected)
        << c.appData.value_or("<unset>") << " " << c.xdg.value_or("<unset>") << " " << c.home.value_or("<unset>");
    // The per-user configuration folder exists afterwards; APPDATA is taken as it is.
    if (!c.expected.empty() && c.appData.value_or("").empty())
      EXPECT_TRUE(std::filesystem::is_directory(c.expected)) << c.expected;
  }
  EXPECT_FALSE(std::filesystem::exists(r + "/data/app"));
}

TEST(PosixEnvironment, EnvironmentTellsUnsetFromEmpty) {
  ScopedEnv env;
  PosixPlatform platform;
  env.set("VANTREL_TEST_VALUE", "");
  EXPECT_EQ(platform.environment("VANTREL_TEST_VALUE"), std::optional<std::string>(""));
  env.set("VANTREL_TEST_VALUE", std::nullopt);
  EXPECT_EQ(platform.environment("VANTREL_TEST_VALUE"), std::nullopt);
}

TEST(PosixEnvironment, ExecutablePathIsThisProgram) {
  PosixPlatform platform;
  const std::string path = platform.executablePath();
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(std::filesystem::path(path).filename(), "test_runtime");
}

TEST(PosixEnvironment, ClockAdvancesWithSleep) {
  PosixPlatform platform;
  const auto before = platform.nowMs();
  platform.sleepMs(30);
  const auto elapsed = platform.nowMs() - before;
  EXPECT_GE(elapsed, 30);
  EXPECT_LT(elapsed, 1000);
}

TEST(PosixEnvironment, LocalAddressesAreDistinctDottedQuads) {
  PosixPlatform platform;
  const auto addresses = platform.localIPv4Addresses();  // may be empty in a sandbox
  const std::regex quad(R"((25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)(\.(25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)){3})");
  for (const std::string& a : addresses) EXPECT_TRUE(std::regex_match(a, quad)) << a;
  std::vector<std::string> sorted = addresses;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

TEST(PosixEnvironment, DecimalSeparatorFollowsTheNumericLocale) {
  PosixPlatform platform;
  const std::string old = setlocale(LC_NUMERIC, nullptr);
  setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(platform.decimalSeparator(), '.');
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
    if (setlocale(LC_NUMERIC, name) != nullptr) {
      EXPECT_EQ(platform.decimalSeparator(), ',') << name;
      break;
    }
  }
  setlocale(LC_NUMERIC, old.c_str());
}

}  // namespace
}  // namespace vantrel
