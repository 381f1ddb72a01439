#pragma once
// Shared by the fuzz targets: a scratch folder of the process's own, and checks that end the
// run as a crash (so libFuzzer keeps the input) when a promise of a parser is broken.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace vantrel::fuzz {

// A broken promise: the message and the input that broke it are what the crash shows.
[[noreturn]] inline void fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "fuzz check failed: %s\n%s%s", what, detail.c_str(),
               detail.empty() ? "" : "\n");
  std::abort();
}
#define FUZZ_CHECK(cond, ...) \
  do {                        \
    if (!(cond)) ::vantrel::fuzz::fail(#cond, ##__VA_ARGS__); \
  } while (0)

// A folder of this process's own under $TMPDIR (fuzz.sh points it at memory, so the
// writers' syncs cost nothing), removed when the process ends normally.
inline const std::filesystem::path& scratch() {
  static const std::filesystem::path folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::filesystem::path base = tmp && *tmp ? tmp : "/tmp";
    std::filesystem::path p = base / ("vantrel-fuzz-" + std::to_string(::getpid()));
    std::error_code ec;
    std::filesystem::remove_all(p, ec);
    std::filesystem::create_directories(p);
    std::atexit([] {
      std::error_code e;
      std::filesystem::remove_all(scratch(), e);
    });
    return p;
  }();
  return folder;
}

inline std::string text(const std::filesystem::path& p) {
  const std::u8string u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) fail("cannot write the input file", text(path));
}

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Printable form of bytes for a failure message.
inline std::string escaped(const std::string& s, std::size_t max = 400) {
  std::string out;
  for (std::size_t i = 0; i < s.size() && i < max; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  if (s.size() > max) out += "...";
  return out;
}

}  // namespace vantrel::fuzz
