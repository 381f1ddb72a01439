// The INI engine on any file. The first input byte picks one write (section, key, value);
// the rest is the file. Reading gives valid UTF-8 of at most 2047 characters, a key that
// exists reads the same whatever the default, a written value reads back as written, and
// the write changes only its own line (or adds it, and its section), every other line
// staying byte for byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Text.h"
#include "store/IniFile.h"

namespace {

using namespace vantrel;
using fuzz::escaped;

const char* const kSections[] = {"Config", "config", "Monitors", "New Section"};
const char* const kKeys[] = {"PanelName", "no_of_screens", "Key", "NewKey",
                             "a b", "Monitor0_Width", "X", "LastPanelUsed"};
const std::string kValues[] = {
    "",
    "1",
    "  spaced out\t",
    "\"quoted\"",
    "'single'",
    "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC",  // UTF-8 text
    std::string(3000, 'v'),            // longer than a read takes
    "two\r\nlines=[x];y",
};

std::string trimBlanks(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

std::string singleLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

// What a read gives for a stored value: blanks trimmed, one pair of quotes taken off, at
// most 2047 characters (all the values above are UTF-8).
std::string asRead(const std::string& value) {
  std::string v = trimBlanks(singleLine(value));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return utf8Mid(v, 0, 2047);
}

std::size_t characters(const std::string& s) {
  std::size_t n = 0;
  for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// Lines with their endings, split as the engine splits them.
std::vector<std::string> lines(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      out.push_back(bytes.substr(start));
      break;
    }
    end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
    out.push_back(bytes.substr(start, end - start));
    start = end;
  }
  return out;
}

bool isLineEnd(const std::string& s) { return s == "\r\n" || s == "\n" || s == "\r"; }
bool hasEnd(const std::string& line) {
  return !line.empty() && (line.back() == '\n' || line.back() == '\r');
}

// An old line as it may come out: the same, or (the file's last line only) given an ending.
bool kept(const std::string& now, const std::string& old, bool lastOld) {
  if (now == old) return true;
  return lastOld && !hasEnd(old) && now.compare(0, old.size(), old) == 0 &&
         isLineEnd(now.substr(old.size()));
}

bool isNewLine(const std::string& line, const std::string& text) {
  return line.compare(0, text.size(), text) == 0 && isLineEnd(line.substr(text.size()));
}

// The write changed the key's line, or added it to its section, or added section and key
// at the end; nothing else.
bool onlyItsLineChanged(const std::vector<std::string>& before,
                        const std::vector<std::string>& after, const std::string& section,
                        const std::string& keyLine) {
  const std::size_t n = before.size();
  auto keptAt = [&](std::size_t newIndex, std::size_t oldIndex) {
    return kept(after[newIndex], before[oldIndex], oldIndex + 1 == n);
  };
  if (after.size() == n) {
    std::size_t changed = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (after[i] == before[i]) continue;
      ++changed;
      const std::string end = hasEnd(before[i]) ? before[i].substr(before[i].find_first_of("\r\n")) : "";
      if (after[i] != keyLine + end) return false;
    }
    if (changed == 1) return true;
    // Rewriting a line with what it already holds changes nothing.
    for (const std::string& l : before)
      if (l.compare(0, keyLine.size(), keyLine) == 0 && (l.size() == keyLine.size() || isLineEnd(l.substr(keyLine.size()))))
        return changed == 0;
    return false;
  }
  if (after.size() == n + 1) {
    std::size_t i = 0;
    while (i < n && keptAt(i, i)) ++i;
    if (!isNewLine(after[i], keyLine)) return false;
    for (std::size_t j = i; j < n; ++j)
      if (!keptAt(j + 1, j)) return false;
    return true;
  }
  if (after.size() == n + 2) {
    for (std::size_t i = 0; i < n; ++i)
      if (!keptAt(i, i)) return false;
    return isNewLine(after[n], "[" + section + "]") && isNewLine(after[n + 1], keyLine);
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned pick = data[0];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const auto path = fuzz::scratch() / "fuzz.ini";
  fuzz::writeBytes(path, bytes);
  const std::string file = fuzz::text(path);

  // Every read goes through the whole file: a few pairs per input, picked by it.
  const FlagStyle styles[] = {FlagStyle::YesNo, FlagStyle::OneZero, FlagStyle::TrueFalse};
  for (unsigned round = 0; round < 2; ++round) {
    const unsigned n = pick + round * 11;
    const char* section = kSections[n % 4];
    const char* key = kKeys[(n / 4) % 8];
    const IniFile ini(file, styles[n % 3]);
    const std::string a = ini.readString(section, key, "\x01" "a");
    const std::string b = ini.readString(section, key, "\x01" "b");
    if (ini.keyExists(section, key)) {
      FUZZ_CHECK(a == b, escaped(a) + " / " + escaped(b));
      FUZZ_CHECK(isValidUtf8(a), escaped(a));
      FUZZ_CHECK(characters(a) <= 2047, std::to_string(characters(a)));
    } else {
      FUZZ_CHECK(a == "\x01" "a" && b == "\x01" "b", escaped(a));
    }
    if (round == 0) {
      (void)ini.readInteger(section, key, 7);
      (void)ini.readBool(section, key, true);
    }
  }

  const std::string section = kSections[pick & 3];
  const std::string key = kKeys[(pick >> 2) & 7];
  const std::string& value = kValues[(pick >> 5) & 7];
  IniFile ini(file, FlagStyle::OneZero);
  ini.writeString(section, key, value);
  const std::string after = fuzz::readBytes(path);
  FUZZ_CHECK(ini.readString(section, key, "\x01") == asRead(value),
             key + " reads " + escaped(ini.readString(section, key, "\x01")) + "\nfile " + escaped(after));

  const std::string bom = "\xEF\xBB\xBF";
  const bool hadBom = bytes.compare(0, 3, bom) == 0;
  FUZZ_CHECK(!hadBom || after.compare(0, 3, bom) == 0, "the byte-order mark was dropped");
  const std::string body = hadBom ? bytes.substr(3) : bytes;
  // Every other line stays byte for byte, whatever its encoding.
  FUZZ_CHECK(onlyItsLineChanged(lines(body), lines(hadBom ? after.substr(3) : after), section,
                                key + "=" + singleLine(value)),
             "before " + escaped(bytes) + "\nafter  " + escaped(after));
  return 0;
}
