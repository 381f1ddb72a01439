#pragma once
// Panel folders in the data folder and the panel file inside each.
#include <string>

#include "platform/Ui.h"
#include "store/Panel.h"

namespace vantrel {

// iniPath + delimiter + "Panel_" + name.
std::string panelFolderPath(const std::string& iniPath, const std::string& name);
// The panel file: the panel folder + delimiter + name + ".ini".
std::string panelFilePath(const std::string& iniPath, const std::string& name);

// Finds the panel folder of name and refills list from its instrument list file.
// Exact: the folder "Panel_" + name must exist; the found name is name.
// Partial: the first plain directory matching "Panel_*" whose folder name contains name
// (case-sensitive); the found name is that folder name without its "Panel_" prefix.
// Not found: reports "Panel <name> configuration is missing! - Create Panel again" when
// reportMissing is set and returns false with list untouched.
// Found but the instrument list file is missing or damaged: the error is always reported,
// list is left empty and false is returned, so the caller treats it as a missing panel.
bool OpenPanel(const std::string& iniPath, InstrumentList& list, Ui& ui, const std::string& name,
               bool reportMissing, bool partial, std::string& foundName);

// Reads the panel file of name into currentPanel and state. Nothing happens for an empty
// name; a missing file gives the defaults. A "No_of_Screens" that is not a whole number
// throws a conversion error after currentPanel and state.PanelMonitor were taken.
void ReadPanelFile(const std::string& iniPath, const std::string& name, std::string& currentPanel,
                   PanelState& state);

// Copies the files of the panel folder of source into the existing panel folder of
// target; a file named after the source panel (its name and four more characters) takes
// target's name, and the copy's panel file names target as "PanelName". Subfolders and
// unreadable files are skipped.
void copyPanelFiles(const std::string& iniPath, const std::string& source,
                    const std::string& target);

// Removes the files and links of the panel folder of name, then the folder when it is
// empty. A subfolder stays and is never entered.
void removePanelFolder(const std::string& iniPath, const std::string& name);

// Clears the panel state as Delete Panel leaves it; the monitor table is kept.
void ResetPanelState(std::string& currentPanel, PanelState& state);

// A panel name a folder name can hold: not empty, no \ / : * ? " < > |, no control
// character, no trailing blank or dot, not "." or "..".
bool isValidPanelName(const std::string& name);
std::string invalidPanelNameMessage(const std::string& name);
// "Panel <name> already exists! - Choose a different name"
std::string panelExistsMessage(const std::string& name);

}  // namespace vantrel
