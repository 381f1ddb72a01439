#pragma once
// The Add 3rd Party Application dialog: an application's path and its parameter text.
#include "platform/Forms.h"
#include "platform/Ui.h"

namespace vantrel {

class TfrmAdd3rdParty : public TForm {
 public:
  explicit TfrmAdd3rdParty(Ui& ui);

  TLabel lAppName;
  TEdit edAppName;
  TButton btnImage;  // browse
  TLabel lParameters;
  TEdit edParameters;
  TButton btnOK;
  TButton btnCancel;
  // The chooser behind btnImage.
  FileDialogOptions JvOpenEXE;

  // Lets the user choose the application; a confirmed file replaces edAppName.
  void btnImageClick();

 private:
  Ui& ui_;
};

}  // namespace vantrel
