// Panel commands of the main window.
#include <filesystem>
#include <system_error>

#include "app/TfrmMain.h"
#include "platform/Paths.h"
#include "store/IniFile.h"
#include "store/InstrumentFile.h"
#include "store/PanelFolder.h"
#include "store/PanelSetup.h"
#include "store/TfrmPanel.h"
#include "store/TfrmSelPanel.h"

namespace vantrel {

namespace {

// name without its last four characters (whole UTF-8 characters).
std::string withoutLastFour(const std::string& name) {
  std::size_t end = name.size();
  for (int i = 0; i < 4 && end > 0; ++i) {
    --end;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  }
  return name.substr(0, end);
}

// Opens a panel by its exact name and makes it current: its list, its panel file and,
// when asked, the catalog check. On failure no panel is current. Returns the found name,
// empty on failure.
std::string openExact(TfrmMain& m, const std::string& name, bool checkFiles) {
  std::string found;
  if (!OpenPanel(m.IniPath, m.Instruments, m.ui, name, true, false, found)) {
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

void TfrmMain::aNewPanelExecute() {
  TfrmPanel dialog(ui, ColorDialog);
  dialog.fillMonitorList(MonitorCount);
  SaveInstrumentList(CurrentPanel);
  dialog.edPanelName.Text = TfrmPanel::NewPanelMarker;
  dialog.edBGImage.Text.clear();
  dialog.sBGColor.Color = 0;
  ColorDialog.Color = 0;
  dialog.PictureInitialDir = IniPath;
  if (ui.showModal(dialog) == ModalResult::OK &&
      dialog.edPanelName.Text != TfrmPanel::NewPanelMarker) {
    const std::string name = dialog.edPanelName.Text;
    std::error_code ec;
    // Refused before anything changes: a name no folder can hold, or another panel's.
    if (!isValidPanelName(name)) {
      ui.messageBox(MsgType::Error, invalidPanelNameMessage(name), MsgButtons::OK);
    } else if (std::filesystem::exists(fsPath(panelFolderPath(IniPath, name)), ec) || ec) {
      ui.messageBox(MsgType::Error, panelExistsMessage(name), MsgButtons::OK);
    } else {
      CurrentPanel = name;
      Instruments.clear();
      SaveInstrumentList(name);
      WritePanelFiles(dialog, IniPath, name, ui);
      ReadPanelFile(IniPath, name, CurrentPanel, Panel);
      DocumentName = CurrentPanel;
    }
  }
  UpdateStartAction(CurrentPanel);
}

void TfrmMain::aCopyPanelExecute() {
  if (Instruments.empty()) return;
  std::string newName;
  if (!ui.inputBox("Enter new Panel Name", "Panel Name", newName) || newName.empty()) return;
  if (!isValidPanelName(newName)) {
    ui.messageBox(MsgType::Error, invalidPanelNameMessage(newName), MsgButtons::OK);
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
  for (const std::string& entry : listEntries(source, "*.*")) {
    if (entry == "." || entry == "..") continue;
    const std::string copyName =
        withoutLastFour(entry) == CurrentPanel ? newName + extractFileExt(entry) : entry;
    // A subfolder or an unreadable file is skipped.
    std::filesystem::copy_file(fsPath(joinPath(source, entry)), fsPath(joinPath(target, copyName)),
                               std::filesystem::copy_options::overwrite_existing, ec);
  }
  IniFile(panelFilePath(IniPath, newName), FlagStyle::OneZero)
      .writeString("Config", "PanelName", newName);

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
  const std::string folder = panelFolderPath(IniPath, panelName);
  std::error_code ec;
  for (const std::string& entry : listEntries(folder, "*.*")) {
    const auto path = fsPath(joinPath(folder, entry));
    // Files and links go; a subfolder stays, and is never entered.
    if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::directory)
      std::filesystem::remove(path, ec);
  }
  // Removes the folder only when it is empty now.
  if (std::filesystem::is_directory(fsPath(folder), ec)) std::filesystem::remove(fsPath(folder), ec);
  ResetPanelState(CurrentPanel, Panel);
  DocumentName.clear();
  UpdateStartAction("");
}

}  // namespace vantrel
