#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <chrono>


namespace vantrel::test {

namespace {
const char* kindName(int k) {
  static const char* names[] = {"message box", "input box", "open dialog",
                                "save dialog", "colour chooser", "modal form"};
  return names[k];
}
}  // namespace

ScriptedUi::~ScriptedUi() { verifyDone(); }

void ScriptedUi::expectMessage(const std::string& text, ModalResult answer) {
  script_.push_back({Kind::Message, text, answer, {}, {}, {}});
}
void ScriptedUi::expectInput(std::optional<std::string> answer) {
  script_.push_back({Kind::Input, "", ModalResult::OK, std::move(answer), {}, {}});
}
void ScriptedUi::expectOpenFile(std::optional<std::string> path) {
  script_.push_back({Kind::Open, "", ModalResult::OK, std::move(path), {}, {}});
}
void ScriptedUi::expectSaveFile(std::optional<std::string> path) {
  script_.push_back({Kind::Save, "", ModalResult::OK, std::move(path), {}, {}});
}
void ScriptedUi::expectColor(std::optional<std::uint32_t> color) {
  script_.push_back({Kind::Color, "", ModalResult::OK, {}, color, {}});
}
void ScriptedUi::expectModal(std::function<ModalResult(TForm&)> work) {
  script_.push_back({Kind::Modal, "", ModalResult::OK, {}, {}, std::move(work)});
}

void ScriptedUi::verifyDone() {
  for (const auto& s : script_)
    ADD_FAILURE() << "expected " << kindName(static_cast<int>(s.kind)) << " was not shown"
                  << (s.text.empty() ? "" : ": " + s.text);
  script_.clear();
}

std::optional<ScriptedUi::Step> ScriptedUi::next(Kind kind, const std::string& what) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << kindName(static_cast<int>(kind)) << ": " << what;
    return std::nullopt;
  }
  Step s = script_.front();
  if (s.kind != kind) {
    ADD_FAILURE() << "expected " << kindName(static_cast<int>(s.kind)) << ", got "
                  << kindName(static_cast<int>(kind)) << ": " << what;
    return std::nullopt;
  }
  script_.pop_front();
  return s;
}

ModalResult ScriptedUi::messageBox(MsgType type, const std::string& text, MsgButtons buttons,
                                   ModalResult defaultButton) {
  messages.push_back({type, text, buttons, defaultButton});
  auto s = next(Kind::Message, text);
  if (!s) return buttons == MsgButtons::YesNo ? ModalResult::No : ModalResult::OK;
#ifdef _WIN32
  // Tests build paths with '/', where Windows joins with '\\': both count as one here.
  auto oneDelimiter = [](std::string t) {
    for (char& c : t)
      if (c == '/') c = '\\';
    return t;
  };
  EXPECT_EQ(oneDelimiter(s->text), oneDelimiter(text)) << "message box text";
#else
  EXPECT_EQ(s->text, text) << "message box text";
#endif
  return s->answer;
}

bool ScriptedUi::inputBox(const std::string& caption, const std::string& prompt,
                          std::string& value) {
  inputCaptions.push_back(caption);
  auto s = next(Kind::Input, caption + " / " + prompt);
  if (!s || !s->value) return false;
  value = *s->value;
  return true;
}

bool ScriptedUi::openFileDialog(const FileDialogOptions& options, std::string& path) {
  fileDialogs.push_back(options);
  auto s = next(Kind::Open, options.title);
  if (!s || !s->value) return false;
  path = *s->value;
  return true;
}

bool ScriptedUi::saveFileDialog(const FileDialogOptions& options, std::string& path) {
  fileDialogs.push_back(options);
  auto s = next(Kind::Save, options.title);
  if (!s || !s->value) return false;
  path = *s->value;
  return true;
}

bool ScriptedUi::chooseColor(ColorChooser& chooser) {
  auto s = next(Kind::Color, "colour");
  if (!s || !s->color) return false;
  chooser.Color = *s->color;
  return true;
}

ModalResult ScriptedUi::showModal(TForm& form) {
  modalForms.push_back(form.Name);
  auto s = next(Kind::Modal, form.Name);
  if (!s) return ModalResult::Cancel;
  form.FormShow();
  form.modalResult = s->work(form);
  return form.modalResult;
}

void ScriptedUi::setBusyCursor(bool b) {
  ++busyCalls;
  busy = b;
}

MonitorInfo ScriptedUi::desktop() { return boundingBox(monitorList); }

void ScriptedUi::runOnUiThread(std::function<void()> work) {
  std::lock_guard<std::mutex> lock(pendingMutex_);
  pending_.push_back(std::move(work));
  pendingChanged_.notify_all();
}

void ScriptedUi::runPending() {
  for (;;) {
    std::function<void()> w;
    {
      std::lock_guard<std::mutex> lock(pendingMutex_);
      if (pending_.empty()) return;
      w = std::move(pending_.front());
      pending_.pop_front();
    }
    w();
  }
}

bool ScriptedUi::runNext(int timeoutMs) {
  std::function<void()> w;
  {
    std::unique_lock<std::mutex> lock(pendingMutex_);
    if (!pendingChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [this] { return !pending_.empty(); }))
      return false;
    w = std::move(pending_.front());
    pending_.pop_front();
  }
  w();
  return true;
}

}  // namespace vantrel::test
