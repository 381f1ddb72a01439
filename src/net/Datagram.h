#pragma once
// Command datagrams from the simulator side: bytes to text, text to items, items to fields.
#include <cstddef>
#include <string>
#include <vector>

namespace vantrel {

// The longest datagram the listener takes; a longer one is dropped whole.
constexpr std::size_t kDatagramBufferSize = 8192;

// One item of a datagram: its first two fields ("PNL" and the command or aircraft id).
struct CommandItem {
  std::string Kind;
  std::string Value;
  bool operator==(const CommandItem&) const = default;
};

// 7-bit text, one byte per character: a byte above 127 becomes U+FFFD (as UTF-8), a NUL
// ends the text.
std::string decodeDatagram(const std::string& bytes);

// Splits text at separator. A field that begins with a double quote runs to its closing
// quote and is taken without the quotes ("" inside stands for one); text right after the
// closing quote starts a new field. Other fields run to the next separator. Nothing is
// trimmed. A separator at the very end adds an empty field; an empty text has no field.
std::vector<std::string> splitDelimited(const std::string& text, char separator);

// The items of one datagram, in order, each split at ":". An item with fewer than two
// fields cannot name a command and is left out.
std::vector<CommandItem> parseDatagram(const std::string& bytes);

// A dotted IPv4 address whose first number lies from 224 to 239.
bool isMulticastGroup(const std::string& text);

}  // namespace vantrel
