#include <windows.h>

#include <string>

#include "platform/Text.h"
#include "platform/win32/Wide.h"

namespace vantrel {

int compareCaptions(const std::string& a, const std::string& b) {
  // The user's locale, word sort (flags 0), case counted.
  const std::wstring wa = win32::widen(a), wb = win32::widen(b);
  const int r = CompareStringW(LOCALE_USER_DEFAULT, 0, wa.data(), static_cast<int>(wa.size()), wb.data(),
                               static_cast<int>(wb.size()));
  if (r == 0) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return r == CSTR_LESS_THAN ? -1 : (r == CSTR_GREATER_THAN ? 1 : 0);
}

}  // namespace vantrel
