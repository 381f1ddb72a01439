#pragma once
// A Ui that answers prompts from a queue. A prompt the script did not expect, or one of
// another kind than the next expected, fails the test.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Forms.h"
#include "platform/Ui.h"

namespace vantrel::test {

class ScriptedUi : public Ui {
 public:
  struct Message {
    MsgType type;
    std::string text;
    MsgButtons buttons;
    ModalResult defaultButton;
  };

  ~ScriptedUi() override;

  // --- the script ----------------------------------------------------------------
  // The next prompt is a message box with exactly this text; answer it.
  void expectMessage(const std::string& text, ModalResult answer = ModalResult::OK);
  // nullopt answers Cancel.
  void expectInput(std::optional<std::string> answer);
  void expectOpenFile(std::optional<std::string> path);
  void expectSaveFile(std::optional<std::string> path);
  void expectColor(std::optional<std::uint32_t> color);
  // The next prompt shows a form modally; the callback works the form as a user would and
  // returns how it was closed.
  void expectModal(std::function<ModalResult(TForm&)> work);
  // Fails the test when expected prompts were not shown.
  void verifyDone();

  // --- what was shown -------------------------------------------------------------
  std::vector<Message> messages;
  std::vector<std::string> inputCaptions;
  std::vector<FileDialogOptions> fileDialogs;
  std::vector<std::string> modalForms;  // form names
  int busyCalls = 0;
  bool busy = false;
  int minimizeCount = 0;
  std::vector<MonitorInfo> monitorList = {{0, 0, 1920, 1080}};

  // Work handed to the user-interface thread, from any thread; the test's thread runs it.
  // runPending runs what is there now; runNext waits at most timeoutMs for one piece of
  // work and runs it, false when none came.
  void runPending();
  bool runNext(int timeoutMs);

  ModalResult messageBox(MsgType type, const std::string& text, MsgButtons buttons,
                         ModalResult defaultButton) override;
  bool inputBox(const std::string& caption, const std::string& prompt,
                std::string& value) override;
  bool openFileDialog(const FileDialogOptions& options, std::string& path) override;
  bool saveFileDialog(const FileDialogOptions& options, std::string& path) override;
  bool chooseColor(ColorChooser& chooser) override;
  ModalResult showModal(TForm& form) override;
  void setBusyCursor(bool b) override;
  std::vector<MonitorInfo> monitors() override { return monitorList; }
  MonitorInfo desktop() override;
  void minimizeMainWindow() override { ++minimizeCount; }
  int restoreCount = 0;
  void restoreMainWindow() override { ++restoreCount; }
  void runOnUiThread(std::function<void()> work) override;

 private:
  enum class Kind { Message, Input, Open, Save, Color, Modal };
  struct Step {
    Kind kind;
    std::string text;
    ModalResult answer = ModalResult::OK;
    std::optional<std::string> value;
    std::optional<std::uint32_t> color;
    std::function<ModalResult(TForm&)> work;
  };
  std::deque<Step> script_;
  std::mutex pendingMutex_;
  std::condition_variable pendingChanged_;
  std::deque<std::function<void()>> pending_;
  std::optional<Step> next(Kind kind, const std::string& what);
};

}  // namespace vantrel::test
