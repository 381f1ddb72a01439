#pragma once
// The instrument list file: panel name + ".cfg" in the panel folder, one line of eight
// quoted, comma-separated fields per row, lines ended by CR LF.
#include <array>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "store/Panel.h"

namespace vantrel {

// The panel folder of name + delimiter + name + ".cfg".
std::string instrumentFilePath(const std::string& iniPath, const std::string& name);

// Splits one line by the comma-text rules: blanks and control characters around fields
// are skipped; a quoted field runs to its closing quote ("" stands for one quote) or to
// the end of the line; an unquoted field ends at a blank, control character or comma; a
// comma that ends the line adds an empty field; text right after a closing quote starts a
// new field.
std::vector<std::string> splitCommaText(const std::string& line);

// The row's own eight fields in the file's order: caption, port, path, "Y"/"N", address
// (an application's parameters), flight-simulator port, size, instance number; an
// application row has its parameters and three empty fields.
std::array<std::string, 8> instrumentFields(const InstrumentRow& row);

// The line of one row (without its line end). Fields 5 and 6 of an instrument row are the
// multicast group and flight-simulator port in force now, never the row's own columns.
std::string instrumentLine(const InstrumentRow& row, const std::string& multicastGroup,
                           const std::string& flightSimPort);
// The whole file for list, each line ended by CR LF.
std::string instrumentFileText(const InstrumentList& list, const std::string& multicastGroup,
                               const std::string& flightSimPort);

// Appends the rows of text to list. False, with problem set, when a line holds fewer than
// eight fields; the rows before it have been appended.
bool parseInstrumentText(const std::string& text, const std::string& path, InstrumentList& list,
                         std::string& problem);
// Reads the file at path into list. False, with problem set, when the file is missing or
// damaged.
bool readInstrumentFile(const std::string& path, InstrumentList& list, std::string& problem);

// Writes list to the file of panel name, creating the panel folder (not the data folder)
// when it is missing. The file is replaced whole, so a failed write leaves the old one.
// An empty name writes nothing. Throws "Unable to write to %s" on failure.
void saveInstrumentFile(const std::string& iniPath, const std::string& name,
                        const InstrumentList& list, const std::string& multicastGroup,
                        const std::string& flightSimPort);

// Repairs rows whose executable moved to another set folder of the catalog in appPath,
// reports the ones that cannot be found, and folds ports 47001..47099 into 47000.
void CheckInstrumentFiles(const std::string& appPath, InstrumentList& list, Ui& ui);

}  // namespace vantrel
