#pragma once
// The "Panels available" dialog: one panel name per line, OK or Cancel.
#include "platform/Forms.h"

namespace vantrel {

class TfrmSelPanel : public TForm {
 public:
  TfrmSelPanel();

  TListBox lvPanels;
  TButton btnOK;      // the default button
  TButton btnCancel;
  // Kept above other windows, fixed size, shown as a tool window.
  bool StayOnTop = true;

  // A double click on a line chooses it.
  void lvPanelsDblClick();
  // The chosen line; empty when none is selected.
  std::string selectedPanel() const;
};

// Empties list and adds one line per entry of folder matching pattern: the entry's name
// without its first six characters, cut to 99 characters, in caption order
// (compareCaptions).
void ListPanels(const std::string& folder, const std::string& pattern, TListBox& list);

}  // namespace vantrel
