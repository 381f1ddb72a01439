#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

#include "support/TempDir.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace vantrel {
namespace {

using test::TempDir;

TEST(Captions, WordSortIgnoresCaseFirstButNotEntirely) {
  std::vector<std::string> v{"Zulu", "alpha", "Bravo", "B", "b", "\xC3\x89" "cho", "delta"};
  std::sort(v.begin(), v.end(),
            [](const std::string& a, const std::string& b) { return compareCaptions(a, b) < 0; });
  EXPECT_EQ(v, (std::vector<std::string>{"alpha", "b", "B", "Bravo", "delta", "\xC3\x89" "cho", "Zulu"}));
  EXPECT_EQ(compareCaptions("same", "same"), 0);
  EXPECT_NE(compareCaptions("a", "A"), 0);
}

TEST(Patterns, WildcardsIgnoringCase) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"Panel_Cessna", "Panel_*", true},  {"panel_x", "PANEL_*", true},  {"Panel_", "Panel_*", true},
      {"Panels", "Panel_*", false},       {"a.ini", "*.ini", true},      {"a.ini.bak", "*.ini", false},
      {"A.INI", "*.ini", true},           {"README", "*.*", true},       {"abc", "a?c", true},
      {"ac", "a?c", false},               {"a\xC3\xA9" "c", "a?c", true}, {"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", true},
      {"x", "", false},                   {"abcabd", "*abd", true},      {"abc", "a*b*c*", true},
  };
  for (const auto& [name, pattern, expected] : cases)
    EXPECT_EQ(matchesPattern(name, pattern), expected) << name << " ~ " << pattern;
}

TEST(Integers, StrToInt) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"42", 42},          {" -7 ", -7},          {"+3", 3},           {"$FF", 255},
      {"0x1f", 31},        {"0X10", 16},          {"-$10", -16},       {"$FFFFFFFF", -1},
      {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
      {"", std::nullopt},  {"  ", std::nullopt},  {"abc", std::nullopt}, {"1 2", std::nullopt},
      {"$", std::nullopt}, {"0x", std::nullopt},  {"$100000000", std::nullopt}, {"12.5", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    int value = 0;
    EXPECT_EQ(tryStrToInt(text, value), expected.has_value()) << '"' << text << '"';
    if (expected) {
      EXPECT_EQ(value, *expected) << text;
      EXPECT_EQ(strToInt(text), *expected) << text;
    }
  }
  try {
    strToInt(" x1");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "' x1' is not a valid integer value");
  }
}

TEST(FileText, Utf8KeptOtherBytesAsWindows1252) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"Caf\xE9", "Caf\xC3\xA9"},
      {"\x80\x81\x9F", "\xE2\x82\xAC\xC2\x81\xC5\xB8"},
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},          // overlong slash is no UTF-8
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // surrogate is no UTF-8
      {"\xC3", "\xC3\x83"},                      // cut short
  };
  for (const auto& [bytes, expected] : cases) {
    EXPECT_EQ(decodeFileText(bytes), expected);
    EXPECT_TRUE(isValidUtf8(decodeFileText(bytes)));
  }
}

TEST(PathText, NamesAndJoins) {
  EXPECT_EQ(extractFileName("Instruments_Brantic\\P@ASI.exe"), "P@ASI.exe");
  EXPECT_EQ(extractFileName("/a/b.c/d"), "d");
  EXPECT_EQ(extractFileName("plain"), "plain");
  EXPECT_EQ(extractFileExt("/a/b.c/d"), "");
  EXPECT_EQ(extractFileExt("x\\P@ASI.exe"), ".exe");
  EXPECT_EQ(extractFileExt("archive.tar.gz"), ".gz");
#ifdef _WIN32
  EXPECT_EQ(joinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(joinPath("C:\\a\\", "b"), "C:\\a\\b");
  EXPECT_EQ(toHostPath("Instruments_Brantic\\P@ASI.exe"), "Instruments_Brantic\\P@ASI.exe");
#else
  EXPECT_EQ(joinPath("/a", "b"), "/a/b");
  EXPECT_EQ(joinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(toHostPath("Instruments_Brantic\\P@ASI.exe"), "Instruments_Brantic/P@ASI.exe");
#endif
  EXPECT_EQ(sameTextIgnoreCase("Config", "cONFIG"), true);
  EXPECT_EQ(sameTextIgnoreCase("Config", "Config "), false);
  EXPECT_EQ(trim(" \t a b \r\n"), "a b");
}

TEST(Entries, MatchingNamesOnly) {
  TempDir dir;
  dir.write("one.ini", "");
  dir.write("TWO.INI", "");
  dir.write("three.cfg", "");
  std::vector<std::string> names = listEntries(dir.str(), "*.ini");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"TWO.INI", "one.ini"}));
  EXPECT_TRUE(listEntries(dir.file("missing"), "*").empty());
}

