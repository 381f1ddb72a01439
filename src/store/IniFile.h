#pragma once
// The one engine for every INI file of the program (settings, panel, background and
// placement files, instrument descriptions), following the Windows profile rules:
// - section and key names match without regard to case (first match wins); of sections
//   that share a name only the first is read or written;
// - a value ends at a NUL; values are trimmed, one pair of matching quotes (" or ') is
//   removed, at most 2047 characters are read;
// - a missing key or file reads as the default; reading never creates a file;
// - a write replaces the key's line in place, or appends the key after the last line of
//   its section, creating section and file when missing; every other line stays byte for
//   byte as it was;
// - each line is read as UTF-8 when it is valid UTF-8, else as Windows-1252;
// - a write replaces the file atomically and throws "Unable to write to %s" on failure.
// The file is read anew for every call: nothing is cached between calls.
#include <cstdint>
#include <string>

namespace vantrel {

// How a file writes its flags.
enum class FlagStyle {
  YesNo,      // settings file: "yes"/"no", true only for exactly "yes"
  OneZero,    // panel and background files: "1"/"0", true for any non-zero integer
  TrueFalse,  // placement files: "True"/"False"
};

class IniFile {
 public:
  explicit IniFile(std::string path, FlagStyle flags = FlagStyle::OneZero);

  const std::string& path() const { return path_; }

  std::string readString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // Integer with the "0x" rule: more than two characters starting "0x"/"0X" is hex (up to
  // 32 bits), anything else decimal; a value that is not an integer gives the default.
  std::int32_t readInteger(const std::string& section, const std::string& key,
                           std::int32_t defaultValue) const;
  bool readBool(const std::string& section, const std::string& key, bool defaultValue) const;
  bool keyExists(const std::string& section, const std::string& key) const;

  void writeString(const std::string& section, const std::string& key, const std::string& value);
  void writeInteger(const std::string& section, const std::string& key, std::int32_t value);
  void writeBool(const std::string& section, const std::string& key, bool value);

 private:
  std::string path_;
  FlagStyle flags_;
};

// The profile rule for integers on its own (used where a text value is converted later).
bool parseProfileInteger(const std::string& text, std::int32_t& value);

}  // namespace vantrel
