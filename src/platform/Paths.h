#pragma once
// Paths as the program keeps them, and the moment they touch the file system.
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

#ifdef _WIN32
constexpr char PathDelim = '\\';
#else
constexpr char PathDelim = '/';
#endif

// a + delimiter + b (no doubled delimiter when a already ends in one).
std::string joinPath(const std::string& a, const std::string& b);
// Stored paths keep backslashes ("Instruments_Brantic\P@ASI.exe"); the host may need its own.
std::string toHostPath(const std::string& stored);
std::filesystem::path fsPath(const std::string& stored);
// A path of the file system as the program keeps it: UTF-8 (never the Windows ANSI code
// page that path::string() gives there).
std::string pathText(const std::filesystem::path& path);
// The file-name part of a path, either delimiter counting.
std::string extractFileName(const std::string& path);
// The extension from the last dot of the file name, dot included; empty when none.
std::string extractFileExt(const std::string& path);
// path with its extension replaced by ext (".ini"), or ext appended when it has none.
std::string changeFileExt(const std::string& path, const std::string& ext);
// Wildcard match as the system's directory enumeration does it ("*" and "?", case ignored).
bool matchesPattern(const std::string& name, const std::string& pattern);
// Names of the entries of folder matching pattern, in the enumeration's order.
std::vector<std::string> listEntries(const std::string& folder, const std::string& pattern);
// Folders a user does not see: hidden by name or listed as hidden by the host.
bool isHiddenOrSystem(const std::string& folder, const std::string& name);
// Writes bytes to path through a temporary file in the same folder and a rename, so a
// crash or a full disk leaves the old file whole. A file the user may not write (or one
// without any write permission) is not replaced; the replaced file keeps its mode, and a
// symbolic link is written through to its target. Temporary files that a save cut short
// left in the folder are removed. Throws writeError(path) on failure.
void writeFileAtomic(const std::string& path, const std::string& bytes);
// The temporary files of saves carry this prefix, which no file the program makes or reads
// has; they are left out of Copy Panel, Export and Send To.
extern const char* const kSaveTempPrefix;
bool isSaveTempName(const std::string& name);
// Whole file as bytes; nullopt when it cannot be read.
bool readFileBytes(const std::string& path, std::string& bytes);

}  // namespace vantrel