TEST(AtomicWrite, ReplacesWholeFileKeepingMode) {
  TempDir dir;
  dir.write("f", "old contents that are longer");
  ::chmod(dir.file("f").c_str(), 0640);
  writeFileAtomic(dir.file("f"), "new");
  EXPECT_EQ(dir.read("f"), "new");
#ifndef _WIN32  // Windows files have no mode bits beyond read-only
  struct stat st;
  ASSERT_EQ(::stat(dir.file("f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
  EXPECT_EQ(dir.names(), std::vector<std::string>{"f"});
}

// Making a symbolic link on Windows takes a right users do not have by default.
#ifndef _WIN32
TEST(AtomicWrite, LinkIsWrittenThrough) {
  TempDir dir;
  dir.write("real", "old");
  std::filesystem::create_symlink(dir.file("real"), dir.file("link"));
  writeFileAtomic(dir.file("link"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
  EXPECT_EQ(dir.read("real"), "new");
}

TEST(AtomicWrite, LinkChainsAndLinksToMissingFilesAreWrittenThrough) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("sub"));
  dir.write("sub/real", "old");
  std::filesystem::create_symlink("sub/real", dir.file("hop"));  // relative to its folder
  std::filesystem::create_symlink("hop", dir.file("link"));
  writeFileAtomic(dir.file("link"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("hop")));
  EXPECT_EQ(dir.read("sub/real"), "new");

  std::filesystem::create_symlink("sub/later", dir.file("dangling"));
  writeFileAtomic(dir.file("dangling"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling")));
  EXPECT_EQ(dir.read("sub/later"), "made");

  std::filesystem::create_symlink("loop", dir.file("loop"));
  EXPECT_THROW(writeFileAtomic(dir.file("loop"), "x"), Error);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("loop")));
}
#endif

TEST(AtomicWrite, ReadOnlyFileIsNotReplaced) {
  // Also as root: a file without any write permission stands for a read-only file.
#ifdef _WIN32
  for (const int mode : {0444}) {  // the read-only attribute
#else
  for (const mode_t mode : {0444u, 0400u, 0555u}) {
#endif
    TempDir dir;
    dir.write("f", "old");
    ::chmod(dir.file("f").c_str(), mode);
    try {
      writeFileAtomic(dir.file("f"), "new");
      ADD_FAILURE() << "read-only file " << std::oct << mode << " replaced";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), ("Unable to write to " + dir.file("f")).c_str());
    }
    EXPECT_EQ(dir.read("f"), "old");
#ifndef _WIN32
    struct stat st;
    ASSERT_EQ(::stat(dir.file("f").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, mode);
#endif
    EXPECT_EQ(dir.names(), std::vector<std::string>{"f"});
    ::chmod(dir.file("f").c_str(), 0644);
  }
}

TEST(AtomicWrite, FailureLeavesOldDataAndNoTemporaryFile) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("target"));
  dir.write("target/kept", "old");
  EXPECT_THROW(writeFileAtomic(dir.file("target"), "new"), Error);
  EXPECT_EQ(dir.read("target/kept"), "old");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"target"});

  const std::string missing = dir.file("nowhere") + "/f";
  try {
    writeFileAtomic(missing, "x");
    FAIL() << "write into a missing folder succeeded";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), ("Unable to write to " + missing).c_str());
  }
  EXPECT_EQ(dir.names(), std::vector<std::string>{"target"});
}

TEST(ReadBytes, WholeFileOrFalse) {
  TempDir dir;
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  dir.write("b", big);
  std::string bytes = "unchanged";
  ASSERT_TRUE(readFileBytes(dir.file("b"), bytes));
  EXPECT_EQ(bytes, big);
  bytes = "unchanged";
  EXPECT_FALSE(readFileBytes(dir.file("missing"), bytes));
  EXPECT_FALSE(readFileBytes(dir.str(), bytes));
  EXPECT_EQ(bytes, "unchanged");
}

}  // namespace
}  // namespace vantrel
