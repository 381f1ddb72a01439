// The Edit Panel command.
#include "app/TfrmMain.h"
#include "store/PanelFolder.h"
#include "store/PanelSetup.h"
#include "store/TfrmPanel.h"

namespace vantrel {

void TfrmMain::aEditSettingsExecute() {
  const std::string name = CurrentPanel;
  TfrmPanel dialog(ui, ColorDialog);
  dialog.fillMonitorList(MonitorCount);
  LoadPanelSetup(dialog, IniPath, name);
  if (ui.showModal(dialog) == ModalResult::OK) {
    try {
      WritePanelFiles(dialog, IniPath, name, ui);
    } catch (...) {
      // Keys written before the failure are on disk; the panel state follows them.
      try {
        ReadPanelFile(IniPath, name, CurrentPanel, Panel);
      } catch (...) {
      }
      throw;
    }
  }
  ReadPanelFile(IniPath, name, CurrentPanel, Panel);
}

}  // namespace vantrel
