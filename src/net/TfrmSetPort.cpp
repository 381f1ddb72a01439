#include "net/TfrmSetPort.h"

#include <charconv>
#include <limits>

#include "platform/Error.h"
#include "platform/Text.h"

namespace vantrel {

namespace {

void name(TControl& c, const char* n, const char* caption = "") {
  c.Name = n;
  c.Caption = caption;
}

// The whole number of a pop-out field times unit; the field's text names the failure.
std::int32_t timeOf(const std::string& text, std::int64_t unit) {
  const std::int64_t value = static_cast<std::int64_t>(strToInt(text)) * unit;
  // A time that does not fit would be stored wrapped round, so it fails like a bad number.
  if (value > std::numeric_limits<std::int32_t>::max() ||
      value < std::numeric_limits<std::int32_t>::min())
    throw conversionError(text);
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::string shortestDecimal(std::int64_t value, std::int64_t divisor, char separator) {
  char buffer[64];
  const double number = static_cast<double>(value) / static_cast<double>(divisor);
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
  std::string text(buffer, r.ptr);
  for (char& c : text)
    if (c == '.') c = separator;
  return text;
}

TfrmSetPort::TfrmSetPort(char decimalSeparator) : separator_(decimalSeparator) {
  Name = "frmSetPort";
  Caption = "Vantrel Network Config";
  ClientWidth = 344;
  ClientHeight = 477;
  name(lMulti, "lMulti", "Multicast Group Address");
  name(edMulti, "edMulti");
  name(lPort, "lPort", "Listen Port No");
  name(edPort, "edPort");
  name(lXPort, "lXPort", "Flight Sim Port No");
  name(edXPort, "edXPort");
  name(cbPanelSwitching, "cbPanelSwitching", "Enable Panel Switching");
  name(gbPanelSwitching, "gbPanelSwitching");
  gbPanelSwitching.Enabled = false;
  name(cbAutoStart, "cbAutoStart", "Auto start with flight sim");
  name(cbNoThirdParty, "cbNoThirdParty", "Disable loading of 3rd party Apps");
  name(lPrefix, "lPrefix", "Prefix");
  name(edPrefix, "edPrefix");
  name(lAircraftID, "lAircraftID", "Aircraft ID");
  name(edSUffix, "edSUffix");
  name(lSuffix, "lSuffix", "Suffix");
  name(cbMonitorChecking, "cbMonitorChecking", "Enable Monitor Checking");
  cbMonitorChecking.Hint =
      "Enables the ckecking of current monitors with configured panel monitors";
  name(cbDeclutter, "cbDeclutter", "De-clutter desktop on start");
  cbDeclutter.Hint = "Hides icons and minimizes any running programs";
  name(lDeclutterNote, "lDeclutterNote", "(if using 'No Background' in Panel)");
  name(cbXPlanePopOuts, "cbXPlanePopOuts", "Check for minimized X-Plane pop-outs every");
  cbXPlanePopOuts.Hint = "Check for minimized X-Plane pop-outs every X seconds ";
  name(edXPlanePopOuts, "edXPlanePopOuts");
  edXPlanePopOuts.Text = "20";
  name(lXPlanePopOuts, "lXPlanePopOuts", "secs");
  name(edXPlanePopOutsMaxMins, "edXPlanePopOutsMaxMins");
  edXPlanePopOutsMaxMins.Text = "5";
  name(lXPlanePopOutsMaxMins, "lXPlanePopOutsMaxMins",
       "for the first               minutes after panel start.");
  name(btnOK, "btnOK", "OK");
  name(btnCancel, "btnCancel", "Cancel");
}

void TfrmSetPort::setPanelSwitching(bool checked) {
  const bool changed = cbPanelSwitching.Checked != checked;
  cbPanelSwitching.Checked = checked;
  if (changed) cbPanelSwitchingClick();
}

void TfrmSetPort::cbPanelSwitchingClick() { gbPanelSwitching.Enabled = cbPanelSwitching.Checked; }

void TfrmSetPort::Fill(const NetworkSettingsRef& s, bool popOutProgramPresent) {
  edPort.Text = s.ListenPort;
  edXPort.Text = s.FlightSimPort;
  edMulti.Text = s.MulticastGroup;
  setPanelSwitching(s.PanelSwitching);
  cbMonitorChecking.Checked = s.MonitorChecking;
  cbDeclutter.Checked = s.DeclutterDesktop;
  cbAutoStart.Checked = s.AutoStart;
  // The box says "Disable", the key's "yes" means application rows start: the box shows
  // the key's opposite so that checking it really keeps them from starting.
  cbNoThirdParty.Checked = !s.NoThirdPartyApp;
  edPrefix.Text = s.AircraftIDPrefix;
  edSUffix.Text = s.AircraftIDSuffix;

  for (TControl* c : {static_cast<TControl*>(&cbXPlanePopOuts), static_cast<TControl*>(&lXPlanePopOuts),
                      static_cast<TControl*>(&edXPlanePopOuts),
                      static_cast<TControl*>(&edXPlanePopOutsMaxMins),
                      static_cast<TControl*>(&lXPlanePopOutsMaxMins)})
    c->Visible = popOutProgramPresent;
  if (popOutProgramPresent) {
    cbXPlanePopOuts.Checked = s.XPlanePopOutChecking;
    edXPlanePopOuts.Text = shortestDecimal(s.XPlanePopOutCheckingInterval, 1000, separator_);
    edXPlanePopOutsMaxMins.Text = shortestDecimal(s.XPlanePopOutCheckingMax, 60000, separator_);
  } else {
    cbXPlanePopOuts.Checked = false;
  }
}

void TfrmSetPort::Apply(const NetworkSettingsRef& s, bool popOutProgramPresent) const {
  s.ListenPort = edPort.Text;
  s.MulticastGroup = edMulti.Text;
  s.FlightSimPort = edXPort.Text;
  s.PanelSwitching = cbPanelSwitching.Checked;
  s.MonitorChecking = cbMonitorChecking.Checked;
  s.NoThirdPartyApp = !cbNoThirdParty.Checked;
  s.DeclutterDesktop = cbDeclutter.Checked;
  s.AutoStart = cbAutoStart.Checked;
  s.AircraftIDPrefix = edPrefix.Text;
  s.AircraftIDSuffix = edSUffix.Text;
  s.XPlanePopOutChecking = cbXPlanePopOuts.Checked && popOutProgramPresent;
  s.XPlanePopOutCheckingInterval = timeOf(edXPlanePopOuts.Text, 1000);
  s.XPlanePopOutCheckingMax = timeOf(edXPlanePopOutsMaxMins.Text, 60000);
}

}  // namespace vantrel
