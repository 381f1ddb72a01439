#pragma once
// The export archive (".vnx"): records back to back from offset 0 to the end of the file,
// with no header, count or trailer. One record per stored file:
//   1 byte P, P bytes folder path (relative, ending in a backslash, or empty),
//   1 byte N, N bytes file name,
//   4 bytes uncompressed size, 4 bytes compressed size C (both little-endian, signed),
//   C bytes: the contents as one zlib stream.
// Names are 8-bit text (UTF-8 here; Windows-1252 is accepted on reading) of at most 255
// bytes. An empty file gets no record.
#include <cstdint>
#include <string>

namespace vantrel {

// The record of one file: header and zlib stream of contents. folderPath uses backslashes;
// folderPath and name are cut to 255 bytes, never inside a UTF-8 character.
std::string archiveRecord(const std::string& folderPath, const std::string& name,
                          const std::string& contents);

// The archive of folder's files in the enumeration's order. Files that cannot be read and
// empty files are left out; subfolders are walked only when recurse is set. skipPath, when
// not empty, names a file that is never packed (the archive being written).
std::string packFolderBytes(const std::string& folder, bool recurse,
                            const std::string& skipPath = {});
// Packs folder into archivePath, replacing it whole only once the archive is complete.
// Throws "Unable to write to %s" when the file cannot be written.
void packFolder(const std::string& folder, bool recurse, const std::string& archivePath);

// Writes every stored file under targetFolder, in stored order. A record's folder path is
// kept when useStoredPaths is set; an existing file is replaced only when overwrite is set.
// Throws, leaving what was written so far:
// - "Cannot open file "<path>". <reason>" when the archive cannot be opened;
// - unsafeRecordMessage(...) for a record that would land outside targetFolder;
// - "zlib returned: data error" for damaged data: a record running past the end of the
//   archive, or a stream that inflates to more than its stored size; the other zlib
//   failures give "zlib returned: buffer error", "... memory error", "... Stream error";
// - "Unable to write to %s" when a file or folder cannot be written.
void unpackArchive(const std::string& archivePath, const std::string& targetFolder,
                   bool overwrite, bool useStoredPaths);

// "Unsafe path in archive: <folder path><file name>"
std::string unsafeRecordMessage(const std::string& folderPath, const std::string& name);

}  // namespace vantrel
