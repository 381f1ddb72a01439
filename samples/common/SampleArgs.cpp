#include "common/SampleArgs.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vantrel::samples {

namespace {

std::string token(const std::vector<std::string>& argv, std::size_t i) {
  return i < argv.size() ? argv[i] : std::string();
}

int toInt(const std::string& text, int fallback) {
  try {
    std::size_t used = 0;
    const int v = std::stoi(text, &used);
    return used == text.size() ? v : fallback;
  } catch (...) {
    return fallback;
  }
}

double toSize(const std::string& text) {
  double v = 0;
  return parseDecimal(text, v) && v > 0 ? v : 1.0;
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

}  // namespace

bool parseDecimal(std::string text, double& value) {
  for (char& c : text)
    if (c == ',') c = '.';
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  double v = 0;
  const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::fixed);
  if (ec != std::errc() || end != last || first == last || !std::isfinite(v)) return false;
  value = v;
  return true;
}

SampleArgs parseSampleArgs(const std::vector<std::string>& argv) {
  SampleArgs a;
  a.ProgramPath = token(argv, 0);
  a.Port = token(argv, 1);
  a.PanelName = token(argv, 2);
  a.LocalAddress = token(argv, 3);
  a.FlightSimPort = token(argv, 4);
  if (argv.size() > 5) a.Size = toSize(argv[5]);
  if (argv.size() > 6) a.Bezels = argv[6] == "true";
  a.Monitor = toInt(token(argv, 7), 0);
  if (argv.size() > 8) a.Lighting = argv[8] == "true";
  a.InstNo = toInt(token(argv, 9), 1);
  a.MulticastGroup = token(argv, 10);
  return a;
}

std::string fileStemOf(const std::string& programPath) {
  std::string name = programPath;
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name = name.substr(0, dot);
  return name.size() > 2 ? name.substr(2) : std::string();
}

std::string dataFolder() {
  std::string base = env("APPDATA");
  if (base.empty()) {
    const std::string xdg = env("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg[0] == '/') {
      base = xdg;
    } else if (!env("HOME").empty()) {
      base = env("HOME") + "/.config";
    }
  }
  return base.empty() ? std::string() : base + "/Quorvane/Dexalune";
}

std::string panelFolder(const std::string& panelName) {
  const std::string data = dataFolder();
  return data.empty() || panelName.empty() ? std::string() : data + "/Panel_" + panelName;
}

}  // namespace vantrel::samples
