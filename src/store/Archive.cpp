#include "store/Archive.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace vantrel {

namespace {

namespace fs = std::filesystem;

// Output pieces while inflating; the size is not visible in any file. Large, because zlib
// copies the end of every piece into its window; a record that holds less gets a piece
// just large enough to see that it gives more than it declared (no smaller than kMinPiece).
constexpr std::size_t kPiece = 1024 * 1024;
constexpr std::size_t kMinPiece = 64 * 1024;
constexpr std::size_t kMaxText = 255;

// A host path as it is, backslashes included (names from an enumeration are taken whole).
fs::path hostFs(const std::string& host) { return fs::path(std::u8string(host.begin(), host.end())); }

Error zlibError(int code) {
  switch (code) {
    case Z_DATA_ERROR:
    case Z_NEED_DICT:
      return Error("zlib returned: data error");
    case Z_BUF_ERROR:
      return Error("zlib returned: buffer error");
    case Z_MEM_ERROR:
      return Error("zlib returned: memory error");
    default:
      return Error("zlib returned: Stream error");
  }
}

Error damaged() { return zlibError(Z_DATA_ERROR); }

// The first 255 bytes at most, never ending inside a UTF-8 character.
std::string cutText(const std::string& s) {
  if (s.size() <= kMaxText) return s;
  std::size_t n = kMaxText;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}

// A text as the archive holds it: the host's 8-bit text, cut to what fits without splitting
// a character.
std::string storedText(const std::string& text) {
  std::string stored = encodeFileText(text);
  if (stored == text) return cutText(text);
  std::size_t end = text.size();
  while (stored.size() > kMaxText && end > 0) {
    do --end;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80);
    stored = encodeFileText(text.substr(0, end));
  }
  return stored;
}

void putInt32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// One deflate stream, reset for every file: the same output as a fresh stream per file,
// without setting up its tables again each time.
class Deflater {
 public:
  Deflater() {
    const int rc = deflateInit2(&zs_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK) throw zlibError(rc);
  }
  ~Deflater() { deflateEnd(&zs_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // Appends the record of the size bytes at contents to archive.
  void appendRecord(std::string& archive, const std::string& folderPath, const std::string& name,
                    const char* contents, std::size_t size) {
    const std::string folder = storedText(folderPath);
    const std::string file = storedText(name);
    int rc = deflateReset(&zs_);
    if (rc != Z_OK) throw zlibError(rc);
    // The scratch buffer only grows, so a run of files is not zero-filled over and over.
    const std::size_t bound = deflateBound(&zs_, static_cast<uLong>(size));
    if (scratch_.size() < bound) scratch_.resize(bound);
    zs_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(contents));
    zs_.avail_in = static_cast<uInt>(size);
    zs_.next_out = reinterpret_cast<Bytef*>(scratch_.data());
    zs_.avail_out = static_cast<uInt>(bound);
    rc = deflate(&zs_, Z_FINISH);
    if (rc != Z_STREAM_END) throw zlibError(rc);
    const std::size_t produced = zs_.total_out;

    archive += static_cast<char>(folder.size());
    archive += folder;
    archive += static_cast<char>(file.size());
    archive += file;
    putInt32(archive, static_cast<std::uint32_t>(size));
    putInt32(archive, static_cast<std::uint32_t>(produced));
    archive.append(scratch_.data(), produced);
  }

 private:
  z_stream zs_{};
  std::string scratch_;
};

struct Entry {
  std::string storedFolder, name, path;
  std::uintmax_t size = 0;
};

// The files to pack, in the enumeration's order, subfolders at the point they are met.
void collect(std::vector<Entry>& out, const std::string& folder, const std::string& storedFolder,
             bool recurse, const fs::path& skip) {
  for (const std::string& entry : listEntries(folder, "*.*")) {
    // The temporary file of a save is no part of what is packed.
    if (entry == "." || entry == ".." || isSaveTempName(entry)) continue;
    const std::string path = joinPath(folder, entry);
    std::error_code ec;
    const fs::path p = hostFs(path);
    if (fs::symlink_status(p, ec).type() == fs::file_type::directory) {
      if (recurse) collect(out, path, storedFolder + entry + "\\", recurse, skip);
      continue;
    }
    // Only regular files: a pipe or device would block or never end.
    if (!fs::is_regular_file(p, ec)) continue;
    if (!skip.empty() && fs::equivalent(p, skip, ec)) continue;
    const std::uintmax_t size = fs::file_size(p, ec);
    if (ec || size == 0) continue;
    out.push_back({storedFolder, entry, path, size});
  }
}

// Reads up to size bytes of a file into buffer, which is kept between files and only
// grows; the number of bytes read, or -1 when the file cannot be read.
std::ptrdiff_t readInto(const std::string& path, std::uintmax_t size, std::string& buffer) {
  std::ifstream in(hostFs(path), std::ios::binary);
  if (!in) return -1;
  if (buffer.size() < size) buffer.resize(static_cast<std::size_t>(size));
  in.read(buffer.data(), static_cast<std::streamsize>(size));
  if (in.bad()) return -1;
  return static_cast<std::ptrdiff_t>(in.gcount());
}

// Reads the archive in order; every length is checked against what is left of the file
// before anything is allocated for it.
class Reader {
 public:
  explicit Reader(const std::string& path) : path_(path) {
    // The size first: it fails for a folder or a pipe, which opening would not (or would
    // wait on forever).
    std::error_code ec;
    const fs::path p = hostFs(path);
    const auto size = fs::file_size(p, ec);
    if (ec) fail(ec.value());
    errno = 0;
    in_.open(p, std::ios::binary);
    if (!in_) fail(errno != 0 ? errno : EACCES);
    left_ = static_cast<std::uint64_t>(size);
  }
  bool atEnd() const { return left_ == 0; }
  // n bytes into the front of out, which is reused from record to record and only grows.
  void bytesInto(std::uint64_t n, std::string& out) {
    if (n > left_) throw damaged();
    if (out.size() < n) out.resize(static_cast<std::size_t>(n));
    if (n > 0 && !in_.read(out.data(), static_cast<std::streamsize>(n))) throw damaged();
    left_ -= n;
  }
  std::string bytes(std::uint64_t n) {
    std::string out;
    bytesInto(n, out);
    return out;
  }
  std::uint8_t byte() { return static_cast<std::uint8_t>(bytes(1)[0]); }
  std::uint32_t int32() {
    const std::string b = bytes(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[i]);
    return v;
  }

