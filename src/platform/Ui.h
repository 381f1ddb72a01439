#pragma once
// What the core needs of the user-interface toolkit. The Qt program implements it in
// gui/; tests use ScriptedUi.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vantrel {

class TForm;

enum class MsgType { Information, Warning, Confirmation, Error, Plain };
enum class MsgButtons { OK, YesNo };
enum class ModalResult { None, OK, Cancel, Yes, No };

struct MonitorInfo {
  int left = 0, top = 0, width = 0, height = 0;
};

// The box around all monitors.
MonitorInfo boundingBox(const std::vector<MonitorInfo>& monitors);

struct FileDialogOptions {
  std::string title;
  std::string defaultExt;  // ".vnx"
  std::string filter;      // "Description|*.ext|Description|*.ext"
  std::string initialDir;
  std::string fileName;
  // When set, one more filter under this name offers every file that may be run.
  std::string executablesFilter;
};

// The shared colour chooser: opens on Color, keeps sixteen custom slots.
struct ColorChooser {
  std::uint32_t Color = 0x00FFFFFF;  // 00BBGGRR
  std::array<std::uint32_t, 16> CustomColors;
  ColorChooser() { CustomColors.fill(0x00FFFFFF); }
};

class Ui {
 public:
  virtual ~Ui() = default;

  // A message box with the application's title as caption. Returns the button chosen
  // (OK for an OK box; Yes or No for a Yes/No box).
  virtual ModalResult messageBox(MsgType type, const std::string& text, MsgButtons buttons,
                                 ModalResult defaultButton = ModalResult::None) = 0;
  // An input box; false on Cancel. value holds the preset text on entry.
  virtual bool inputBox(const std::string& caption, const std::string& prompt,
                        std::string& value) = 0;
  virtual bool openFileDialog(const FileDialogOptions& options, std::string& path) = 0;
  virtual bool saveFileDialog(const FileDialogOptions& options, std::string& path) = 0;
  // Opens on chooser.Color; on OK stores the choice there and returns true.
  virtual bool chooseColor(ColorChooser& chooser) = 0;
  // Shows a form model modally; its handlers run as the user works the view.
  virtual ModalResult showModal(TForm& form) = 0;
  virtual void setBusyCursor(bool busy) = 0;

  // Monitors in device pixels, in the system's order, and the box around all of them.
  virtual std::vector<MonitorInfo> monitors() = 0;
  virtual MonitorInfo desktop() = 0;

  virtual void minimizeMainWindow() = 0;
  // Sets the main window to the normal (restored) window state.
  virtual void restoreMainWindow() {}
  // Hands work to the user-interface thread (from the listener's thread).
  virtual void runOnUiThread(std::function<void()> work) = 0;
};

// The busy pointer for as long as it lives, restored however the work ends.
class BusyPointer {
 public:
  explicit BusyPointer(Ui& ui) : ui_(ui) { ui_.setBusyCursor(true); }
  ~BusyPointer() { ui_.setBusyCursor(false); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;

 private:
  Ui& ui_;
};

}  // namespace vantrel
