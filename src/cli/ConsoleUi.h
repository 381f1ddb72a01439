#pragma once
// The Ui of the command-line programs: messages go to standard error, nothing is asked.
#include <iostream>

#include "platform/Ui.h"

namespace vantrel::cli {

class ConsoleUi : public Ui {
 public:
  ModalResult messageBox(MsgType, const std::string& text, MsgButtons buttons,
                         ModalResult defaultButton) override {
    std::cerr << text << '\n';
    if (buttons == MsgButtons::OK) return ModalResult::OK;
    // Nobody is there to answer: a question takes its safe answer.
    return defaultButton == ModalResult::Yes ? ModalResult::Yes : ModalResult::No;
  }
  bool inputBox(const std::string&, const std::string&, std::string&) override { return false; }
  bool openFileDialog(const FileDialogOptions&, std::string&) override { return false; }
  bool saveFileDialog(const FileDialogOptions&, std::string&) override { return false; }
  bool chooseColor(ColorChooser&) override { return false; }
  ModalResult showModal(TForm&) override { return ModalResult::Cancel; }
  void setBusyCursor(bool) override {}
  std::vector<MonitorInfo> monitors() override { return {}; }
  MonitorInfo desktop() override { return {}; }
  void minimizeMainWindow() override {}
  void runOnUiThread(std::function<void()> work) override { work(); }
};

}  // namespace vantrel::cli
