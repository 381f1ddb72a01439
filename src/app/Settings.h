#pragma once
// The settings file: section "Config" of the executable's name + ".ini" in the data folder.
#include <cstdint>
#include <string>

namespace vantrel {

struct Settings {
  std::string MulticastGroup = "224.11.5.62";
  std::string FlightSimPort = "45000";
  std::string ListenPort = "48000";
  std::string AdapterIPAddress = "Auto";
  bool PanelSwitching = false;
  bool AutoStart = false;
  bool NoThirdPartyApp = true;
  std::string AircraftIDPrefix;
  std::string AircraftIDSuffix;
  bool MonitorChecking = false;
  bool DeclutterDesktop = false;
  // Stored "yes" and Popwarden.exe beside the program when it was read.
  bool XPlanePopOutChecking = true;
  std::int32_t XPlanePopOutCheckingInterval = 15000;
  std::int32_t XPlanePopOutCheckingMax = 240000;
};

// The data folder under appData: appData + delimiter + "Quorvane" + delimiter + "Dexalune".
std::string dataFolderPath(const std::string& appData);
// The folder of executablePath with a trailing delimiter (AppPath).
std::string programFolderPath(const std::string& executablePath);
// The window program's settings file in iniPath, for a tool that lies beside it in appPath.
std::string programSettingsPath(const std::string& iniPath, const std::string& appPath);

// IniPath + delimiter + the executable's file name with its extension replaced by ".ini".
std::string settingsFilePath(const std::string& iniPath, const std::string& executablePath);

// Reads every key in the fixed order; missing keys and a missing file give the defaults.
Settings readSettings(const std::string& settingsPath, const std::string& appPath);
std::string readLastPanel(const std::string& settingsPath);

// The thirteen keys written by the Network Config dialog's OK, in their order.
void writeNetworkSettings(const std::string& settingsPath, const Settings& settings);
void writeLastPanel(const std::string& settingsPath, const std::string& panelName);
void writeAdapterAddress(const std::string& settingsPath, const std::string& address);

// The pop-out rule: checked (or stored "yes") and Popwarden.exe present in appPath now.
bool popOutCheckingAvailable(bool wanted, const std::string& appPath);

}  // namespace vantrel
