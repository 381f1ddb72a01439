#pragma once
// The command lines a running panel's programs are started with.
#include <array>
#include <string>
#include <vector>

#include "store/Panel.h"

namespace vantrel {

// What every program of one start shares.
struct LaunchContext {
  std::string AppPath;  // with its trailing delimiter
  std::string PanelName;
  std::string LocalAddress;
  std::string MulticastGroup;
  std::string FlightSimPort;
  std::string Bezels;    // "true" / "false"
  std::string Monitor;   // the panel's monitor text
  std::string Lighting;  // "true" / "false"
  char DecimalSeparator = '.';
};

using LaunchTokens = std::array<std::string, 11>;

// A double quote, the value, a double quote; nothing inside is escaped.
std::string quoted(const std::string& value);
// The background program's eleven tokens: port 0, size 0, instance 1, and the multicast
// group where an instrument gets the local address.
LaunchTokens backgroundTokens(const LaunchContext& c);
// A catalog instrument row's eleven tokens.
LaunchTokens instrumentTokens(const LaunchContext& c, const InstrumentRow& row);
// The tokens joined by one blank each.
std::string joinTokens(const LaunchTokens& tokens);

// An application row's parameter text split at every comma. Blanks belong to the
// parameter; a piece beginning with a double quote runs to its closing quote (a doubled
// quote inside is one) and may hold commas; a comma at the very end adds an empty last
// parameter; an empty text gives none.
std::vector<std::string> splitParameters(const std::string& text);
// The quoted path and one blank, then each parameter quoted and followed by one blank.
std::string applicationCommandLine(const std::string& path,
                                   const std::vector<std::string>& parameters);

// 0: the monitors match the panel's; 1: the counts differ; 2: a width or height of
// monitors 0 to 3 differs.
int compareMonitors(const MonitorTable& current, const MonitorTable& panel);

}  // namespace vantrel
