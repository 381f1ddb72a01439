#include "store/TfrmSelPanel.h"

#include "platform/Paths.h"

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

namespace {

// Byte offset after count characters of UTF-8 text (bytes that are not UTF-8 count as one).
std::size_t afterChars(const std::string& s, std::size_t from, std::size_t count) {
  std::size_t p = from;
  while (p < s.size() && count > 0) {
    ++p;
    while (p < s.size() && (static_cast<unsigned char>(s[p]) & 0xC0) == 0x80) ++p;
    --count;
  }
  return p;
}

}  // namespace

void ListPanels(const std::string& folder, const std::string& pattern, TListBox& list) {
  list.Items.clear();
  list.ItemIndex = -1;
  for (const std::string& entry : listEntries(folder, pattern)) {
    // Whole characters only, so a long name is never cut inside one.
    const std::size_t start = afterChars(entry, 0, 6);
    list.Items.push_back(entry.substr(start, afterChars(entry, start, 99) - start));
  }
}

}  // namespace vantrel
