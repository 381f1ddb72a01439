#include "common/Placement.h"

#include <cmath>
#include <filesystem>

#include "common/SampleArgs.h"
#include "store/IniFile.h"

namespace vantrel::samples {

namespace {

bool parseScale(const std::string& text, double& value) {
  double v = 0;
  if (!parseDecimal(text, v) || v <= 0) return false;
  value = v;
  return true;
}

}  // namespace

Placement readPlacement(const std::string& path) {
  const IniFile ini(path, FlagStyle::TrueFalse);
  Placement p;
  p.Monitor = ini.readInteger("Position", "Monitor", 0);
  p.X = ini.readInteger("Position", "X", 0);
  p.Y = ini.readInteger("Position", "Y", 0);
  p.IsLocked = ini.readBool("Position", "IsLocked", false);
  p.HasScaleSize = parseScale(ini.readString("Size", "ScaleSize", ""), p.ScaleSize);
  return p;
}

bool writePlacement(const std::string& path, const Placement& p) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_directory(std::filesystem::path(path).parent_path(), ec))
    return false;
  try {
    IniFile ini(path, FlagStyle::TrueFalse);
    ini.writeString("Position", "Monitor", std::to_string(p.Monitor));
    ini.writeString("Position", "X", std::to_string(p.X));
    ini.writeString("Position", "Y", std::to_string(p.Y));
    ini.writeBool("Position", "IsLocked", p.IsLocked);
    ini.writeString("Size", "ScaleSize", scaleText(p.ScaleSize));
    return true;
  } catch (...) {
    return false;
  }
}

std::string scaleText(double scale) {
  const long hundredths = std::lround(scale * 100);
  std::string s = std::to_string(hundredths / 100);
  const long rest = hundredths % 100;
  if (rest != 0) {
    s += '.';
    s += static_cast<char>('0' + rest / 10);
    if (rest % 10 != 0) s += static_cast<char>('0' + rest % 10);
  }
  return s;
}

}  // namespace vantrel::samples
