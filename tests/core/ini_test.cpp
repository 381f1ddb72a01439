#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "support/TempDir.h"
#include "platform/Error.h"
#include "store/IniFile.h"

namespace vantrel {
namespace {

using test::TempDir;

struct WriteCase {
  const char* name;
  std::optional<std::string> before;  // nullopt: no file yet
  std::string section, key, value;
  std::string after;
};

// Readable in the test output.
void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyTheKeyLine) {
  const WriteCase& c = GetParam();
  TempDir dir;
  if (c.before) dir.write("f.ini", *c.before);
  IniFile ini(dir.file("f.ini"));
  ini.writeString(c.section, c.key, c.value);
  EXPECT_EQ(dir.read("f.ini"), c.after);
  EXPECT_EQ(dir.names(), std::vector<std::string>{"f.ini"});  // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniWrite,
    ::testing::Values(
        WriteCase{"ReplaceInPlaceKeepsTheRest",
                  "; settings\n[Config]\nA=1\n\nOther = x ; keep\n[Next]\nA=2\n", "config", "a", "9",
                  "; settings\n[Config]\na=9\n\nOther = x ; keep\n[Next]\nA=2\n"},
        WriteCase{"AppendBeforeBlankLinesOfNextSection", "[Config]\r\nA=1\r\n\r\n[Next]\r\nB=2\r\n",
                  "Config", "C", "3", "[Config]\r\nA=1\r\nC=3\r\n\r\n[Next]\r\nB=2\r\n"},
        WriteCase{"NewSectionAfterLastLineWithoutBreak", "[Config]\nA=1", "Other", "K", "v",
                  "[Config]\nA=1\n[Other]\nK=v\n"},
        WriteCase{"NewFileUsesCrLf", std::nullopt, "Config", "K", "v", "[Config]\r\nK=v\r\n"},
        WriteCase{"EmptyFileUsesCrLf", "", "Config", "K", "v", "[Config]\r\nK=v\r\n"},
        WriteCase{"ReplacedLineKeepsItsOwnEnding", "[S]\r\nK=1\nJ=2\r\n", "S", "K", "5",
                  "[S]\r\nK=5\nJ=2\r\n"},
        WriteCase{"CrOnlyFile", "[S]\rA=1\rB=2", "S", "C", "3", "[S]\rA=1\rB=2\rC=3\r"},
        // Ended as the file's first line (a lone CR), the added line would take the blank
        // line after it into its own ending, and the blank line would be gone.
        WriteCase{"AddedLineEndsAsTheLineBeforeIt", "[S]\rA=1\n\n[T]\r", "S", "K", "v",
                  "[S]\rA=1\nK=v\n\n[T]\r"},
        WriteCase{"PaddedHeaderMatchesIgnoringCase", "  [ cOnFiG ]  \nX = 1\n", "Config", "x", "2",
                  "  [ cOnFiG ]  \nx=2\n"},
        WriteCase{"FirstMatchWins", "[S]\nK=1\nK=2\n[s]\nK=3\n", "S", "K", "9",
                  "[S]\nK=9\nK=2\n[s]\nK=3\n"},
        WriteCase{"CommentIsNoKey", "[S]\n;K=1\n", "S", "K", "2", "[S]\n;K=1\nK=2\n"},
        WriteCase{"KeysBeforeAnySectionBelongToNone", "K=1\n[S]\nJ=2\n", "S", "K", "3",
                  "K=1\n[S]\nJ=2\nK=3\n"},
        WriteCase{"HeaderOnlySection", "[S]\n[T]\nA=1\n", "S", "K", "v", "[S]\nK=v\n[T]\nA=1\n"},
        WriteCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "2",
                  "\xEF\xBB\xBF[S]\r\nK=2\r\n"},
        WriteCase{"ValueKeptAsGivenWithBlanks", "[S]\n", "S", "P", " pre ", "[S]\nP= pre \n"},
        // A line break in a value must not smuggle in sections or keys of its own.
        WriteCase{"LineBreakInValueStaysOnOneLine", "[S]\n", "S", "K", "a\r\n[T]\nX=1", "[S]\nK=a  [T] X=1\n"},
        // Lines the write does not touch keep their bytes, whatever their encoding; the new
        // line is UTF-8.
        WriteCase{"Windows1252LineKeptByteForByte", "[S]\nName=Caf\xE9\n", "S", "K", "1",
                  "[S]\nName=Caf\xE9\nK=1\n"},
        WriteCase{"MixedEncodingsKeptPerLine", "[S]\nA=Caf\xC3\xA9\nB=Caf\xE9\n[T]\nC=\xC3\xA9t\xC3\xA9\n",
                  "S", "B", "No\xC3\xABl",
#ifdef _WIN32  // the written line is in the ANSI code page, Windows-1252 where the tests run
                  "[S]\nA=Caf\xC3\xA9\nB=No\xEBl\n[T]\nC=\xC3\xA9t\xC3\xA9\n"},
#else
                  "[S]\nA=Caf\xC3\xA9\nB=No\xC3\xABl\n[T]\nC=\xC3\xA9t\xC3\xA9\n"},
#endif
        // Only the first of two sections of one name is written, as it is the only one read.
        WriteCase{"DuplicateSectionAppendsToFirst", "[S]\nA=1\n[T]\nX=1\n[s]\nK=3\n", "S", "K", "9",
                  "[S]\nA=1\nK=9\n[T]\nX=1\n[s]\nK=3\n"},
        WriteCase{"DuplicateSectionReplacesInFirst", "[S]\nK=1\n[S]\nK=2\n", "S", "K", "9",
                  "[S]\nK=9\n[S]\nK=2\n"},
        WriteCase{"NulEndsWrittenValue", "[S]\n", "S", "K", std::string("ab\0cd", 5), "[S]\nK=ab\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniRead, OddValues) {
  TempDir dir;
  dir.write("f.ini",
            "[Config]\r\n"
            "Padded =   spaced value \t\r\n"
            "Dq=\"  quoted \"\r\n"
            "Sq=' single '\r\n"
            "Mixed=\"odd'\r\n"
            "Lone=\"\r\n"
            "Empty=\r\n"
            "Eq=a=b\r\n"
            "Key With Space = v\r\n"
            "Text=Caf\xC3\xA9\r\n");
  const IniFile ini(dir.file("f.ini"));
  const std::pair<const char*, const char*> cases[] = {
      {"Padded", "spaced value"}, {"Dq", "  quoted "}, {"Sq", " single "}, {"Mixed", "\"odd'"},
      {"Lone", "\""},             {"Empty", ""},       {"Eq", "a=b"},     {"KEY WITH SPACE", "v"},
      {"Text", "Caf\xC3\xA9"},    {"Missing", "dflt"},
  };
  for (const auto& [key, expected] : cases) EXPECT_EQ(ini.readString("CONFIG", key, "dflt"), expected) << key;
  EXPECT_TRUE(ini.keyExists("config", "empty"));
  EXPECT_FALSE(ini.keyExists("config", "missing"));
  EXPECT_FALSE(ini.keyExists("Other", "Padded"));
}

TEST(IniRead, EncodingIsDecidedPerLine) {
  TempDir dir;
  dir.write("f.ini", "[S]\nUtf=Caf\xC3\xA9\nAnsi=Caf\xE9\n");
  const IniFile ini(dir.file("f.ini"));
  EXPECT_EQ(ini.readString("S", "Utf", ""), "Caf\xC3\xA9");
  EXPECT_EQ(ini.readString("S", "Ansi", ""), "Caf\xC3\xA9");
}

TEST(IniRead, OnlyTheFirstSectionOfANameCounts) {
  TempDir dir;
  dir.write("f.ini", "[S]\nA=1\n[T]\nB=2\n[s]\nA=3\nK=4\n");
  const IniFile ini(dir.file("f.ini"));
  EXPECT_EQ(ini.readString("S", "A", "d"), "1");
  EXPECT_EQ(ini.readString("S", "K", "d"), "d");
  EXPECT_FALSE(ini.keyExists("S", "K"));
  EXPECT_EQ(ini.readString("T", "B", "d"), "2");
}

TEST(IniRead, ValueEndsAtNul) {
  TempDir dir;
  dir.write("f.ini", std::string("[S]\nK=a.exe\0/../../x\nQ=\"q\"\0tail\nJ=2\n", 36));
  const IniFile ini(dir.file("f.ini"));
  EXPECT_EQ(ini.readString("S", "K", "d"), "a.exe");
  EXPECT_EQ(ini.readString("S", "Q", "d"), "q");
  EXPECT_EQ(ini.readString("S", "J", "d"), "2");
}

TEST(IniRead, LongValueIsCutAtWholeCharacters) {
  TempDir dir;
  const std::string ascii(3000, 'x');
  std::string accented;
  for (int i = 0; i < 3000; ++i) accented += "\xC3\xA9";
  dir.write("f.ini", "[S]\nA=" + ascii + "\nB=" + accented + "\n");
  const IniFile ini(dir.file("f.ini"));
  EXPECT_EQ(ini.readString("S", "A", ""), std::string(2047, 'x'));
  EXPECT_EQ(ini.readString("S", "B", ""), accented.substr(0, 2 * 2047));
}

TEST(IniRead, MissingFileGivesDefaultsAndIsNotCreated) {
  TempDir dir;
  const IniFile ini(dir.file("none.ini"), FlagStyle::YesNo);
  EXPECT_EQ(ini.readString("S", "K", "d"), "d");
  EXPECT_EQ(ini.readInteger("S", "K", 7), 7);
  EXPECT_TRUE(ini.readBool("S", "K", true));
  EXPECT_FALSE(ini.keyExists("S", "K"));
  EXPECT_FALSE(dir.exists("none.ini"));
}

TEST(IniRead, Windows1252BytesReadAsUtf8) {
  TempDir dir;
  dir.write("f.ini", "[S]\nName=Caf\xE9 \x80 \x93x\x94\n");
  EXPECT_EQ(IniFile(dir.file("f.ini")).readString("S", "Name", ""),
            "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
}

TEST(IniInteger, ProfileRule) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"0x3A98", 15000},     {"0X10", 16},          {"0x", std::nullopt},   {"0xFFFFFFFF", -1},
      {"0x1G", std::nullopt}, {"-5", -5},            {"+7", 7},              {" 42 ", 42},
      {"abc", std::nullopt},  {"12abc", std::nullopt}, {"", std::nullopt},   {"-", std::nullopt},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
      {"0x100000000", std::nullopt}, {"0x1FFFFFFFF", std::nullopt}, {"0x00000000FFFFFFFF", -1},
      {"99999999999", std::nullopt}, {"-0x10", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    std::int32_t value = 12345;
    const bool ok = parseProfileInteger(text, value);
    EXPECT_EQ(ok, expected.has_value()) << '"' << text << '"';
    if (ok && expected) EXPECT_EQ(value, *expected) << '"' << text << '"';
  }
}

