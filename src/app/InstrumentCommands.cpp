// The Instruments group (Add Instrument, Add 3rd Party App, Edit Settings, Remove, Reset
// Position), the instrument list's double click, and Send To of the Panel group.
#include "app/TfrmMain.h"
#include "instruments/InstrumentRows.h"
#include "instruments/SendTo.h"
#include "instruments/TfrmAdd3rdParty.h"
#include "instruments/TfrmSelMonitor.h"
#include "store/IniFile.h"
#include "store/PanelFolder.h"

namespace vantrel {

namespace {

// The selected row of the instrument list, or nullptr.
InstrumentRow* selectedRow(TfrmMain& m) {
  auto& rows = m.Instruments.rows();
  const int i = m.lvInstrumentsSelected;
  return i >= 0 && i < static_cast<int>(rows.size()) ? &rows[i] : nullptr;
}

// Keeps the selection on the same row when a row is added in front of it.
void rowAddedAt(TfrmMain& m, std::size_t index) {
  if (m.lvInstrumentsSelected >= static_cast<int>(index)) ++m.lvInstrumentsSelected;
}

}  // namespace

void TfrmMain::aAddInstrumentExecute() {
  TfrmAddInstrument& d = frmAddInstrument;
  d.setFixedWidth(TfrmAddInstrument::AddWidth);
  d.lName.Caption.clear();
  d.edPathName.Text.clear();
  d.edPort.Text.clear();
  d.Caption = TfrmAddInstrument::AddCaption;
  if (ui.showModal(d) != ModalResult::OK) return;

  for (const std::size_t index :
       d.AddCheckedInstruments(Instruments, settings.MulticastGroup, settings.FlightSimPort))
    rowAddedAt(*this, index);
}

void TfrmMain::a3rdPartyExecute() {
  TfrmAdd3rdParty d(ui);
  if (ui.showModal(d) != ModalResult::OK) return;
  rowAddedAt(*this, Instruments.add(applicationRow(d.edAppName.Text, d.edParameters.Text)));
}

void TfrmMain::aEditInstrumentExecute() {
  InstrumentRow* row = selectedRow(*this);
  if (!row) return;
  const std::size_t index = static_cast<std::size_t>(lvInstrumentsSelected);

  if (row->isApplication()) {
    TfrmAdd3rdParty d(ui);
    d.edAppName.Text = row->SubItems[1];
    d.edParameters.Text = row->SubItems[2];
    if (ui.showModal(d) != ModalResult::OK) return;
    lvInstrumentsSelected = static_cast<int>(
        replaceRow(Instruments, index, applicationRow(d.edAppName.Text, d.edParameters.Text)));
    return;
  }

  TfrmAddInstrument& d = frmAddInstrument;
  d.setFixedWidth(TfrmAddInstrument::EditWidth);
  d.lName.Caption = row->Caption;
  d.edPathName.Text = row->SubItems[1];
  d.edPort.Text = row->SubItems[0];
  const std::string instNo = row->SubItems[5];
  const std::string caption = row->Caption;
  d.Caption = "Edit Instrument";
  if (ui.showModal(d) != ModalResult::OK) return;
  // A description that gives no name must not leave the row without one.
  const std::string name = d.lName.Caption.empty() ? caption : d.lName.Caption;
  lvInstrumentsSelected = static_cast<int>(
      replaceRow(Instruments, index,
                 instrumentRow(name, d.edPort.Text, d.edPathName.Text, settings.MulticastGroup,
                               settings.FlightSimPort, instNo)));
}

void TfrmMain::lvInstrumentsDblClick() {
  // Works while a panel runs; a locked window's list takes no clicks.
  if (!lvInstrumentsEnabled) return;
  aEditInstrumentExecute();
}

void TfrmMain::aDeleteInstrumentExecute() {
  if (!selectedRow(*this)) return;
  removeInstrumentRow(IniPath, CurrentPanel, Instruments,
                      static_cast<std::size_t>(lvInstrumentsSelected));
  lvInstrumentsSelected = -1;
}

void TfrmMain::aResetPosExecute() {
  const InstrumentRow* row = selectedRow(*this);
  if (!row) return;
  if (row->isApplication()) {
    ui.messageBox(MsgType::Warning, "Reset position not available for 3rd party applications",
                  MsgButtons::OK);
    return;
  }
  if (ui.messageBox(MsgType::Confirmation, "Confirm to reset position of " + row->Caption,
                    MsgButtons::YesNo) != ModalResult::Yes)
    return;
  resetPlacement(placementFilePath(IniPath, CurrentPanel, *row));
}

void TfrmMain::aSendToMonitorExecute() {
  if (CurrentPanel.empty()) return;
  if (!panelOnOneMonitor(IniPath, CurrentPanel)) {
    ui.messageBox(MsgType::Error, kSpreadsMessage, MsgButtons::OK);
    return;
  }
  TfrmSelMonitor d;
  d.fillMonitorList(MonitorCount);
  if (ui.showModal(d) != ModalResult::OK) return;

  BusyPointer busy(ui);
  const int k = d.cbMonitor.ItemIndex;
  const std::vector<MonitorInfo> monitors = ui.monitors();
  // A monitor that has gone since the count was taken gets nothing written.
  if (k < 0 || k >= static_cast<int>(monitors.size())) return;
  // The next Start passes the monitor the files now name, even after a failed write.
  struct Refresh {
    TfrmMain& m;
    ~Refresh() {
      m.Panel.PanelMonitor = IniFile(panelFilePath(m.IniPath, m.CurrentPanel))
                                 .readString("Config", "PanelMonitor", "0");
    }
  } refresh{*this};
  sendPanelTo(IniPath, CurrentPanel, k, monitors[static_cast<std::size_t>(k)]);
}

}  // namespace vantrel
