#pragma once
// Text helpers shared by the file formats.
#include <cstddef>
#include <string>

namespace vantrel {

// Files are UTF-8 when written here; on reading, valid UTF-8 is taken as it is and
// anything else is decoded as Windows-1252, so files made on Windows open too.
std::string decodeFileText(const std::string& bytes);
bool isValidUtf8(const std::string& bytes);
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

// Locale-aware caption comparison (word sort, case-sensitive); <0, 0, >0.
int compareCaptions(const std::string& a, const std::string& b);

}  // namespace vantrel
