#pragma once
// The panel file and the background file ("Scrimlay.ini") as the Panel Setup dialog
// edits them, and the panel's copy of its background picture.
#include <string>

#include "platform/Ui.h"
#include "store/TfrmPanel.h"

namespace vantrel {

// The background file of the panel name: panel folder + delimiter + "Scrimlay.ini".
std::string backgroundFilePath(const std::string& iniPath, const std::string& name);

// Fills the dialog from the panel file and the background file of the panel name.
// A "FrameColor" that is neither a colour name nor a number throws a conversion error.
void LoadPanelSetup(TfrmPanel& form, const std::string& iniPath, const std::string& name);

// Writes the panel file's and the background file's keys from the dialog, copying a newly
// chosen picture into the panel folder as "ScrimlayImage" + its extension. The screen keys
// come from ui.monitors() at this moment. Throws "Unable to write to %s" when the panel
// folder cannot be written, and a conversion error for a Top or Left that is no whole
// number (after the panel file and the "Settings" keys were written).
void WritePanelFiles(TfrmPanel& form, const std::string& iniPath, const std::string& name,
                     Ui& ui);

}  // namespace vantrel
