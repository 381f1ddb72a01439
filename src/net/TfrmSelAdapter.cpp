#include "net/TfrmSelAdapter.h"

namespace vantrel {

TfrmSelAdapter::TfrmSelAdapter() {
  Name = "frmSelAdapter";
  Caption = "Select Network Adapter";
  ClientWidth = 326;
  ClientHeight = 135;
  lblFound.Name = "lblFound";
  lblFound.Caption = "Found more than one connected Network Adapters.";
  lblChoose.Name = "lblChoose";
  lblChoose.Caption = "Choose Adapter to use for Vantrel";
  dropdownAdapters.Name = "dropdownAdapters";
  btnOK.Name = "btnOK";
  btnOK.Caption = "OK";
}

void TfrmSelAdapter::btnOKClick() { modalResult = ModalResult::OK; }

}  // namespace vantrel
