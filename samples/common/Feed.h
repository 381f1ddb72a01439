#pragma once
// Needle values from the flight-simulator port.
//
// One datagram is plain text: name=value pairs separated by ";", for example
//   ias=95.2;alt=3500;hdg=270;pitch=2;roll=-5;rpm=2300;vsi=500
// Names are matched without regard to case, blanks around names and values are ignored,
// and a pair whose value is not a number is left out. Names the samples read:
//   ias (knots), alt (feet), baro (inHg), hdg (degrees), pitch, roll (degrees), rpm,
//   vsi (feet per minute), n1 (percent), fuel (gallons), oilp (psi), volts, vac (inHg),
//   brake (0 or 1).
#include <map>
#include <string>

namespace vantrel::samples {

using FeedValues = std::map<std::string, double>;

// The pairs of one datagram, names in lower case.
FeedValues parseFeed(const std::string& datagram);

}  // namespace vantrel::samples
