// Colour text as the background file stores it: any text either converts or is refused with
// the conversion error, and every colour written as text reads back as the same colour.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "platform/Error.h"
#include "store/ColorText.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const std::uint32_t color = textToColor(text);
    FUZZ_CHECK(textToColor(colorToText(color)) == color, fuzz::escaped(text));
  } catch (const Error& e) {
    // The message is C text: it ends at a NUL of the input.
    const std::string expected = "'" + text + "' is not a valid integer value";
    FUZZ_CHECK(std::string(e.what()) == expected.c_str(), fuzz::escaped(e.what()));
  }
  if (size >= 4) {
    std::uint32_t color = 0;
    std::memcpy(&color, data, 4);
    const std::string written = colorToText(color);
    FUZZ_CHECK(textToColor(written) == color, written);
  }
  return 0;
}
