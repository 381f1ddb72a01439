#pragma once
// An instrument's placement file: file stem + instance number + ".ini" in the panel folder.
//   [Position] Monitor (0-based), X, Y (relative to that monitor's top-left corner),
//              IsLocked ("True"/"False")
//   [Size]     ScaleSize (the scale factor, decimal text)
// The instrument writes only these keys; every other line of the file stays as it was.
#include <string>

namespace vantrel::samples {

struct Placement {
  int Monitor = 0;
  int X = 0;
  int Y = 0;
  bool IsLocked = false;
  double ScaleSize = 1.0;
  bool HasScaleSize = false;  // the file holds a ScaleSize that reads as a positive number
};

// A missing file or key reads as its default.
Placement readPlacement(const std::string& path);
// Writes the five keys. A panel folder that does not exist is not created: the write then
// fails and false is returned, with nothing written anywhere.
bool writePlacement(const std::string& path, const Placement& p);
// "1", "1.25": at most two decimals, a point as separator.
std::string scaleText(double scale);

}  // namespace vantrel::samples
