// The Control group: starting and stopping the loaded panel, and the pop-out watcher's tick.
#include "app/TfrmMain.h"
#include "net/LocalAddress.h"
#include "runtime/CommandLines.h"
#include "runtime/PanelProcesses.h"
#include "runtime/RunState.h"

namespace vantrel {

namespace {

const char* const kMonitorCountQuestion =
    "Current number of monitors does not match the panel's configured number of monitors! - "
    "Continue?";
const char* const kMonitorSizeQuestion =
    "Current dimension of monitors does not match the panel's configured dimension of "
    "monitors! - Continue?";
const char* boolText(bool value) { return value ? "true" : "false"; }

}  // namespace

bool TfrmMain::ResolveLocalAddress() {
  return resolveLocalAddress(
      platform, ui, frmSelAdapter,
      [this](const std::string& address) { writeAdapterAddress(SettingsPath(), address); },
      LocalIPAddressToUse);
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
  launchProcess(platform, commandLine, ProcessList);
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

  BusyPointer busy(ui);
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

  // What a killed manager left running would hold the ports the new copies need.
  endLeftoverProcesses(platform, IniPath);

  const LaunchContext context = MakeLaunchContext();
  if (Panel.ShowBackground) LaunchWithArguments(backgroundTokens(context));

  const bool startApplications = !SwitchFlag && settings.NoThirdPartyApp;
  for (const InstrumentRow& row : Instruments.rows()) {
    if (!row.Checked) continue;
    if (row.isApplication()) {
      if (!startApplications) continue;
      const std::vector<std::string> parameters = splitParameters(row.SubItems[2]);
      // What runs is on record before the wait, in case the manager ends during it.
      recordRunState(platform, IniPath, ProcessList);
      platform.sleepMs(1000);
      LaunchProcess(applicationCommandLine(row.SubItems[1], parameters));
    } else {
      LaunchWithArguments(instrumentTokens(context, row));
    }
  }
  recordRunState(platform, IniPath, ProcessList);
}

void TfrmMain::aStopPanelExecute() {
  DocumentName = CurrentPanel;
  SetRunningState(false);

  terminateProcesses(platform, ProcessList);
  removeRunState(IniPath);

  if (ScreenSaverFlag) platform.setScreenSaverActive(true);
  KeepAwake.setIsCritical(false);
  if (settings.DeclutterDesktop && !SwitchFlag) platform.showDesktopIcons(true);
  if (TimerXPlanePopOuts.Enabled) TimerXPlanePopOuts.Enabled = false;
}

void TfrmMain::TimerXPlanePopOutsTimer() {
  // A timer with no interval never ticks; a stray call must not run the program either.
  if (!TimerXPlanePopOuts.Enabled || TimerXPlanePopOuts.Interval <= 0) return;

  if (!popOutTick(platform, AppPath, settings.XPlanePopOutCheckingInterval,
                  settings.XPlanePopOutCheckingMax, PopOutElapsed))
    TimerXPlanePopOuts.Enabled = false;
}

}  // namespace vantrel
