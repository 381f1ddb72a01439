#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "support/TempDir.h"

namespace vantrel::test {

namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
  return v;
}

}  // namespace

std::vector<RawRecord> rawRecords(const std::string& archive) {
  std::vector<RawRecord> out;
  std::size_t at = 0;
  while (at < archive.size()) {
    RawRecord r;
    const std::size_t p = static_cast<unsigned char>(archive.at(at));
    r.folder = archive.substr(at + 1, p);
    const std::size_t n = static_cast<unsigned char>(archive.at(at + 1 + p));
    r.name = archive.substr(at + 2 + p, n);
    r.size = le32(archive, at + 2 + p + n);
    r.compressed = le32(archive, at + 6 + p + n);
    r.data = archive.substr(at + 10 + p + n, r.compressed);
    EXPECT_EQ(r.data.size(), r.compressed) << "record runs past the end";
    at += 10 + p + n + r.compressed;
    out.push_back(r);
  }
  return out;
}

std::string zInflate(const std::string& data, std::size_t size) {
  std::string out(size, '\0');
  uLongf len = static_cast<uLongf>(size);
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &len,
                       reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size())),
            Z_OK);
  out.resize(len);
  return out;
}

std::string zDeflate(const std::string& bytes) {
  std::string out(compressBound(static_cast<uLong>(bytes.size())), '\0');
  uLongf len = static_cast<uLongf>(out.size());
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &len,
                      reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                      Z_DEFAULT_COMPRESSION),
            Z_OK);
  out.resize(len);
  return out;
}

void put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string rawRecord(const std::string& folder, const std::string& name, std::uint32_t size,
                      const std::string& data, std::optional<std::uint32_t> compressed) {
  std::string r;
  r += static_cast<char>(folder.size());
  r += folder;
  r += static_cast<char>(name.size());
  r += name;
  put32(r, size);
  put32(r, compressed.value_or(static_cast<std::uint32_t>(data.size())));
  return r + data;
}

std::string goodRecord(const std::string& folder, const std::string& name, const std::string& bytes) {
  return rawRecord(folder, name, static_cast<std::uint32_t>(bytes.size()), zDeflate(bytes));
}

std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
  std::map<std::string, std::string> out;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
    const std::string rel = std::filesystem::relative(e.path(), root).string();
    out[rel] = e.is_directory() ? "<folder>" : readFile(e.path());
  }
  return out;
}

}  // namespace vantrel::test
