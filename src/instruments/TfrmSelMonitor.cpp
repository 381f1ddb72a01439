#include "instruments/TfrmSelMonitor.h"

#include <string>

namespace vantrel {

TfrmSelMonitor::TfrmSelMonitor() {
  Name = "frmSelMonitor";
  Caption = "Select Monitor";
  ClientWidth = 307;
  ClientHeight = 117;
  lInfo.Name = "lInfo";
  lInfo.Caption = "Select which monitor to display the instruments on.";
  gbMonitor.Name = "gbMonitor";
  lMonitor.Name = "lMonitor";
  lMonitor.Caption = "Monitor";
  cbMonitor.Name = "cbMonitor";
  cbMonitor.Width = 48;
  btnOK.Name = "btnOK";
  btnOK.Caption = "OK";
  btnCancel.Name = "btnCancel";
  btnCancel.Caption = "Cancel";
}

void TfrmSelMonitor::fillMonitorList(int monitorCount) {
  cbMonitor.Items.clear();
  for (int i = 1; i <= monitorCount; ++i) cbMonitor.Items.push_back(std::to_string(i));
  cbMonitor.ItemIndex = cbMonitor.Items.empty() ? -1 : 0;
}

}  // namespace vantrel
