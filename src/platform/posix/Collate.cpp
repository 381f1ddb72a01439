#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <cstring>
#include <string>

#include "platform/Text.h"

namespace vantrel {

namespace {

// The user's locale; the POSIX locale's tailoring orders all capitals before small
// letters, which is not a word sort, so that one falls back to the root order.
UCollator* openCollator() {
  const char* locale = uloc_getDefault();
  char variant[32] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getVariant(locale, variant, sizeof variant, &status);
  if (U_FAILURE(status) || std::strcmp(variant, "POSIX") == 0) locale = "";
  status = U_ZERO_ERROR;
  UCollator* collator = ucol_open(locale, &status);
  if (U_FAILURE(status)) {
    if (collator) ucol_close(collator);
    return nullptr;
  }
  ucol_setStrength(collator, UCOL_TERTIARY);
  return collator;
}

UCollator* collator() {
  // Opened once; comparing through a collator that is no longer changed is thread-safe.
  static UCollator* const instance = openCollator();
  return instance;
}

int byteCompare(const std::string& a, const std::string& b) {
  const int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

}  // namespace

int compareCaptions(const std::string& a, const std::string& b) {
  UCollator* c = collator();
  if (!c) return byteCompare(a, b);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult r = ucol_strcollUTF8(c, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                              static_cast<int32_t>(b.size()), &status);
  if (U_FAILURE(status)) return byteCompare(a, b);
  return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

}  // namespace vantrel