TEST(IniInteger, ReadGivesDefaultForNonIntegerAndWritesDecimal) {
  TempDir dir;
  dir.write("f.ini", "[S]\nHex=0x3A98\nBad=abc\nQuoted=\"12\"\n");
  IniFile ini(dir.file("f.ini"));
  EXPECT_EQ(ini.readInteger("S", "Hex", 1), 15000);
  dir.write("g.ini", "[S]\nWide=0x100000000\n");
  EXPECT_EQ(IniFile(dir.file("g.ini")).readInteger("S", "Wide", 7), 7);
  EXPECT_EQ(ini.readInteger("S", "Bad", 1), 1);
  EXPECT_EQ(ini.readInteger("S", "Quoted", 1), 12);
  ini.writeInteger("S", "Hex", -15000);
  EXPECT_EQ(dir.read("f.ini"), "[S]\nHex=-15000\nBad=abc\nQuoted=\"12\"\n");
}

TEST(IniFlags, ReadPerStyle) {
  struct Case {
    FlagStyle style;
    std::optional<std::string> stored;
    bool defaultValue, expected;
  };
  const Case cases[] = {
      {FlagStyle::YesNo, "yes", false, true},      {FlagStyle::YesNo, "Yes", true, false},
      {FlagStyle::YesNo, "1", true, false},        {FlagStyle::YesNo, "", true, false},
      {FlagStyle::YesNo, std::nullopt, true, true},
      {FlagStyle::OneZero, "1", false, true},      {FlagStyle::OneZero, "-3", false, true},
      {FlagStyle::OneZero, "0", true, false},      {FlagStyle::OneZero, "true", false, false},
      {FlagStyle::OneZero, "false", true, true},   {FlagStyle::OneZero, std::nullopt, true, true},
      {FlagStyle::TrueFalse, "TRUE", false, true}, {FlagStyle::TrueFalse, "false", true, false},
      {FlagStyle::TrueFalse, "1", true, true},     {FlagStyle::TrueFalse, "1", false, false},
  };
  TempDir dir;
  for (const Case& c : cases) {
    dir.write("f.ini", c.stored ? "[S]\nF=" + *c.stored + "\n" : "[S]\n");
    EXPECT_EQ(IniFile(dir.file("f.ini"), c.style).readBool("S", "F", c.defaultValue), c.expected)
        << static_cast<int>(c.style) << " " << c.stored.value_or("(missing)") << " default "
        << c.defaultValue;
  }
}

