#include "platform/HostText.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace vantrel {

namespace {

// Decodes one UTF-8 sequence at s[i]; -1 when the bytes there are no UTF-8, and i moves
// past the first of them only.
long nextCodePoint(const std::string& s, std::size_t& i) {
  const auto c = static_cast<unsigned char>(s[i]);
  std::size_t len = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    ++i;
    return -1;
  }
  long cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
  for (std::size_t k = 1; k < len; ++k) {
    const auto t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    cp = (cp << 6) | (t & 0x3F);
  }
  if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return -1;
  }
  i += len;
  return cp;
}

}  // namespace

std::u32string foldedCodePoints(const std::string& s) {
  // The file system compares names through its upper-case table; the invariant upper
  // case is the nearest call to it. Characters outside the basic plane stay as they are.
  std::u32string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t start = i;
    long cp = nextCodePoint(s, i);
    if (cp < 0) cp = static_cast<unsigned char>(s[start]);
    if (cp < 0x80) {
      if (cp >= 'a' && cp <= 'z') cp -= 'a' - 'A';
    } else if (cp < 0x10000) {
      wchar_t in = static_cast<wchar_t>(cp), up = in;
      if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &in, 1, &up, 1, nullptr, nullptr, 0) == 1)
        cp = static_cast<unsigned short>(up);
    }
    out += static_cast<char32_t>(cp);
  }
  return out;
}

std::string ansiToUtf8(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return win32::narrow(wide);
}

std::string utf8ToAnsi(const std::string& utf8) {
  if (utf8.empty()) return {};
  const std::wstring wide = win32::widen(utf8);
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace vantrel
