#pragma once
// Form models: controls held as data. A view draws them and calls the handlers; after a
// handler the view reads the model again.
#include <functional>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace vantrel {

struct TControl {
  std::string Name;
  std::string Caption;
  bool Enabled = true;
  bool Visible = true;
  int Width = 0;  // 0: the view's own choice
};

struct TLabel : TControl {};
struct TButton : TControl {};
// A captioned group of controls.
struct TGroupBox : TControl {};

// A picture shown from a file, scaled to fit; no file name shows nothing.
struct TImage : TControl {
  std::string FileName;
};

struct TEdit : TControl {
  std::string Text;
  bool ReadOnly = false;
};

struct TCheckBox : TControl {
  bool Checked = false;
};

struct TSpinEdit : TControl {
  int Value = 0;
  int MinValue = 0;
  int MaxValue = 100;
};

struct TComboBox : TControl {
  std::vector<std::string> Items;
  int ItemIndex = -1;
  std::string selectedText() const {
    return ItemIndex >= 0 && ItemIndex < static_cast<int>(Items.size()) ? Items[ItemIndex] : "";
  }
};

struct TRadioGroup : TControl {
  std::vector<std::string> Items;
  int ItemIndex = -1;
  int Columns = 1;
};

struct TListBox : TControl {
  std::vector<std::string> Items;
  int ItemIndex = -1;
};

struct TListColumn {
  std::string Caption;
  int Width = 0;
};

struct TListItem {
  std::string Caption;
  std::vector<std::string> SubItems;
  bool Checked = false;
};

// A report-style list of rows, optionally with check boxes; one row selected at most.
struct TListView : TControl {
  std::vector<TListColumn> Columns;
  std::vector<TListItem> Items;
  int ItemIndex = -1;
  bool Checkboxes = false;
};

struct TTimer {
  std::string Name;
  bool Enabled = false;
  int Interval = 1000;
};

struct TAction {
  std::string Name;
  std::string Caption;
  std::string Hint;
  bool Enabled = true;
  bool Visible = true;
  std::function<void()> OnExecute;
};

class TForm {
 public:
  virtual ~TForm() = default;
  std::string Name;
  std::string Caption;
  int ClientWidth = 0;
  int ClientHeight = 0;
  // Set by the view when the form is closed.
  ModalResult modalResult = ModalResult::None;
  virtual void FormShow() {}
};

}  // namespace vantrel
