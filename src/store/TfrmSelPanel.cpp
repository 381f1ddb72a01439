#include "store/TfrmSelPanel.h"

#include "platform/Paths.h"
#include "platform/Text.h"

namespace vantrel {

TfrmSelPanel::TfrmSelPanel() {
  Name = "frmSelPanel";
  Caption = "Panels available";
  ClientWidth = 258;
  ClientHeight = 318;
  lvPanels.Name = "lvPanels";
  btnOK.Name = "btnOK";
  btnOK.Caption = "OK";
  btnCancel.Name = "btnCancel";
  btnCancel.Caption = "Cancel";
}

void TfrmSelPanel::lvPanelsDblClick() { modalResult = ModalResult::OK; }

std::string TfrmSelPanel::selectedPanel() const {
  const int i = lvPanels.ItemIndex;
  return i >= 0 && i < static_cast<int>(lvPanels.Items.size()) ? lvPanels.Items[i] : "";
}

void ListPanels(const std::string& folder, const std::string& pattern, TListBox& list) {
  list.Items.clear();
  list.ItemIndex = -1;
  for (const std::string& entry : listEntries(folder, pattern)) {
    // Whole characters only, so a long name is never cut inside one.
    list.Items.push_back(utf8Mid(entry, 6, 99));
  }
}

}  // namespace vantrel
