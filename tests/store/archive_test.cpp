#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "platform/Text.h"

#include "platform/Error.h"
#include "store/Archive.h"
#include "store/PanelExchange.h"
#include "support/ArchiveBytes.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

// The files of a panel folder as an export finds them: five that count, one empty file and
// a subfolder that is not part of a panel.
struct PanelFolderFixture {
  TempDir dir;
  fs::path folder;
  PanelFolderFixture() : folder(dir.path() / "Panel_Cessna 172") {
    dir.write("Panel_Cessna 172/Cessna 172.ini", "[Config]\r\nPanelName=Cessna 172\r\n");
    dir.write("Panel_Cessna 172/Cessna 172.cfg",
              "\"ASI\",\"47000\",\"Instruments_Brantic\\P@ASI.exe\",\"Y\",\"224.11.5.62\",\"45000\",\"1\",\"1\"\r\n");
    dir.write("Panel_Cessna 172/Scrimlay.ini", "[Settings]\r\nColor=0\r\n");
    dir.write("Panel_Cessna 172/P@ASI_1.ini", "[Position]\r\nLeft=10\r\n");
    std::string picture(70000, '\0');
    std::mt19937 random(7);
    for (char& c : picture) c = static_cast<char>(random());
    dir.write("Panel_Cessna 172/ScrimlayImage.png", picture);
    dir.write("Panel_Cessna 172/empty.txt", "");
    dir.write("Panel_Cessna 172/sub/inner.txt", "inner");
  }
  // The non-empty top-level files in the enumeration's order.
  std::vector<std::string> topFiles() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
      if (e.is_regular_file() && e.file_size() > 0) out.push_back(e.path().filename().string());
    return out;
  }
};

TEST(ArchivePack, RecordsAreByteExactAndDecodeWithPlainZlib) {
  PanelFolderFixture f;
  const std::string archive = packFolderBytes(f.folder.string(), false);
  const auto recs = rawRecords(archive);
  std::vector<std::string> names;
  for (const RawRecord& r : recs) {
    names.push_back(r.name);
    const std::string bytes = readFile(f.folder / r.name);
    EXPECT_EQ(r.folder, "") << r.name;
    EXPECT_EQ(r.size, bytes.size()) << r.name;
    EXPECT_EQ(zInflate(r.data, r.size), bytes) << r.name;
    // Default level, window 15, memory level 8, default strategy: what compress2 makes.
    EXPECT_EQ(r.data, zDeflate(bytes)) << r.name;
  }
  EXPECT_EQ(names, f.topFiles()) << "directory order, no empty file, no subfolder";
  EXPECT_EQ(recs.size(), 5u);

  // The header of the first record, byte for byte.
  const std::string first = recs[0].name;
  const std::string bytes = readFile(f.folder / first);
  std::string header;
  header += '\0';
  header += static_cast<char>(first.size());
  header += first;
  put32(header, static_cast<std::uint32_t>(bytes.size()));
  put32(header, recs[0].compressed);
  EXPECT_EQ(archive.substr(0, header.size()), header);
}

TEST(ArchivePack, RecursingStoresSubfolderPathsEndingInABackslash) {
  PanelFolderFixture f;
  bool seen = false;
  for (const RawRecord& r : rawRecords(packFolderBytes(f.folder.string(), true))) {
    if (r.name != "inner.txt") continue;
    seen = true;
    EXPECT_EQ(r.folder, "sub\\");
    EXPECT_EQ(zInflate(r.data, r.size), "inner");
  }
  EXPECT_TRUE(seen);
}

TEST(ArchivePack, NamesAreCutTo255BytesOnACharacterBoundary) {
  const auto plain = rawRecords(archiveRecord(std::string(300, 'p'), std::string(300, 'n'), "x"));
  EXPECT_EQ(plain[0].folder, std::string(255, 'p'));
  EXPECT_EQ(plain[0].name, std::string(255, 'n'));
  // 254 ASCII bytes then a two-byte character: the character does not fit and goes whole.
  const auto wide = rawRecords(archiveRecord("", std::string(254, 'n') + "\xC3\xA9" + "z", "x"));
#ifdef _WIN32
  // In the ANSI code page the character may take one byte, and then it fits.
  const std::string expected = encodeFileText(std::string(254, 'n') + "\xC3\xA9");
  EXPECT_EQ(wide[0].name, expected.size() <= 255 ? expected : std::string(254, 'n'));
#else
  EXPECT_EQ(wide[0].name, std::string(254, 'n'));
#endif
}

