#include "app/Settings.h"

#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "store/IniFile.h"

namespace vantrel {

namespace {

const std::string kSection = "Config";

}  // namespace

std::string dataFolderPath(const std::string& appData) {
  return appData + PathDelim + "Quorvane" + PathDelim + "Dexalune";
}

std::string programFolderPath(const std::string& executablePath) {
  const std::u8string exe(executablePath.begin(), executablePath.end());
  std::string folder = pathText(std::filesystem::path(exe).parent_path());
  if (folder.empty() || folder.back() != PathDelim) folder += PathDelim;
  return folder;
}

std::string programSettingsPath(const std::string& iniPath, const std::string& appPath) {
#ifdef _WIN32
  const char* const program = "Vantrel.exe";
#else
  const char* const program = "vantrel";
#endif
  return settingsFilePath(iniPath, joinPath(appPath, program));
}

std::string settingsFilePath(const std::string& iniPath, const std::string& executablePath) {
  return joinPath(iniPath, changeFileExt(extractFileName(executablePath), ".ini"));
}

bool popOutCheckingAvailable(bool wanted, const std::string& appPath) {
  if (!wanted) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(fsPath(joinPath(appPath, "Popwarden.exe")), ec);
}

Settings readSettings(const std::string& settingsPath, const std::string& appPath) {
  const IniFile ini(settingsPath, FlagStyle::YesNo);
  Settings s;
  s.MulticastGroup = ini.readString(kSection, "MulticastGroup", s.MulticastGroup);
  s.FlightSimPort = ini.readString(kSection, "FlightSimPort", s.FlightSimPort);
  s.ListenPort = ini.readString(kSection, "ListenPort", s.ListenPort);
  s.AdapterIPAddress = ini.readString(kSection, "AdapterIPAddress", s.AdapterIPAddress);
  s.PanelSwitching = ini.readBool(kSection, "PanelSwitching", s.PanelSwitching);
  s.AutoStart = ini.readBool(kSection, "AutoStart", s.AutoStart);
  s.XPlanePopOutChecking =
      popOutCheckingAvailable(ini.readBool(kSection, "XPlanePopOutChecking", true), appPath);
  s.XPlanePopOutCheckingInterval =
      ini.readInteger(kSection, "XPlanePopOutCheckingInterval", s.XPlanePopOutCheckingInterval);
  s.XPlanePopOutCheckingMax =
      ini.readInteger(kSection, "XPlanePopOutCheckingMax", s.XPlanePopOutCheckingMax);
  s.MonitorChecking = ini.readBool(kSection, "MonitorChecking", s.MonitorChecking);
  s.NoThirdPartyApp = ini.readBool(kSection, "NoThirdPartyApp", s.NoThirdPartyApp);
  s.AircraftIDPrefix = ini.readString(kSection, "AircraftIDPrefix", s.AircraftIDPrefix);
  s.AircraftIDSuffix = ini.readString(kSection, "AircraftIDSuffix", s.AircraftIDSuffix);
  s.DeclutterDesktop = ini.readBool(kSection, "DeclutterDesktop", s.DeclutterDesktop);
  return s;
}

std::string readLastPanel(const std::string& settingsPath) {
  return IniFile(settingsPath, FlagStyle::YesNo).readString(kSection, "LastPanelUsed", "");
}

void writeNetworkSettings(const std::string& settingsPath, const Settings& s) {
  IniFile ini(settingsPath, FlagStyle::YesNo);
  ini.writeString(kSection, "ListenPort", s.ListenPort);
  ini.writeString(kSection, "MulticastGroup", s.MulticastGroup);
  ini.writeString(kSection, "FlightSimPort", s.FlightSimPort);
  ini.writeBool(kSection, "PanelSwitching", s.PanelSwitching);
  ini.writeBool(kSection, "NoThirdPartyApp", s.NoThirdPartyApp);
  ini.writeBool(kSection, "AutoStart", s.AutoStart);
  ini.writeString(kSection, "AircraftIDPrefix", s.AircraftIDPrefix);
  ini.writeString(kSection, "AircraftIDSuffix", s.AircraftIDSuffix);
  ini.writeBool(kSection, "MonitorChecking", s.MonitorChecking);
  ini.writeBool(kSection, "DeclutterDesktop", s.DeclutterDesktop);
  ini.writeBool(kSection, "XPlanePopOutChecking", s.XPlanePopOutChecking);
  ini.writeInteger(kSection, "XPlanePopOutCheckingInterval", s.XPlanePopOutCheckingInterval);
  ini.writeInteger(kSection, "XPlanePopOutCheckingMax", s.XPlanePopOutCheckingMax);
}

void writeLastPanel(const std::string& settingsPath, const std::string& panelName) {
  IniFile(settingsPath, FlagStyle::YesNo).writeString(kSection, "LastPanelUsed", panelName);
}

void writeAdapterAddress(const std::string& settingsPath, const std::string& address) {
  IniFile(settingsPath, FlagStyle::YesNo).writeString(kSection, "AdapterIPAddress", address);
}

}  // namespace vantrel
