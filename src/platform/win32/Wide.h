#pragma once
// UTF-8 inside the program, UTF-16 at every Windows call.
#include <string>

namespace vantrel::win32 {

// Bytes that are not UTF-8 become U+FFFD.
std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& wide);
std::string narrow(const wchar_t* wide, int length);
// A path the program keeps, ready for the wide file calls.
std::wstring widePath(const std::string& path);
// The text of the calling thread's last error, for messages.
std::string lastErrorText(unsigned long code);

}  // namespace vantrel::win32
