#pragma once
// Send To: moving a whole panel (instruments, background, the panel's own monitor) to
// another monitor by rewriting the INI files of its panel folder.
#include <string>

#include "platform/Ui.h"

namespace vantrel {

// What an INI file of a panel folder is, by its name.
enum class PanelIniKind { PanelFile, BackgroundFile, Placement };
// The panel file is exactly panelName + ".ini"; the background file is "Scrimlay.ini" in
// any letter case; any other is an instrument's placement file.
PanelIniKind panelIniKind(const std::string& fileName, const std::string& panelName);

// "The panel spreads accross multiple monitors. Cannot use this function!"
extern const char* const kSpreadsMessage;

// True when every placement file of the panel folder names the same "Monitor" text (a
// missing key reads as empty); a folder without placement files passes.
bool panelOnOneMonitor(const std::string& iniPath, const std::string& panelName);

// Writes monitor index k to every file of the panel folder, and monitor's rectangle to
// the background file. Files written before a failed write keep their new values.
void sendPanelTo(const std::string& iniPath, const std::string& panelName, int k,
                 const MonitorInfo& monitor);

}  // namespace vantrel
