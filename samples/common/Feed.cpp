#include "common/Feed.h"

#include "common/SampleArgs.h"

#include <cctype>

namespace vantrel::samples {

namespace {

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

}  // namespace

FeedValues parseFeed(const std::string& datagram) {
  FeedValues values;
  std::size_t start = 0;
  while (start <= datagram.size()) {
    std::size_t end = datagram.find(';', start);
    if (end == std::string::npos) end = datagram.size();
    const std::string pair = datagram.substr(start, end - start);
    const std::size_t eq = pair.find('=');
    if (eq != std::string::npos) {
      std::string name = trim(pair.substr(0, eq));
      const std::string value = trim(pair.substr(eq + 1));
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      double v = 0;
      if (!name.empty() && parseDecimal(value, v)) values[name] = v;
    }
    start = end + 1;
  }
  return values;
}

}  // namespace vantrel::samples
