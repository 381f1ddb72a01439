#pragma once
// Text helpers shared by the file formats.
#include <cstddef>
#include <string>

namespace vantrel {

// Files are UTF-8 when written on POSIX; on reading, valid UTF-8 is taken as it is and
// anything else is decoded as Windows-1252 (on Windows: the ANSI code page), so files
// made on Windows open too.
std::string decodeFileText(const std::string& bytes);
// Text as the host writes it into those files: UTF-8 here, the ANSI code page on Windows
// (where a character the code page lacks becomes its best fit or '?').
std::string encodeFileText(const std::string& text);
// Every byte as its Windows-1252 character.
std::string decodeWindows1252(const std::string& bytes);
bool isValidUtf8(const std::string& bytes);
// The code point of the UTF-8 sequence at s[i], i moved past it; -1 when the bytes there
// are no UTF-8, and i then moves past the first of them only.
long nextCodePoint(const std::string& s, std::size_t& i);
// decodeFileText line by line (lines end at CR or LF, which are kept), so one line of
// Windows-1252 does not decide how the other lines of a file are read.
std::string decodeFileLines(const std::string& bytes);
std::string trim(const std::string& s);
std::string toLowerAscii(std::string s);
bool sameTextIgnoreCase(const std::string& a, const std::string& b);
// The strict integer conversion: decimal, "$" or "0x" hexadecimal, optional sign; throws
// conversionError on anything else.
int strToInt(const std::string& text);
bool tryStrToInt(const std::string& text, int& value);

// Reads a double-quoted string that starts at text[pos] == '"': a doubled quote inside
// stands for one; a missing closing quote runs to the end. pos ends after the closing quote.
std::string readQuoted(const std::string& text, std::size_t& pos);

// Whole UTF-8 characters (a byte that is not UTF-8 counts as one character), so a cut
// never splits one.
// The byte offset count characters after from.
std::size_t utf8Advance(const std::string& s, std::size_t from, std::size_t count);
// Up to count characters of s starting after the first skip characters.
std::string utf8Mid(const std::string& s, std::size_t skip, std::size_t count);
// s without its last count characters.
std::string utf8DropLast(const std::string& s, std::size_t count);

// Locale-aware caption comparison (word sort, case-sensitive); <0, 0, >0.
int compareCaptions(const std::string& a, const std::string& b);

}  // namespace vantrel