TEST(ArchivePack, ReplacesTheArchiveAndNeverPacksItIntoItself) {
  PanelFolderFixture f;
  const fs::path archive = f.folder / "Cessna 172.vnx";
  writeFile(archive, "old archive");
  packFolder(f.folder.string(), false, archive.string());
  std::vector<std::string> names;
  for (const RawRecord& r : rawRecords(readFile(archive))) names.push_back(r.name);
  EXPECT_EQ(std::count(names.begin(), names.end(), "Cessna 172.vnx"), 0);
  EXPECT_EQ(names.size(), 5u);
}

TEST(ArchiveUnpack, RoundTripGivesTheNonEmptyFilesAndStoredSubfolders) {
  PanelFolderFixture f;
  const fs::path archive = f.dir.path() / "a.vnx";
  packFolder(f.folder.string(), true, archive.string());
  const fs::path target = f.dir.path() / "out";
  unpackArchive(archive.string(), target.string(), true, true);
  auto expected = snapshot(f.folder);
  expected.erase("empty.txt");
  EXPECT_EQ(snapshot(target), expected);

  // Without stored paths the subfolder's file lands in the target itself.
  const fs::path flat = f.dir.path() / "flat";
  unpackArchive(archive.string(), flat.string(), true, false);
  EXPECT_EQ(readFile(flat / "inner.txt"), "inner");
  EXPECT_FALSE(fs::exists(flat / "sub"));
}

TEST(ArchiveUnpack, FilesOfEverySizeComeOutWholeAndOneByteTooManyIsRefused) {
  // Sizes about the output pieces the unpacker uses (64 KiB up to 1 MiB), small after large
  // and large after small, in one archive.
  const std::size_t sizes[] = {1, 65535, 65536, 65537, 1, 1048575, 1048576, 1048577, 3145733, 2};
  std::mt19937 random(11);
  TempDir dir;
  std::string archive;
  std::vector<std::string> contents;
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    std::string bytes(sizes[i], '\0');
    // Half random, half runs, so some streams are tiny next to what they give.
    for (std::size_t k = 0; k < bytes.size(); ++k)
      bytes[k] = k < bytes.size() / 2 ? static_cast<char>(random()) : 'r';
    contents.push_back(bytes);
    archive += goodRecord("", "f" + std::to_string(i) + ".bin", bytes);
  }
  dir.write("all.vnx", archive);
  unpackArchive(dir.file("all.vnx"), dir.file("out"), true, true);
  for (std::size_t i = 0; i < contents.size(); ++i)
    EXPECT_TRUE(readFile(dir.path() / "out" / ("f" + std::to_string(i) + ".bin")) == contents[i])
        << "file of " << sizes[i] << " bytes";

  // A record that gives one byte more than it declares is damage, whatever its size.
  for (const std::size_t size : {std::size_t{1}, std::size_t{65536}, std::size_t{1048576}, std::size_t{1048577}}) {
    dir.write("long.vnx", rawRecord("", "x.bin", static_cast<std::uint32_t>(size - 1),
                                    zDeflate(std::string(size, 'z'))));
    try {
      unpackArchive(dir.file("long.vnx"), dir.file("long"), true, true);
      ADD_FAILURE() << "a record of " << size << " bytes declared one short was taken";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "zlib returned: data error") << size;
    }
  }
}

TEST(ArchiveUnpack, OverwriteDecidesWhetherAnExistingFileIsReplaced) {
  TempDir dir;
  const std::string archive = dir.write("a.vnx", goodRecord("", "x.ini", "new"));
  dir.write("out/x.ini", "old");
  unpackArchive(archive, dir.file("out"), false, true);
  EXPECT_EQ(dir.read("out/x.ini"), "old");
  unpackArchive(archive, dir.file("out"), true, true);
  EXPECT_EQ(dir.read("out/x.ini"), "new");
}

TEST(ArchiveUnpack, EmptyArchiveCreatesNothingAndWindowsNamesAreDecoded) {
  TempDir dir;
  unpackArchive(dir.write("empty.vnx", ""), dir.file("out"), true, true);
  EXPECT_FALSE(dir.exists("out"));

  // A name in the Windows code page (e9 is an e with an acute accent there).
  unpackArchive(dir.write("w.vnx", goodRecord("", "Caf\xE9.ini", "x")), dir.file("out"), true, true);
  EXPECT_EQ(dir.read("out/Caf\xC3\xA9.ini"), "x");
}

TEST(ArchiveUnpack, ArchiveThatCannotBeOpenedNamesTheFileAndTheReason) {
  TempDir dir;
  const std::string missing = dir.file("gone.vnx");
  try {
    unpackArchive(missing, dir.file("out"), true, true);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing + "\". No such file or directory");
  }
  EXPECT_FALSE(dir.exists("out"));
}