TEST(IniFlags, WritePerStyle) {
  const std::pair<FlagStyle, std::string> cases[] = {
      {FlagStyle::YesNo, "[S]\r\nT=yes\r\nF=no\r\n"},
      {FlagStyle::OneZero, "[S]\r\nT=1\r\nF=0\r\n"},
      {FlagStyle::TrueFalse, "[S]\r\nT=True\r\nF=False\r\n"},
  };
  for (const auto& [style, expected] : cases) {
    TempDir dir;
    IniFile ini(dir.file("f.ini"), style);
    ini.writeBool("S", "T", true);
    ini.writeBool("S", "F", false);
    EXPECT_EQ(dir.read("f.ini"), expected);
  }
}

TEST(IniWriteFailure, MissingFolderIsNotCreated) {
  TempDir dir;
  const std::string path = dir.file("gone") + "/f.ini";
  IniFile ini(path);
  try {
    ini.writeString("S", "K", "v");
    FAIL() << "write into a missing folder succeeded";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), ("Unable to write to " + path).c_str());
  }
  EXPECT_FALSE(dir.exists("gone"));
}

TEST(IniWriteFailure, ReadOnlyFileIsLeftAlone) {
  TempDir dir;
  dir.write("f.ini", "[S]\r\nK=1\r\n");
  std::filesystem::permissions(dir.file("f.ini"), std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::group_read);
  IniFile ini(dir.file("f.ini"));
  try {
    ini.writeString("S", "K", "2");
    FAIL() << "read-only file replaced";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), ("Unable to write to " + dir.file("f.ini")).c_str());
  }
  EXPECT_EQ(ini.readString("S", "K", ""), "1");
  std::filesystem::permissions(dir.file("f.ini"), std::filesystem::perms::owner_all);
}

TEST(IniWriteFailure, UnreadableTargetIsLeftAlone) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("f.ini"));
  dir.write("f.ini/inside", "data");
  IniFile ini(dir.file("f.ini"));
  EXPECT_THROW(ini.writeString("S", "K", "v"), Error);
  EXPECT_EQ(dir.read("f.ini/inside"), "data");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"f.ini"});
}

}  // namespace
}  // namespace vantrel