 private:
  [[noreturn]] void fail(int err) {
    throw Error("Cannot open file \"" + path_ + "\". " +
                std::error_code(err, std::generic_category()).message());
  }
  std::string path_;
  std::ifstream in_;
  std::uint64_t left_ = 0;
};

// Nothing but dots and blanks: Windows reads such a component as "." or "..".
bool onlyDots(const std::string& part) {
  if (part.find('.') == std::string::npos) return false;
  return part.find_first_not_of(". ") == std::string::npos;
}

bool hasForbidden(const std::string& text) {
  // A colon makes a drive ("C:") or a second stream of a file; a NUL cuts the path short.
  return text.find(':') != std::string::npos || text.find('\0') != std::string::npos;
}

// A Windows device name ("NUL", "com1.ini"): writing to it never reaches the folder.
bool isDeviceName(const std::string& part) {
  const std::string base = toLowerAscii(part.substr(0, part.find('.')));
  if (base == "con" || base == "prn" || base == "aux" || base == "nul") return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

// The folder path's parts, or false when the record would land outside the target.
bool safeParts(const std::string& folderPath, const std::string& name,
               std::vector<std::string>& parts) {
  if (hasForbidden(folderPath) || hasForbidden(name)) return false;
  if (!folderPath.empty() && (folderPath[0] == '\\' || folderPath[0] == '/')) return false;
  std::string part;
  for (std::size_t i = 0; i <= folderPath.size(); ++i) {
    if (i < folderPath.size() && folderPath[i] != '\\' && folderPath[i] != '/') {
      part += folderPath[i];
      continue;
    }
    if (onlyDots(part) && part != ".") return false;
    if (isDeviceName(part)) return false;
    if (!part.empty() && part != ".") parts.push_back(part);
    part.clear();
  }
  if (name.empty() || onlyDots(name) || isDeviceName(name)) return false;
  return name.find('\\') == std::string::npos && name.find('/') == std::string::npos;
}

// One inflate stream and one output piece, reset for every record.
class Inflater {
 public:
  Inflater() {
    const int rc = inflateInit2(&zs_, 15);
    if (rc != Z_OK) throw zlibError(rc);
  }
  ~Inflater() { inflateEnd(&zs_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  void inflateTo(const char* data, std::size_t size, std::uint32_t storedSize,
                 const std::string& path) {
    std::ofstream out(hostFs(path), std::ios::binary | std::ios::trunc);
    if (!out) throw writeError(path);
    int rc = inflateReset(&zs_);
    if (rc != Z_OK) throw zlibError(rc);
    zs_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    zs_.avail_in = static_cast<uInt>(size);
    // Only grows, from record to record; an archive of small files never maps a large one.
    const std::size_t want =
        std::min(kPiece, std::max(kMinPiece, static_cast<std::size_t>(storedSize) + 1));
    if (pieceSize_ < want) {
      piece_.reset(new char[want]);
      pieceSize_ = want;
    }
    std::uint64_t total = 0;
    for (;;) {
      zs_.next_out = reinterpret_cast<Bytef*>(piece_.get());
      zs_.avail_out = static_cast<uInt>(pieceSize_);
      rc = inflate(&zs_, Z_NO_FLUSH);
      const std::size_t produced = pieceSize_ - zs_.avail_out;
      total += produced;
      // A stream that gives more than its stored size is a bomb or damage: either way it
      // stops here, so neither memory nor disk grows past what the record declared.
      if (total > storedSize) rc = Z_DATA_ERROR;
      if (rc != Z_OK && rc != Z_STREAM_END) throw zlibError(rc);
      if (!out.write(piece_.get(), static_cast<std::streamsize>(produced))) throw writeError(path);
      if (rc == Z_STREAM_END) break;
      // No more input and nothing more to give: the stream stops before its end.
      if (produced == 0 && zs_.avail_in == 0) throw zlibError(Z_BUF_ERROR);
    }
    out.close();
    if (!out) throw writeError(path);
  }

 private:
  z_stream zs_{};
  std::unique_ptr<char[]> piece_;
  std::size_t pieceSize_ = 0;
};

}  // namespace

std::string archiveRecord(const std::string& folderPath, const std::string& name,
                          const std::string& contents) {
  std::string record;
  Deflater().appendRecord(record, folderPath, name, contents.data(), contents.size());
  return record;
}

std::string packFolderBytes(const std::string& folder, bool recurse, const std::string& skipPath) {
  std::vector<Entry> entries;
  collect(entries, folder, "", recurse, skipPath.empty() ? fs::path() : hostFs(skipPath));
  std::uintmax_t estimate = 0;
  for (const Entry& e : entries) estimate += e.size + e.size / 1000 + 64 + 2 * kMaxText;
  std::string archive;
  archive.reserve(static_cast<std::size_t>(estimate));
  std::string contents;
  Deflater deflater;
  for (const Entry& e : entries) {
    // Unreadable now, or emptied since it was listed: no record.
    const std::ptrdiff_t got = readInto(e.path, e.size, contents);
    if (got <= 0) continue;
    deflater.appendRecord(archive, e.storedFolder, e.name, contents.data(),
                          static_cast<std::size_t>(got));
  }
  return archive;
}

void packFolder(const std::string& folder, bool recurse, const std::string& archivePath) {
  // The old archive is replaced only by a complete new one; lying in the folder itself,
  // it is not packed into its successor.
  writeFileAtomic(archivePath, packFolderBytes(folder, recurse, archivePath));
}

std::string unsafeRecordMessage(const std::string& folderPath, const std::string& name) {
  return "Unsafe path in archive: " + folderPath + name;
}

void unpackArchive(const std::string& archivePath, const std::string& targetFolder,
                   bool overwrite, bool useStoredPaths) {
  Reader reader(archivePath);
  const fs::path target = hostFs(targetFolder).lexically_normal();
  std::string data;
  Inflater inflater;
  fs::path madeFolder;
  while (!reader.atEnd()) {
    const std::string folderPath = decodeFileText(reader.bytes(reader.byte()));
    const std::string name = decodeFileText(reader.bytes(reader.byte()));
    const std::uint32_t storedSize = reader.int32();
    const std::uint32_t compressedSize = reader.int32();
    // Stored signed: a negative length can only be damage.
    if (compressedSize > 0x7FFFFFFFu) throw damaged();
    reader.bytesInto(compressedSize, data);

    std::vector<std::string> parts;
    if (!safeParts(folderPath, name, parts)) throw Error(unsafeRecordMessage(folderPath, name));
    fs::path folder = target;
    if (useStoredPaths)
      for (const std::string& part : parts) folder /= hostFs(part);
    const fs::path file = (folder / hostFs(name)).lexically_normal();
    // The checks above already keep the record inside; this says so for the path as built.
    const auto rel = file.lexically_relative(target);
    if (rel.empty() || *rel.begin() == "..") throw Error(unsafeRecordMessage(folderPath, name));

    std::error_code ec;
    // Records of one folder follow each other: it is made once, not asked for every file.
    if (folder != madeFolder) {
      fs::create_directories(folder, ec);
      if (ec || !fs::is_directory(folder, ec)) {
        const std::u8string u8 = folder.u8string();
        throw writeError(std::string(u8.begin(), u8.end()));
      }
      madeFolder = folder;
    }
    const std::u8string u8 = file.u8string();
    const std::string filePath(u8.begin(), u8.end());
    if (!overwrite && fs::exists(file, ec)) continue;
    inflater.inflateTo(data.data(), compressedSize, storedSize, filePath);
  }
}

}  // namespace vantrel
