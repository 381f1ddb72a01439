#include "store/IniFile.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace vantrel {

namespace {

constexpr std::size_t kMaxValueChars = 2047;
const std::string kBom = "\xEF\xBB\xBF";

struct Line {
  std::string text;  // decoded, without its line ending
  std::string raw;   // the bytes as stored, written back unchanged unless the line is
  std::string eol;   // "\r\n", "\n", "\r" or empty for a last line without one
};

Line makeLine(std::string bytes, std::string eol) {
  // Each line decides its own encoding: one Windows-1252 value must not turn the UTF-8
  // text of every other line into Windows-1252 when the file is next written.
  std::string text = decodeFileText(bytes);
  return Line{std::move(text), std::move(bytes), std::move(eol)};
}

// A line the program writes is stored in the host's 8-bit text.
Line newLine(const std::string& text, const std::string& eol) { return Line{text, encodeFileText(text), eol}; }

struct Document {
  std::string bom;
  std::vector<Line> lines;
};

std::string trimBlanks(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

Document parse(const std::string& bytes) {
  Document doc;
  std::string body = bytes;
  if (body.compare(0, kBom.size(), kBom) == 0) {
    doc.bom = kBom;
    body.erase(0, kBom.size());
  }
  const std::string& text = body;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      doc.lines.push_back(makeLine(text.substr(start), ""));
      break;
    }
    std::size_t eolLen = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
    doc.lines.push_back(makeLine(text.substr(start, end - start), text.substr(end, eolLen)));
    start = end + eolLen;
  }
  return doc;
}

std::string serialize(const Document& doc) {
  std::string out = doc.bom;
  for (const Line& l : doc.lines) out += l.raw + l.eol;
  return out;
}

// The section named by a header line, or nullopt when the line is no header.
std::optional<std::string> sectionName(const std::string& line) {
  const std::string t = trimBlanks(line);
  if (t.empty() || t[0] != '[') return std::nullopt;
  const std::size_t close = t.rfind(']');
  if (close == std::string::npos) return std::nullopt;
  return trimBlanks(t.substr(1, close - 1));
}

// The key of a key line, or nullopt for comments and lines without "=".
std::optional<std::string> keyName(const std::string& line) {
  const std::string t = trimBlanks(line);
  if (t.empty() || t[0] == ';') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return trimBlanks(t.substr(0, eq));
}

struct Location {
  std::optional<std::size_t> section;  // header line of the first matching section
  std::optional<std::size_t> key;      // the key's line
};

// Only the first section of a name counts, for reading and writing alike: a later
// header of the same name and everything under it are passed over.
Location locate(const Document& doc, const std::string& section, const std::string& key) {
  Location loc;
  bool inSection = false;
  for (std::size_t i = 0; i < doc.lines.size(); ++i) {
    const std::string& text = doc.lines[i].text;
    if (auto name = sectionName(text)) {
      if (loc.section) break;
      inSection = sameTextIgnoreCase(*name, section);
      if (inSection) loc.section = i;
      continue;
    }
    if (!inSection) continue;
    if (auto k = keyName(text); k && sameTextIgnoreCase(*k, key)) {
      loc.key = i;
      return loc;
    }
  }
  return loc;
}

std::string unquote(std::string v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return v;
}

// Cuts after max characters, never inside one.
std::string limitChars(const std::string& s, std::size_t max) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (chars++ == max) return s.substr(0, i);
  }
  return s;
}

// A line break inside a name or value would end the line early and turn the rest into
// lines of their own; the break becomes a blank instead.
std::string singleLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

// What is written ends at a NUL, as what is read does.
std::string untilNul(const std::string& s) { return s.substr(0, s.find('\0')); }

std::optional<Document> load(const std::string& path) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return std::nullopt;
  return parse(bytes);
}

std::optional<std::string> lookup(const std::string& path, const std::string& section,
                                  const std::string& key) {
  const auto doc = load(path);
  if (!doc) return std::nullopt;
  const Location loc = locate(*doc, section, key);
  if (!loc.key) return std::nullopt;
  const std::string& text = doc->lines[*loc.key].text;
  std::string rest = text.substr(text.find('=') + 1);
  // A value ends at a NUL, as the text it came from would: what follows must never reach
  // a file path.
  rest = rest.substr(0, rest.find('\0'));
  const std::string value = unquote(trimBlanks(rest));
  return limitChars(value, kMaxValueChars);
}

