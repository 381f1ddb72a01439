// Panel commands of the main window.
#include <filesystem>

#include "app/TfrmMain.h"
#include "platform/Paths.h"

namespace vantrel {

bool TfrmMain::LoadPanelAtStart(const std::string& name) {
  std::error_code ec;
  if (!std::filesystem::is_directory(fsPath(joinPath(IniPath, "Panel_" + name)), ec)) {
    ui.messageBox(MsgType::Error,
                  "Panel " + name + " configuration is missing! - Create Panel again",
                  MsgButtons::OK);
    return false;
  }
  CurrentPanel = name;
  return true;
}

void TfrmMain::SaveInstrumentList(const std::string&) {}
void TfrmMain::aLoadPanelExecute() {}
void TfrmMain::aNewPanelExecute() {}
void TfrmMain::aCopyPanelExecute() {}
void TfrmMain::aDeletePanelExecute() {}

}  // namespace vantrel
