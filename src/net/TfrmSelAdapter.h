#pragma once
// The Select Network Adapter dialog: asks once which local address instruments are given
// when the computer has several.
#include "platform/Forms.h"

namespace vantrel {

class TfrmSelAdapter : public TForm {
 public:
  TfrmSelAdapter();

  TLabel lblFound;   // bold
  TLabel lblChoose;
  TComboBox dropdownAdapters;  // its own items only, no typing
  TButton btnOK;

  void btnOKClick();
};

}  // namespace vantrel
