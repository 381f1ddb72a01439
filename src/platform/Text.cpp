#include "platform/Text.h"

#include <cstdint>

#include "platform/Error.h"
#include "platform/HostText.h"

namespace vantrel {

namespace {

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 code point of the
// same value, as the system's own conversion does.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

long nextCodePoint(const std::string& s, std::size_t& i) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  const unsigned char c = p[i];
  if (c < 0x80) {
    ++i;
    return c;
  }
  std::size_t len;
  long cp;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
  } else {
    ++i;
    return -1;
  }
  bool valid = i + len <= n;
  for (std::size_t k = 1; valid && k < len; ++k) {
    valid = (p[i + k] & 0xC0) == 0x80;
    cp = (cp << 6) | (p[i + k] & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not text.
  if (!valid || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return -1;
  }
  i += len;
  return cp;
}

bool isValidUtf8(const std::string& bytes) {
  std::size_t i = 0;
  while (i < bytes.size())
    if (nextCodePoint(bytes, i) < 0) return false;
  return true;
}

std::string decodeFileText(const std::string& bytes) {
  if (isValidUtf8(bytes)) return bytes;
  return ansiToUtf8(bytes);
}

std::string encodeFileText(const std::string& text) { return utf8ToAnsi(text); }

std::string decodeWindows1252(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80)
      out += ch;
    else if (c < 0xA0)
      appendUtf8(out, kCp1252High[c - 0x80]);
    else
      appendUtf8(out, c);
  }
  return out;
}

std::string decodeFileLines(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    out += decodeFileText(bytes.substr(start, end - start));
    const std::size_t next = bytes.find_first_not_of("\r\n", end);
    out.append(bytes, end, (next == std::string::npos ? bytes.size() : next) - end);
    start = next == std::string::npos ? bytes.size() : next;
  }
  return out;
}

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string toLowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool sameTextIgnoreCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool tryStrToInt(const std::string& text, int& value) {
  const std::string s = trim(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  std::uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const int d = hex ? hexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(d);
    if (magnitude > 0xFFFFFFFFull) return false;
  }
  std::int64_t result;
  if (hex) {
    // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
    result = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    if (negative) result = -result;
    if (result > INT32_MAX) return false;
  } else {
    result = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (result < INT32_MIN || result > INT32_MAX) return false;
  }
  value = static_cast<int>(result);
  return true;
}

int strToInt(const std::string& text) {
  int value = 0;
  if (!tryStrToInt(text, value)) throw conversionError(text);
  return value;
}

namespace {
bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t utf8Advance(const std::string& s, std::size_t from, std::size_t count) {
  std::size_t p = from;
  while (p < s.size() && count > 0) {
    ++p;
    while (p < s.size() && isContinuation(s[p])) ++p;
    --count;
  }
  return p;
}

std::string utf8Mid(const std::string& s, std::size_t skip, std::size_t count) {
  const std::size_t start = utf8Advance(s, 0, skip);
  return s.substr(start, utf8Advance(s, start, count) - start);
}

std::string utf8DropLast(const std::string& s, std::size_t count) {
  std::size_t end = s.size();
  for (std::size_t i = 0; i < count && end > 0; ++i) {
    --end;
    while (end > 0 && isContinuation(s[end])) --end;
  }
  return s.substr(0, end);
}

std::string readQuoted(const std::string& text, std::size_t& pos) {
  std::string out;
  const std::size_t n = text.size();
  ++pos;
  while (pos < n) {
    if (text[pos] == '"') {
      if (pos + 1 < n && text[pos + 1] == '"') {
        out += '"';
        pos += 2;
        continue;
      }
      ++pos;
      break;
    }
    out += text[pos++];
  }
  return out;
}

}  // namespace vantrel
