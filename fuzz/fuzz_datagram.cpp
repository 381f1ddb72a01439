// Command datagrams: the decoder gives valid UTF-8 without a NUL; the splitter gives a field
// for any text that is not empty, and gives a quote-free text back whole when its fields are
// joined again; a quote-free datagram has no more items than it has separators plus one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "net/Datagram.h"
#include "platform/Text.h"

using namespace vantrel;

namespace {

std::string joined(const std::vector<std::string>& fields, char separator) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += separator;
    out += fields[i];
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = decodeDatagram(bytes);
  FUZZ_CHECK(isValidUtf8(text), fuzz::escaped(text));
  FUZZ_CHECK(text.find('\0') == std::string::npos);
  FUZZ_CHECK(text.size() <= 3 * bytes.size());

  for (const char separator : {'|', ':'}) {
    const std::vector<std::string> fields = splitDelimited(text, separator);
    FUZZ_CHECK(text.empty() == fields.empty());
    if (text.find('"') == std::string::npos)
      FUZZ_CHECK(joined(fields, separator) == text, fuzz::escaped(text));
  }

  std::size_t bars = 0;
  for (const char c : text) bars += c == '|';
  const std::vector<CommandItem> items = parseDatagram(bytes);
  if (text.find('"') == std::string::npos) FUZZ_CHECK(items.size() <= bars + 1);
  (void)isMulticastGroup(text);
  return 0;
}
