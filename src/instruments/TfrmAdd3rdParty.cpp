#include "instruments/TfrmAdd3rdParty.h"

namespace vantrel {

TfrmAdd3rdParty::TfrmAdd3rdParty(Ui& ui) : ui_(ui) {
  Name = "frmAdd3rdParty";
  Caption = "Add 3rd Party Application";
  ClientWidth = 476;
  ClientHeight = 149;
  lAppName.Name = "lAppName";
  lAppName.Caption = "Application Path Name";
  edAppName.Name = "edAppName";
  btnImage.Name = "btnImage";
  btnImage.Caption = "...";
  lParameters.Name = "lParameters";
  lParameters.Caption = "Command Line Parameters (Comma separated)";
  edParameters.Name = "edParameters";
  btnOK.Name = "btnOK";
  btnOK.Caption = "OK";
  btnCancel.Name = "btnCancel";
  btnCancel.Caption = "Cancel";
  JvOpenEXE.title = "Select Application";
  JvOpenEXE.defaultExt = ".exe";
  JvOpenEXE.filter = "Executable Files (*.exe)|*.exe|Command Files (*.cmd)|*.cmd";
#ifndef _WIN32
  // Programs here carry no extension: any file that may be run is offered as well.
  JvOpenEXE.executablesFilter = "Programs";
#endif
}

void TfrmAdd3rdParty::btnImageClick() {
  std::string path;
  if (ui_.openFileDialog(JvOpenEXE, path)) edAppName.Text = path;
}

}  // namespace vantrel
