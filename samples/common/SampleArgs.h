#pragma once
// What a sample program is told on its command line, and where its panel's files lie.
//
// The manager starts every instrument and the background program with eleven tokens:
//   1 program path, 2 own port, 3 panel name, 4 local address (the multicast group for the
//   background program), 5 flight-simulator port, 6 size factor, 7 bezels "true"/"false",
//   8 the panel's monitor, 9 night mode "true"/"false", 10 instance number,
//   11 multicast group.
// On this system the manager splits the line by the Windows rules before the start, so the
// program sees the values without their quotes.
#include <string>
#include <vector>

namespace vantrel::samples {

struct SampleArgs {
  std::string ProgramPath;
  std::string Port;
  std::string PanelName;
  std::string LocalAddress;
  std::string FlightSimPort;
  double Size = 1.0;
  bool Bezels = true;
  int Monitor = 0;
  bool Lighting = false;
  int InstNo = 1;
  std::string MulticastGroup;
};

// A whole decimal number with "." or "," as separator, whatever the locale; false for
// anything else (and for infinities and NaN).
bool parseDecimal(std::string text, double& value);

// Missing tokens keep their defaults; a size written with a comma as decimal separator
// reads as with a point; a size that is not a positive number reads as 1.
SampleArgs parseSampleArgs(const std::vector<std::string>& argv);

// The file name without its first two characters ("P@") and its extension:
// ".../P@Airspeed.exe" gives "Airspeed".
std::string fileStemOf(const std::string& programPath);

// $APPDATA/Quorvane/Dexalune, else $XDG_CONFIG_HOME (absolute only) or ~/.config in place
// of $APPDATA: the folder the manager keeps its panels in. Empty when none can be told.
std::string dataFolder();
// dataFolder() + "/Panel_" + name.
std::string panelFolder(const std::string& panelName);

}  // namespace vantrel::samples
