#pragma once
// The Ui seam drawn with Qt Widgets.
#include <QWidget>

#include "platform/Ui.h"

namespace vantrel::gui {

class QtUi : public Ui {
 public:
  void setMainWindow(QWidget* window) { mainWindow_ = window; }
  QWidget* mainWindow() const { return mainWindow_; }
  // The window dialogs belong to: the main window unless it is minimized or hidden.
  QWidget* dialogParent() const;
  // While quiet (closing on a signal) message boxes are not shown: nobody is there to
  // answer them and the close must not hang. They give their default answer.
  void setQuiet(bool quiet) { quiet_ = quiet; }
  // Called before any prompt, so the main window shows the model's state behind it.
  void setBeforePrompt(std::function<void()> hook) { beforePrompt_ = std::move(hook); }

  ModalResult messageBox(MsgType type, const std::string& text, MsgButtons buttons,
                         ModalResult defaultButton) override;
  bool inputBox(const std::string& caption, const std::string& prompt,
                std::string& value) override;
  bool openFileDialog(const FileDialogOptions& options, std::string& path) override;
  bool saveFileDialog(const FileDialogOptions& options, std::string& path) override;
  bool chooseColor(ColorChooser& chooser) override;
  ModalResult showModal(TForm& form) override;
  void setBusyCursor(bool busy) override;
  std::vector<MonitorInfo> monitors() override;
  MonitorInfo desktop() override;
  void minimizeMainWindow() override;
  void restoreMainWindow() override;
  void runOnUiThread(std::function<void()> work) override;

 private:
  QWidget* mainWindow_ = nullptr;
  bool quiet_ = false;
  std::function<void()> beforePrompt_;
  void prompting() {
    if (beforePrompt_) beforePrompt_();
  }
};

// Converts "Description|*.ext|..." into Qt's "Description (*.ext);;..." form.
QString qtFilter(const std::string& filter);

}  // namespace vantrel::gui
