// The Panel and Panels groups: Load, Edit Panel, New, Copy and Delete.
#include <filesystem>
#include <system_error>

#include "app/TfrmMain.h"
#include "platform/Paths.h"
#include "store/InstrumentFile.h"
#include "store/PanelFolder.h"
#include "store/PanelSetup.h"
#include "store/TfrmPanel.h"
#include "store/TfrmSelPanel.h"

namespace vantrel {

namespace {

// Opens a panel by its exact name and makes it current: its list, its panel file and,
// when asked, the catalog check. On failure no panel is current. Returns the found name,
// empty on failure.
std::string openExact(TfrmMain& m, const std::string& name, bool checkFiles) {
  std::string found;
  const bool opened = OpenPanel(m.IniPath, m.Instruments, m.ui, name, true, false, found);
  // A selection never carries over to another panel's rows.
  m.lvInstrumentsSelected = -1;
  if (!opened) {
    m.CurrentPanel.clear();
    return "";
  }
  ReadPanelFile(m.IniPath, found, m.CurrentPanel, m.Panel);
  if (checkFiles) CheckInstrumentFiles(m.AppPath, m.Instruments, m.ui);
  return found;
}

}  // namespace

bool TfrmMain::LoadPanelAtStart(const std::string& name) {
  return !openExact(*this, name, true).empty();
}

void TfrmMain::SaveInstrumentList(const std::string& panelName) {
  saveInstrumentFile(IniPath, panelName, Instruments, settings.MulticastGroup,
                     settings.FlightSimPort);
}

void TfrmMain::aLoadPanelExecute() {
  TfrmSelPanel dialog;
  SaveInstrumentList(CurrentPanel);
  ListPanels(IniPath, "Panel_*", dialog.lvPanels);
  if (ui.showModal(dialog) != ModalResult::OK || dialog.lvPanels.ItemIndex < 0) {
    // Nothing chosen: the loaded panel stays, and so does its Start command.
    UpdateStartAction(CurrentPanel);
    return;
  }
  CurrentPanel = dialog.selectedPanel();
  std::string found;
  if (!CurrentPanel.empty()) found = openExact(*this, CurrentPanel, true);
  DocumentName = found;
  UpdateStartAction(found);
}

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

void TfrmMain::aNewPanelExecute() {
  TfrmPanel dialog(ui, ColorDialog);
  dialog.fillMonitorList(MonitorCount);
  SaveInstrumentList(CurrentPanel);
  dialog.edPanelName.Text = TfrmPanel::NewPanelMarker;
  dialog.edBGImage.Text.clear();
  dialog.sBGColor.Color = 0;
  ColorDialog.Color = 0;
  dialog.PictureInitialDir = IniPath;
  // A refused name returns to the dialog with everything the user chose still there.
  while (ui.showModal(dialog) == ModalResult::OK &&
         dialog.edPanelName.Text != TfrmPanel::NewPanelMarker) {
    const std::string name = dialog.edPanelName.Text;
    std::error_code ec;
    // Refused before anything changes: a name no folder can hold, or another panel's.
    std::string problem = panelNameProblem(name);
    if (problem.empty() &&
        (std::filesystem::exists(fsPath(panelFolderPath(IniPath, name)), ec) || ec))
      problem = panelExistsMessage(name);
    if (!problem.empty()) {
      ui.messageBox(MsgType::Error, problem, MsgButtons::OK);
      dialog.NameEditable = true;
      continue;
    }
    CurrentPanel = name;
    Instruments.clear();
    lvInstrumentsSelected = -1;
    SaveInstrumentList(name);
    WritePanelFiles(dialog, IniPath, name, ui);
    ReadPanelFile(IniPath, name, CurrentPanel, Panel);
    DocumentName = CurrentPanel;
    break;
  }
  UpdateStartAction(CurrentPanel);
}

void TfrmMain::aCopyPanelExecute() {
  if (Instruments.empty()) return;
  std::string newName;
  if (!ui.inputBox("Enter new Panel Name", "Panel Name", newName) || newName.empty()) return;
  if (const std::string problem = panelNameProblem(newName); !problem.empty()) {
    ui.messageBox(MsgType::Error, problem, MsgButtons::OK);
    return;
  }
  const std::string source = panelFolderPath(IniPath, CurrentPanel);
  const std::string target = panelFolderPath(IniPath, newName);
  std::error_code ec;
  if (std::filesystem::exists(fsPath(target), ec) ||
      !std::filesystem::create_directory(fsPath(target), ec)) {
    ui.messageBox(MsgType::Error, panelExistsMessage(newName), MsgButtons::OK);
    return;
  }
  if (!std::filesystem::is_directory(fsPath(source), ec)) {
    ui.messageBox(MsgType::Error, "Error creating Panel Folder", MsgButtons::OK);
    return;
  }
  // The copy is made from the files, so they must hold the rows as the user sees them.
  SaveInstrumentList(CurrentPanel);
  copyPanelFiles(IniPath, CurrentPanel, newName);

  CurrentPanel = newName;
  const std::string found = openExact(*this, newName, false);
  DocumentName = found;
  UpdateStartAction(found);
}

void TfrmMain::aDeletePanelExecute() {
  if (ui.messageBox(MsgType::Confirmation, "Confirm to delete panel", MsgButtons::YesNo) ==
      ModalResult::Yes) {
    DeletePanelFolder(CurrentPanel);
    CurrentPanel.clear();
    DocumentName.clear();
  }
  UpdateStartAction(CurrentPanel);
}

void TfrmMain::DeletePanelFolder(const std::string& panelName) {
  Instruments.clear();
  lvInstrumentsSelected = -1;
  removePanelFolder(IniPath, panelName);
  ResetPanelState(CurrentPanel, Panel);
  DocumentName.clear();
  UpdateStartAction("");
}

}  // namespace vantrel
