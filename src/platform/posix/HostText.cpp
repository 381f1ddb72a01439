#include "platform/HostText.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "platform/Text.h"

namespace vantrel {

std::u32string foldedCodePoints(const std::string& s) {
  std::u32string out;
  out.reserve(s.size());
  const auto* p = reinterpret_cast<const uint8_t*>(s.data());
  const int32_t n = static_cast<int32_t>(s.size());
  int32_t i = 0;
  while (i < n) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(p, i, n, c);
    if (c < 0) c = p[start];
    out += static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
  }
  return out;
}

// Files made on Windows are most often in Windows-1252; nothing here says otherwise.
std::string ansiToUtf8(const std::string& bytes) { return decodeWindows1252(bytes); }

std::string utf8ToAnsi(const std::string& utf8) { return utf8; }

}  // namespace vantrel
