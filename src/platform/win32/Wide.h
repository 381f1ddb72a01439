#pragma once
// UTF-8 inside the program, UTF-16 at every Windows call.
#include <string>

namespace vantrel::win32 {

// The code page of the program's own text (CP_UTF8); other 8-bit text names its own.
constexpr unsigned kUtf8CodePage = 65001;
// Bytes that are not text in the code page become U+FFFD.
std::wstring widen(const std::string& text, unsigned codePage = kUtf8CodePage);
// Characters the code page lacks become its best fit or '?'.
std::string narrow(const std::wstring& wide, unsigned codePage = kUtf8CodePage);
std::string narrow(const wchar_t* wide, int length, unsigned codePage = kUtf8CodePage);
// A path the program keeps, ready for the wide file calls.
std::wstring widePath(const std::string& path);
// The text of the calling thread's last error, for messages.
std::string lastErrorText(unsigned long code);

}  // namespace vantrel::win32
