#pragma once
// The rows the instrument commands put into a panel's instrument list, and the placement
// file each instrument row owns in the panel folder.
#include <string>

#include "store/Panel.h"

namespace vantrel {

// One more than the highest instance number among the rows whose caption is exactly
// caption, counting from 0; an "InstNo" that is no whole number does not count.
std::string nextInstanceNumber(const InstrumentList& list, const std::string& caption);

// A checked instrument row: caption, port, relative executable path, the configured
// multicast group and flight-simulator port, size, instance number.
InstrumentRow instrumentRow(const std::string& caption, const std::string& port,
                            const std::string& pathName, const std::string& multicastGroup,
                            const std::string& flightSimPort, const std::string& instNo);

// The caption of an application: its path's file name without folder and extension
// (either delimiter counts, so Windows paths and POSIX paths both work).
std::string applicationCaption(const std::string& path);
// A checked application row: "App", the path and the parameter text exactly as given.
InstrumentRow applicationRow(const std::string& path, const std::string& parameters);

// Replaces the row at index by row (which takes its place by caption); returns its index.
std::size_t replaceRow(InstrumentList& list, std::size_t index, InstrumentRow row);

// The placement file of an instrument row in the panel folder: file stem of its
// executable + its instance number + ".ini" ("Torque2.ini").
std::string placementFilePath(const std::string& iniPath, const std::string& panelName,
                              const InstrumentRow& row);

// Removes the row at index; an instrument row's placement file goes with it, when there
// is one. Application rows own no file.
void removeInstrumentRow(const std::string& iniPath, const std::string& panelName,
                         InstrumentList& list, std::size_t index);

// Writes the default placement into the file at path, creating it when missing; every
// other key stays.
void resetPlacement(const std::string& path);

}  // namespace vantrel
