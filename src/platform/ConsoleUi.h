#pragma once
// A Ui for programs without windows (the command-line programs, the benchmarks): messages
// go to standard error, questions take their default answer, nothing else is asked.
#include <iostream>

#include "platform/Ui.h"

namespace vantrel {

class ConsoleUi : public Ui {
 public:
  ModalResult messageBox(MsgType, const std::string& text, MsgButtons buttons,
                         ModalResult defaultButton) override {
    std::cerr << text << '\n';
    if (defaultButton != ModalResult::None) return defaultButton;
    // Nobody is there to answer: a question takes its safe answer.
    return buttons == MsgButtons::YesNo ? ModalResult::No : ModalResult::OK;
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

}  // namespace vantrel
