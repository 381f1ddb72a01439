#include "platform/win32/Wide.h"

#include <windows.h>

static_assert(vantrel::win32::kUtf8CodePage == CP_UTF8);

namespace vantrel::win32 {

std::wstring widen(const std::string& text, unsigned codePage) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string narrow(const wchar_t* wide, int length, unsigned codePage) {
  if (length <= 0) return {};
  const int n = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide, length, out.data(), n, nullptr, nullptr);
  return out;
}

std::string narrow(const std::wstring& wide, unsigned codePage) {
  return narrow(wide.data(), static_cast<int>(wide.size()), codePage);
}

std::wstring widePath(const std::string& path) { return widen(path); }

std::string lastErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = n > 0 ? narrow(buffer, static_cast<int>(n)) : "error " + std::to_string(code);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace vantrel::win32