// --- hostile and damaged archives, imported into a data folder that holds panel A -------

struct HostileCase {
  std::string what;
  std::string archive;  // appended to a sound first record holding the list file
  std::string message;  // empty: any error
};
void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.what; }

std::string cfgRecord() { return goodRecord("", "Evil.cfg", "\"ASI\",\"47000\",\"x\",\"Y\",\"\",\"\",\"1\",\"1\"\r\n"); }

std::string bomb() {
  const std::string zeros(2 * 1024 * 1024, '\0');
  return rawRecord("", "bomb.ini", 1000, zDeflate(zeros));
}

std::string truncatedData() {
  const std::string r = goodRecord("", "x.ini", std::string(5000, 'x') + "tail");
  return r.substr(0, r.size() - 3);
}

std::string randomBytes() {
  std::mt19937 random(42);
  std::string out(4096, '\0');
  for (char& c : out) c = static_cast<char>(random());
  return out;
}

std::string flippedStream() {
  std::string data = zDeflate(std::string(2000, 'a') + "b");
  data[0] = 0x79;  // not a zlib header
  return rawRecord("", "x.ini", 2001, data);
}

const std::string kDataError = "zlib returned: data error";

class HostileImport : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileImport, IsRefusedAndLeavesEverythingAsItWas) {
  const HostileCase& c = GetParam();
  TempDir root;
  const fs::path data = root.path() / "data";
  fs::create_directories(data / "Panel_A");
  writeFile(data / "Panel_A" / "A.cfg", "");
  const std::string archive = (root.path() / "Evil.vnx").string();
  writeFile(archive, cfgRecord() + c.archive);
  const auto before = snapshot(root.path());
  try {
    importPanel(data.string(), archive);
    FAIL() << "imported";
  } catch (const Error& e) {
    if (!c.message.empty()) EXPECT_EQ(std::string(e.what()), c.message);
  }
  // Nothing inside or beside the data folder: no panel, no temporary folder, no stray file.
  EXPECT_EQ(snapshot(root.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileImport,
    ::testing::Values(
        HostileCase{"ParentBackslash", goodRecord("..\\", "x.ini", "x"), unsafeRecordMessage("..\\", "x.ini")},
        HostileCase{"ParentSlash", goodRecord("../", "x.ini", "x"), unsafeRecordMessage("../", "x.ini")},
        HostileCase{"ParentDeep", goodRecord("sub\\..\\..\\", "x.ini", "x"), unsafeRecordMessage("sub\\..\\..\\", "x.ini")},
        HostileCase{"ParentInName", goodRecord("", "..\\x.ini", "x"), unsafeRecordMessage("", "..\\x.ini")},
        HostileCase{"SlashInName", goodRecord("", "sub/x.ini", "x"), unsafeRecordMessage("", "sub/x.ini")},
        HostileCase{"NameIsParent", goodRecord("", "..", "x"), unsafeRecordMessage("", "..")},
        HostileCase{"AbsoluteSlash", goodRecord("/tmp/", "x.ini", "x"), unsafeRecordMessage("/tmp/", "x.ini")},
        HostileCase{"AbsoluteBackslash", goodRecord("\\\\server\\share\\", "x.ini", "x"),
                    unsafeRecordMessage("\\\\server\\share\\", "x.ini")},
        HostileCase{"DriveLetter", goodRecord("C:\\Windows\\", "x.ini", "x"), unsafeRecordMessage("C:\\Windows\\", "x.ini")},
        HostileCase{"DriveInName", goodRecord("", "C:x.ini", "x"), unsafeRecordMessage("", "C:x.ini")},
        HostileCase{"DotsAndBlanks", goodRecord(".. \\", "x.ini", "x"), unsafeRecordMessage(".. \\", "x.ini")},
        HostileCase{"DeviceName", goodRecord("", "NUL.ini", "x"), unsafeRecordMessage("", "NUL.ini")},
        HostileCase{"TruncatedHeader", goodRecord("", "x.ini", "x").substr(0, 7), kDataError},
        HostileCase{"TruncatedData", truncatedData(), kDataError},
        HostileCase{"SizeBeyondFile", rawRecord("", "x.ini", 1, "abc", 0x10000000u), kDataError},
        HostileCase{"NegativeSize", rawRecord("", "x.ini", 1, "abc", 0xFFFFFFF0u), kDataError},
        HostileCase{"InflatesBeyondStoredSize", bomb(), kDataError},
        HostileCase{"NotAZlibStream", flippedStream(), kDataError},
        HostileCase{"RandomBytes", randomBytes(), ""}),
    [](const auto& info) { return info.param.what; });

}  // namespace
}  // namespace vantrel::test