std::string lineEnding(const Document& doc) {
  for (const Line& l : doc.lines)
    if (!l.eol.empty()) return l.eol;
  return "\r\n";
}

bool isBlankLine(const Line& l) { return trimBlanks(l.text).empty(); }

}  // namespace

bool parseProfileInteger(const std::string& text, std::int32_t& value) {
  const std::string s = unquote(trimBlanks(text));
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    std::uint32_t v = 0;
    for (std::size_t i = 2; i < s.size(); ++i) {
      const char c = s[i];
      unsigned d;
      if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
      else return false;
      // More than 32 bits is no integer here, as a decimal value past the range is not.
      if (v > 0x0FFFFFFFu) return false;
      v = v * 16u + d;
    }
    value = static_cast<std::int32_t>(v);
    return true;
  }
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size()) return false;
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

IniFile::IniFile(std::string path, FlagStyle flags) : path_(std::move(path)), flags_(flags) {}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  return lookup(path_, section, key).value_or(defaultValue);
}

std::int32_t IniFile::readInteger(const std::string& section, const std::string& key,
                                  std::int32_t defaultValue) const {
  const auto text = lookup(path_, section, key);
  std::int32_t value = 0;
  if (!text || !parseProfileInteger(*text, value)) return defaultValue;
  return value;
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool defaultValue) const {
  const auto text = lookup(path_, section, key);
  if (!text) return defaultValue;
  switch (flags_) {
    case FlagStyle::YesNo:
      return *text == "yes";
    case FlagStyle::OneZero: {
      std::int32_t value = 0;
      return parseProfileInteger(*text, value) ? value != 0 : defaultValue;
    }
    case FlagStyle::TrueFalse:
      if (sameTextIgnoreCase(*text, "true")) return true;
      if (sameTextIgnoreCase(*text, "false")) return false;
      return defaultValue;
  }
  return defaultValue;
}

bool IniFile::keyExists(const std::string& section, const std::string& key) const {
  return lookup(path_, section, key).has_value();
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
  std::string bytes;
  Document doc;
  if (readFileBytes(path_, bytes)) {
    doc = parse(bytes);
  } else {
    // A file that is there but cannot be read must not be replaced by one holding
    // only this key.
    std::error_code ec;
    if (std::filesystem::exists(fsPath(path_), ec) || ec) throw writeError(path_);
  }

  const std::string sect = singleLine(untilNul(section));
  const std::string k = singleLine(untilNul(key));
  const std::string keyLine = k + "=" + singleLine(untilNul(value));
  const std::string eol = lineEnding(doc);
  const Location loc = locate(doc, sect, k);

  if (loc.key) {
    doc.lines[*loc.key] = newLine(keyLine, doc.lines[*loc.key].eol);
  } else if (loc.section) {
    // After the last non-blank line of the section, so blank lines before the next
    // section stay where they are.
    std::size_t last = *loc.section;
    for (std::size_t i = *loc.section + 1; i < doc.lines.size(); ++i) {
      if (sectionName(doc.lines[i].text)) break;
      if (!isBlankLine(doc.lines[i])) last = i;
    }
    if (doc.lines[last].eol.empty()) doc.lines[last].eol = eol;
    // Ended as the line it follows: a lone CR before a line that is only a LF would read
    // back as one CR LF, and that blank line would be gone.
    const std::string after = doc.lines[last].eol;
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(last + 1), newLine(keyLine, after));
  } else {
    if (!doc.lines.empty() && doc.lines.back().eol.empty()) doc.lines.back().eol = eol;
    doc.lines.push_back(newLine("[" + sect + "]", eol));
    doc.lines.push_back(newLine(keyLine, eol));
  }
  writeFileAtomic(path_, serialize(doc));
}

void IniFile::writeInteger(const std::string& section, const std::string& key, std::int32_t value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  switch (flags_) {
    case FlagStyle::YesNo:
      writeString(section, key, value ? "yes" : "no");
      return;
    case FlagStyle::OneZero:
      writeString(section, key, value ? "1" : "0");
      return;
    case FlagStyle::TrueFalse:
      writeString(section, key, value ? "True" : "False");
      return;
  }
}

}  // namespace vantrel
