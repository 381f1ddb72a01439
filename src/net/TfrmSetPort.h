#pragma once
// The Network Config dialog: edits every setting of the settings file but the adapter
// address and the last panel.
#include <cstdint>
#include <string>

#include "platform/Forms.h"

namespace vantrel {

// The in-memory settings the dialog edits, owned by the caller. OK assigns them step by
// step, so a failing step leaves the earlier ones assigned.
struct NetworkSettingsRef {
  std::string& ListenPort;
  std::string& MulticastGroup;
  std::string& FlightSimPort;
  bool& PanelSwitching;
  bool& MonitorChecking;
  bool& NoThirdPartyApp;
  bool& DeclutterDesktop;
  bool& AutoStart;
  std::string& AircraftIDPrefix;
  std::string& AircraftIDSuffix;
  bool& XPlanePopOutChecking;
  std::int32_t& XPlanePopOutCheckingInterval;
  std::int32_t& XPlanePopOutCheckingMax;
};

// A check box with a hint shown when the pointer rests on it.
struct THintCheckBox : TCheckBox {
  std::string Hint;
};

class TfrmSetPort : public TForm {
 public:
  explicit TfrmSetPort(char decimalSeparator);

  TLabel lMulti;
  TEdit edMulti;
  TLabel lPort;
  TEdit edPort;
  TLabel lXPort;
  TEdit edXPort;
  TCheckBox cbPanelSwitching;
  TControl gbPanelSwitching;
  TCheckBox cbAutoStart;
  TCheckBox cbNoThirdParty;
  TLabel lPrefix;
  TEdit edPrefix;
  TLabel lAircraftID;  // italic
  TEdit edSUffix;
  TLabel lSuffix;
  THintCheckBox cbMonitorChecking;
  THintCheckBox cbDeclutter;
  TLabel lDeclutterNote;  // italic
  THintCheckBox cbXPlanePopOuts;
  TEdit edXPlanePopOuts;  // right-aligned
  TLabel lXPlanePopOuts;
  TEdit edXPlanePopOutsMaxMins;  // right-aligned, in the gap of the label below
  TLabel lXPlanePopOutsMaxMins;
  TButton btnOK;
  TButton btnCancel;

  // Checking or unchecking the box runs cbPanelSwitchingClick, as a click does.
  void setPanelSwitching(bool checked);
  void cbPanelSwitchingClick();

  // Fills the controls from the settings. popOutProgramPresent: Popwarden.exe lies in the
  // program's folder.
  void Fill(const NetworkSettingsRef& settings, bool popOutProgramPresent);
  // OK: takes the controls into the settings in order. A pop-out field that is not a whole
  // number (or whose time does not fit) throws "'%s' is not a valid integer value".
  void Apply(const NetworkSettingsRef& settings, bool popOutProgramPresent) const;

 private:
  char separator_;
};

// value / divisor in its shortest decimal form, with separator as the decimal separator.
std::string shortestDecimal(std::int64_t value, std::int64_t divisor, char separator);

}  // namespace vantrel
