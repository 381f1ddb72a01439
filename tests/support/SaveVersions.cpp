#include "support/SaveVersions.h"

#include "store/IniFile.h"
#include "store/InstrumentFile.h"
#include "store/PanelFolder.h"

namespace vantrel::test {

namespace {
const char* const kGroup = "224.11.5.62";
const char* const kSimPort = "45000";
}  // namespace

InstrumentList stressList(int version) {
  InstrumentList list;
  const std::string tag = version ? "new" : "old";
  for (int i = 0; i < 300; ++i) {
    InstrumentRow r;
    r.Checked = (i + version) % 3 != 0;
    r.Caption = "Gauge " + std::to_string(1000 + i) + " " + tag;
    r.SubItems = {std::to_string(47000 + i), "Instruments_Brantic\\P@ASI.exe", kGroup, kSimPort,
                  version ? "1,5" : "0.75", std::to_string(i % 9 + 1)};
    list.rows().push_back(r);
  }
  // Sorted once: adding row by row would sort 300 times over.
  list.sort();
  return list;
}

Settings stressSettings(int version) {
  Settings s;
  const std::string pad(200, version ? 'b' : 'a');
  s.ListenPort = version ? "48001" : "48000";
  s.MulticastGroup = version ? "239.1.2.3" : "224.11.5.62";
  s.FlightSimPort = version ? "45001" : "45000";
  s.PanelSwitching = version;
  s.NoThirdPartyApp = !version;
  s.AutoStart = version;
  s.AircraftIDPrefix = "prefix " + pad;
  s.AircraftIDSuffix = "suffix " + pad;
  s.MonitorChecking = version;
  s.DeclutterDesktop = !version;
  s.XPlanePopOutChecking = version;
  s.XPlanePopOutCheckingInterval = version ? 20000 : 15000;
  s.XPlanePopOutCheckingMax = version ? 300000 : 240000;
  return s;
}

std::string stressPanelComment(int version) { return std::string(2000, version ? 'N' : 'O'); }

void saveVersion(const std::string& iniPath, const std::string& settingsPath, int version) {
  saveInstrumentFile(iniPath, kStressPanel, stressList(version), kGroup, kSimPort);
  IniFile(panelFilePath(iniPath, kStressPanel), FlagStyle::OneZero)
      .writeString("Config", "Comment", stressPanelComment(version));
  writeNetworkSettings(settingsPath, stressSettings(version));
}

}  // namespace vantrel::test
