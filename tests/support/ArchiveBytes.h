#pragma once
// Archive bytes read and made by hand, with zlib called directly, so tests do not check the
// program's archive code against itself.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::test {

struct RawRecord {
  std::string folder, name;
  std::uint32_t size = 0, compressed = 0;
  std::string data;
};

// The records of an archive as its bytes say.
std::vector<RawRecord> rawRecords(const std::string& archive);
// zlib's one-call decoder and encoder (default level, window 15, memory level 8).
std::string zInflate(const std::string& data, std::size_t size);
std::string zDeflate(const std::string& bytes);
void put32(std::string& out, std::uint32_t v);
// A record with the given sizes, which may lie.
std::string rawRecord(const std::string& folder, const std::string& name, std::uint32_t size,
                      const std::string& data, std::optional<std::uint32_t> compressed = {});
// A sound record of bytes.
std::string goodRecord(const std::string& folder, const std::string& name, const std::string& bytes);
// Every file and folder below root with its bytes ("<folder>" for a folder).
std::map<std::string, std::string> snapshot(const std::filesystem::path& root);

}  // namespace vantrel::test
