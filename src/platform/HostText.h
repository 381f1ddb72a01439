#pragma once
// The text services that differ between systems, used by Text.cpp and Paths.cpp.
#include <string>

namespace vantrel {

// Code points of a UTF-8 name with case folded the way the host's file names compare;
// bytes that are not UTF-8 stay as themselves.
std::u32string foldedCodePoints(const std::string& s);

// The 8-bit text of the files (INI files, the .cfg file, names in the archive). POSIX
// writes UTF-8 and reads other bytes as Windows-1252; Windows uses its ANSI code page.
std::string ansiToUtf8(const std::string& bytes);
std::string utf8ToAnsi(const std::string& utf8);

}  // namespace vantrel
