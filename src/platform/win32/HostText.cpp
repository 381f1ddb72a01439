#include "platform/HostText.h"

#include <windows.h>

#include "platform/Text.h"
#include "platform/win32/Wide.h"

namespace vantrel {

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

std::string ansiToUtf8(const std::string& bytes) { return win32::narrow(win32::widen(bytes, CP_ACP)); }

std::string utf8ToAnsi(const std::string& utf8) { return win32::narrow(win32::widen(utf8), CP_ACP); }

}  // namespace vantrel
