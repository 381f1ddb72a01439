#include "instruments/SendTo.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "store/IniFile.h"
#include "store/PanelFolder.h"

namespace vantrel {

const char* const kSpreadsMessage =
    "The panel spreads accross multiple monitors. Cannot use this function!";

namespace {

// The INI files of the panel folder, in the order the folder lists them.
std::vector<std::string> iniFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const std::string& entry : listEntries(folder, "*.ini"))
    // A save's temporary file is no placement file, whatever its name ends in.
    if (!isSaveTempName(entry) && std::filesystem::is_regular_file(fsPath(joinPath(folder, entry)), ec))
      files.push_back(entry);
  return files;
}

}  // namespace

PanelIniKind panelIniKind(const std::string& fileName, const std::string& panelName) {
  if (fileName == panelName + ".ini") return PanelIniKind::PanelFile;
  if (sameTextIgnoreCase(fileName, "Scrimlay.ini")) return PanelIniKind::BackgroundFile;
  return PanelIniKind::Placement;
}

bool panelOnOneMonitor(const std::string& iniPath, const std::string& panelName) {
  const std::string folder = panelFolderPath(iniPath, panelName);
  std::optional<std::string> reference;
  for (const std::string& name : iniFiles(folder)) {
    if (panelIniKind(name, panelName) != PanelIniKind::Placement) continue;
    const std::string monitor = IniFile(joinPath(folder, name)).readString("Position", "Monitor", "");
    if (!reference) reference = monitor;
    else if (monitor != *reference) return false;
  }
  return true;
}

void sendPanelTo(const std::string& iniPath, const std::string& panelName, int k,
                 const MonitorInfo& monitor) {
  const std::string folder = panelFolderPath(iniPath, panelName);
  for (const std::string& name : iniFiles(folder)) {
    IniFile ini(joinPath(folder, name));
    switch (panelIniKind(name, panelName)) {
      case PanelIniKind::PanelFile:
        ini.writeInteger("Config", "PanelMonitor", k);
        break;
      case PanelIniKind::BackgroundFile:
        ini.writeInteger("Settings", "Monitor", k);
        ini.writeInteger("Settings", "Height", monitor.height);
        ini.writeInteger("Settings", "Width", monitor.width);
        ini.writeInteger("Position", "Top", monitor.top);
        ini.writeInteger("Position", "Left", monitor.left);
        break;
      case PanelIniKind::Placement:
        ini.writeInteger("Position", "Monitor", k);
        break;
    }
  }
}

}  // namespace vantrel
