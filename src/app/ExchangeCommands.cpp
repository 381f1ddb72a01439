// The ribbon group "Exchange": Export Panel and Import Panel.
#include "app/TfrmMain.h"
#include "store/InstrumentFile.h"
#include "store/PanelExchange.h"
#include "store/PanelFolder.h"

namespace vantrel {

void TfrmMain::aExportExecute() {
  if (!prepareExport(IniPath, CurrentPanel, Instruments, settings.MulticastGroup,
                     settings.FlightSimPort))
    return;
  SaveDialog.fileName = CurrentPanel + ".vnx";
  std::string path;
  if (!ui.saveFileDialog(SaveDialog, path)) return;
  BusyPointer busy(ui);
  writePanelArchive(IniPath, CurrentPanel, path);
}

void TfrmMain::aImportExecute() {
  std::string path;
  if (!ui.openFileDialog(OpenDialog, path)) return;
  BusyPointer busy(ui);
  // A failed import raises before anything changes: the current panel stays.
  const std::string name = importPanel(IniPath, path);
  CurrentPanel = name;
  std::string found;
  // A selection never carries over to another panel's rows.
  lvInstrumentsSelected = -1;
  if (OpenPanel(IniPath, Instruments, ui, name, true, false, found))
    ReadPanelFile(IniPath, found, CurrentPanel, Panel);
  else
    CurrentPanel.clear();
  DocumentName = found;
  UpdateStartAction(found);
}

}  // namespace vantrel
