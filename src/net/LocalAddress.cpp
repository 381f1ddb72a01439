#include "net/LocalAddress.h"

namespace vantrel {

bool resolveLocalAddress(Platform& platform, Ui& ui, TfrmSelAdapter& dialog,
                         const std::function<void(const std::string&)>& store,
                         std::string& localAddress) {
  const std::vector<std::string> addresses = platform.localIPv4Addresses();
  if (addresses.empty()) {
    ui.messageBox(MsgType::Plain, "Could not find a valid IP Address!", MsgButtons::OK);
    return false;
  }
  if (addresses.size() == 1) {
    localAddress = addresses.front();
    // One address needs no choice: a later start on several addresses asks again.
    store("Auto");
    return true;
  }
  if (localAddress != "Auto") return true;

  dialog.dropdownAdapters.Items = addresses;
  dialog.dropdownAdapters.ItemIndex = 0;
  dialog.modalResult = ModalResult::None;
  ui.showModal(dialog);
  // However the dialog was closed, the selected address is taken.
  std::string chosen = dialog.dropdownAdapters.selectedText();
  if (chosen.empty()) chosen = addresses.front();
  localAddress = chosen;
  store(localAddress);
  return true;
}

}  // namespace vantrel
