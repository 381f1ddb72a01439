#pragma once
// Export and import of a whole panel as one archive file, shared by the main window and
// vantrel-panel. Every refusal is raised as an Error carrying the message text.
#include <string>

#include "store/Panel.h"

namespace vantrel {

// "No Panel or Instruments to export!"
extern const char* const kNothingToExportMessage;

// What comes before the archive file is chosen: refuses with kNothingToExportMessage when
// no panel is named or list has no row; returns false, doing nothing, when the panel
// folder is missing; otherwise writes the instrument list file (so the archive holds the
// list as shown) and returns true.
bool prepareExport(const std::string& iniPath, const std::string& panelName,
                   const InstrumentList& list, const std::string& multicastGroup,
                   const std::string& flightSimPort);
// Packs the files lying directly in the panel folder into archivePath, replacing it.
void writePanelArchive(const std::string& iniPath, const std::string& panelName,
                       const std::string& archivePath);

// The name an imported archive gives its panel: the file name without folder and last
// extension ("Cessna 172.vnx" gives "Cessna 172").
std::string importedPanelName(const std::string& archivePath);
// "Panel <name> already exists!"
std::string importExistsMessage(const std::string& name);
// "No Panel in <archive> - it holds no instrument list file"
std::string noPanelInArchiveMessage(const std::string& archivePath);

// Unpacks archivePath as the new panel importedPanelName(archivePath) and returns that
// name. The archive is unpacked into a temporary folder in the data folder; its
// instrument list file and panel file are renamed to the new name (and "PanelName"
// written) when the archive came from another name; only then does the folder become
// "Panel_" + name. Any failure removes the temporary folder and leaves the data folder as
// it was. Refused: a name no folder can hold, an existing panel, an archive that cannot
// be opened, holds an unsafe or damaged record, or holds no instrument list file.
std::string importPanel(const std::string& iniPath, const std::string& archivePath);

}  // namespace vantrel
