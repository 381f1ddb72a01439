#include "net/Datagram.h"

#include "platform/Text.h"

namespace vantrel {

std::string decodeDatagram(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b == 0) break;
    if (b > 127)
      text += "\xEF\xBF\xBD";
    else
      text += c;
  }
  return text;
}

std::vector<std::string> splitDelimited(const std::string& text, char separator) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  const std::size_t n = text.size();
  while (pos < n) {
    if (text[pos] == '"') {
      fields.push_back(readQuoted(text, pos));
    } else {
      const std::size_t end = text.find(separator, pos);
      const std::size_t stop = end == std::string::npos ? n : end;
      fields.push_back(text.substr(pos, stop - pos));
      pos = stop;
    }
    if (pos < n && text[pos] == separator) {
      ++pos;
      if (pos == n) fields.emplace_back();
    }
  }
  return fields;
}

std::vector<CommandItem> parseDatagram(const std::string& bytes) {
  std::vector<CommandItem> items;
  for (const std::string& item : splitDelimited(decodeDatagram(bytes), '|')) {
    std::vector<std::string> fields = splitDelimited(item, ':');
    if (fields.size() < 2) continue;
    items.push_back({std::move(fields[0]), std::move(fields[1])});
  }
  return items;
}

bool isMulticastGroup(const std::string& text) {
  int parts[4] = {0, 0, 0, 0};
  std::size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != '.') return false;
      ++pos;
    }
    std::size_t digits = 0;
    int value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
      value = value * 10 + (text[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return false;
    parts[i] = value;
  }
  return pos == text.size() && parts[0] >= 224 && parts[0] <= 239;
}

}  // namespace vantrel
