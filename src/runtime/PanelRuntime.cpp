// Starting and stopping the loaded panel, and the pop-out watcher's tick.
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "app/TfrmMain.h"
#include "net/LocalAddress.h"
#include "platform/Paths.h"
#include "runtime/CommandLines.h"

namespace vantrel {

namespace {

const char* const kMonitorCountQuestion =
    "Current number of monitors does not match the panel's configured number of monitors! - "
    "Continue?";
const char* const kMonitorSizeQuestion =
    "Current dimension of monitors does not match the panel's configured dimension of "
    "monitors! - Continue?";
const char* const kPopOutProgram = "Popwarden.exe";

// Restores the normal pointer however Start ends.
class BusyCursor {
 public:
  explicit BusyCursor(Ui& ui) : ui_(ui) { ui_.setBusyCursor(true); }
  ~BusyCursor() { ui_.setBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Ui& ui_;
};

const char* boolText(bool value) { return value ? "true" : "false"; }

bool parseHandle(const std::string& text, ProcessHandle& handle) {
  const char* first = text.data();
  const char* last = first + text.size();
  const auto r = std::from_chars(first, last, handle);
  return r.ec == std::errc() && r.ptr == last && handle != 0;
}

}  // namespace

bool TfrmMain::ResolveLocalAddress() {
  return resolveLocalAddress(platform, ui, frmSelAdapter, SettingsPath(), LocalIPAddressToUse);
}

int TfrmMain::CompareMonitors() const { return compareMonitors(Monitors, Panel.Monitors); }

LaunchContext TfrmMain::MakeLaunchContext() {
  LaunchContext context;
  context.AppPath = AppPath;
  context.PanelName = CurrentPanel;
  context.LocalAddress = LocalIPAddressToUse;
  context.MulticastGroup = settings.MulticastGroup;
  context.FlightSimPort = settings.FlightSimPort;
  context.Bezels = boolText(Panel.ShowBezels);
  context.Monitor = Panel.PanelMonitor;
  context.Lighting = boolText(Panel.EnableLighting);
  context.DecimalSeparator = platform.decimalSeparator();
  return context;
}

void TfrmMain::LaunchWithArguments(const std::array<std::string, 11>& tokens) {
  LaunchProcess(joinTokens(tokens));
}

void TfrmMain::LaunchProcess(const std::string& commandLine) {
  const ProcessHandle handle = platform.createProcess(commandLine);
  if (handle != 0) ProcessList.push_back(std::to_string(handle));
}

void TfrmMain::aStartPanelExecute() {
  if (!ResolveLocalAddress()) return;

  if (settings.MonitorChecking) {
    const int result = CompareMonitors();
    const char* question = result == 1 ? kMonitorCountQuestion
                           : result == 2 ? kMonitorSizeQuestion
                                         : nullptr;
    if (question != nullptr &&
        ui.messageBox(MsgType::Warning, question, MsgButtons::YesNo, ModalResult::No) !=
            ModalResult::Yes)
      return;
  }

  const bool armed = settings.XPlanePopOutChecking;
  if (armed) {
    PopOutElapsed = 0;
    TimerXPlanePopOuts.Interval = settings.XPlanePopOutCheckingInterval;
    TimerXPlanePopOuts.Enabled = true;
  }

  BusyCursor busy(ui);
  bool screenSaverOff = false;
  bool iconsHidden = false;
  try {
    SaveInstrumentList(CurrentPanel);

    ScreenSaverFlag = platform.screenSaverActive();
    if (ScreenSaverFlag) {
      platform.setScreenSaverActive(false);
      screenSaverOff = true;
    }
    KeepAwake.setIsCritical(true);
    if (settings.DeclutterDesktop && !SwitchFlag) {
      platform.showDesktopIcons(false);
      iconsHidden = true;
      platform.minimizeAllWindows();
    }
    ui.minimizeMainWindow();
    ProcessList.clear();
    SetRunningState(true);
  } catch (...) {
    // A start that fails before anything runs must not leave the desktop, the power
    // state or the watcher changed with no Stop to undo them.
    if (armed) TimerXPlanePopOuts.Enabled = false;
    if (screenSaverOff) platform.setScreenSaverActive(true);
    KeepAwake.setIsCritical(false);
    if (iconsHidden) platform.showDesktopIcons(true);
    throw;
  }

  const LaunchContext context = MakeLaunchContext();
  if (Panel.ShowBackground) LaunchWithArguments(backgroundTokens(context));

  const bool startApplications = !SwitchFlag && settings.NoThirdPartyApp;
  for (const InstrumentRow& row : Instruments.rows()) {
    if (!row.Checked) continue;
    if (row.isApplication()) {
      if (!startApplications) continue;
      const std::vector<std::string> parameters = splitParameters(row.SubItems[2]);
      platform.sleepMs(1000);
      LaunchProcess(applicationCommandLine(row.SubItems[1], parameters));
    } else {
      LaunchWithArguments(instrumentTokens(context, row));
    }
  }
}

void TfrmMain::aStopPanelExecute() {
  DocumentName = CurrentPanel;
  SetRunningState(false);

  // Every process is told to end before any handle is let go of, so they die together.
  std::vector<ProcessHandle> handles;
  handles.reserve(ProcessList.size());
  for (const std::string& entry : ProcessList) {
    ProcessHandle handle = 0;
    if (!parseHandle(entry, handle)) continue;
    handles.push_back(handle);
    try {
      platform.terminateProcess(handle, 0);
    } catch (...) {
      // One failure must not keep the rest alive.
    }
  }
  for (ProcessHandle handle : handles) {
    try {
      platform.closeProcess(handle);
    } catch (...) {
    }
  }
  ProcessList.clear();

  if (ScreenSaverFlag) platform.setScreenSaverActive(true);
  KeepAwake.setIsCritical(false);
  if (settings.DeclutterDesktop && !SwitchFlag) platform.showDesktopIcons(true);
  if (TimerXPlanePopOuts.Enabled) TimerXPlanePopOuts.Enabled = false;
}

void TfrmMain::TimerXPlanePopOutsTimer() {
  // A timer with no interval never ticks; a stray call must not run the program either.
  if (!TimerXPlanePopOuts.Enabled || TimerXPlanePopOuts.Interval <= 0) return;

  const std::string program = AppPath + kPopOutProgram;
  std::error_code ec;
  if (std::filesystem::exists(fsPath(program), ec)) platform.shellOpen(program);

  // Added wide and held at the top, so a huge interval cannot wrap the count below the limit.
  const std::int64_t elapsed =
      static_cast<std::int64_t>(PopOutElapsed) + settings.XPlanePopOutCheckingInterval;
  PopOutElapsed = static_cast<std::int32_t>(
      std::min<std::int64_t>(elapsed, std::numeric_limits<std::int32_t>::max()));
  if (PopOutElapsed > settings.XPlanePopOutCheckingMax ||
      elapsed > std::numeric_limits<std::int32_t>::max())
    TimerXPlanePopOuts.Enabled = false;
}

}  // namespace vantrel
