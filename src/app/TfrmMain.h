#pragma once
// The main window's model: owns the run-time state of the whole run and carries the
// handlers of every ribbon command.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "instruments/TfrmAddInstrument.h"
#include "net/MulticastListener.h"
#include "net/TfrmSelAdapter.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "platform/Ui.h"
#include "runtime/CommandLines.h"
#include "runtime/SystemCritical.h"
#include "store/Panel.h"

namespace vantrel {

struct RibbonGroup {
  std::string Name;     // "rgLoading"; empty where the group has no name of its own
  std::string Caption;  // "Panel"
  bool Enabled = true;
  std::vector<std::string> Actions;  // action names, in order
};

struct RibbonTab {
  std::string Caption;
  std::vector<RibbonGroup> Groups;
};

struct StatusPanel {
  int Width = 0;
  std::string Text;
};

class TfrmMain : public TForm {
 public:
  TfrmMain(Platform& platform, Ui& ui, TSystemCritical& keepAwake,
           std::vector<std::string> arguments);

  // --- life cycle -----------------------------------------------------------------
  void FormCreate();
  void FormShow() override;
  void OnRestore();
  void FormClose();
  // A close that comes before the first show (a shutdown during the splash): nothing was
  // loaded, so nothing is saved, and "LastPanelUsed" is written with the name it holds.
  void CloseBeforeShow();

  // --- operations other parts call ----------------------------------------------------
  void UpdateStartAction(const std::string& panelName);
  void LockUserInterface();
  // Enables or disables the ribbon groups and Start/Stop for the running state.
  void SetRunningState(bool running);
  // Runs a command handler, showing a raised error in an error box.
  void runCommand(const std::function<void()>& handler);
  // The settings file's full path, built anew for each use.
  std::string SettingsPath() const;

  // --- commands ----------------------------------------------------------------------
  void aStartPanelExecute();
  void aStopPanelExecute();
  void aLoadPanelExecute();
  void aEditSettingsExecute();
  void aSendToMonitorExecute();
  void aExitExecute();
  void aNewPanelExecute();
  void aCopyPanelExecute();
  void aDeletePanelExecute();
  void aAddInstrumentExecute();
  void a3rdPartyExecute();
  void aEditInstrumentExecute();
  void aDeleteInstrumentExecute();
  void aResetPosExecute();
  void aExportExecute();
  void aImportExecute();
  void aPortNumberExecute();
  void aUserManualExecute();
  void aWebSiteExecute();
  void lvInstrumentsDblClick();
  // The pop-out watcher's tick.
  void TimerXPlanePopOutsTimer();

  // --- panel runtime -------------------------------------------------------------------
  // Settles LocalIPAddressToUse for a start; false when the host has no address.
  bool ResolveLocalAddress();
  // 0 match, 1 monitor count differs, 2 a dimension differs.
  int CompareMonitors() const;
  // What the command lines of a start are made from, taken from the panel and settings.
  LaunchContext MakeLaunchContext();
  // Joins the eleven tokens with one blank each and starts the line.
  void LaunchWithArguments(const std::array<std::string, 11>& tokens);
  // Starts a command line; a started process's handle goes into ProcessList.
  void LaunchProcess(const std::string& commandLine);

  // --- panel store hooks (filled by the panel store) ---------------------------------
  // Loads a panel at start-up: OpenPanel (exact, reporting), ReadPanelFile,
  // CheckInstrumentFiles. False when it could not be loaded.
  bool LoadPanelAtStart(const std::string& name);
  void SaveInstrumentList(const std::string& panelName);
  // Removes the files and the folder of a panel and leaves no panel current.
  void DeletePanelFolder(const std::string& panelName);
  // The multicast listener (later).
  void StartListener();
  void StopListener();

  // --- controls and view state -------------------------------------------------------
  std::vector<TAction> Actions;
  std::vector<RibbonTab> Tabs;
  int ActiveTab = 0;
  std::string RibbonCaption = "Vantrel Professional";
  std::string ApplicationMenuCaption = "Shortcuts";
  // Application menu: recent-item commands, then the option item.
  std::vector<std::string> ApplicationMenuActions;
  std::string ApplicationMenuOption;
  std::string DocumentName;
  std::vector<StatusPanel> sbMain;
  bool lvInstrumentsEnabled = true;
  int lvInstrumentsSelected = -1;
  TTimer TimerXPlanePopOuts;
  FileDialogOptions SaveDialog{"Select File and Folder for Export", ".vnx",
                               "Vantrel Export Files (vnx)|*.vnx", "", "", ""};
  FileDialogOptions OpenDialog{"Select Vantrel Export File", ".vnx",
                               "Vantrel Export Files  (vnx)|*.vnx", "", "", ""};
  // Set when the window should close (Exit, a quit request); the view closes it.
  bool CloseRequested = false;

  TAction& action(const std::string& name);
  const TAction& action(const std::string& name) const;
  RibbonGroup* group(const std::string& caption);
  void execute(const std::string& actionName);

  // --- fields --------------------------------------------------------------------------
  std::string IniPath;
  std::string AppPath;
  std::string VersionNo;
  std::string LocalIPAddressToUse = "Auto";
  bool lockUI = false;
  std::vector<std::string> Arguments;

  // --- run-time state ----------------------------------------------------------------
  Settings settings;
  std::string CurrentPanel;
  PanelState Panel;
  InstrumentList Instruments;
  MonitorTable Monitors;  // taken in FormCreate
  std::int32_t MonitorCount = 0;  // taken again in FormShow
  // Handles of the running panel's processes as unsigned decimal text, in start order.
  std::vector<std::string> ProcessList;
  bool SwitchFlag = false;
  bool ScreenSaverFlag = false;
  std::int32_t PopOutElapsed = 0;
  // The one colour chooser of the run, shared by every Panel Setup dialog.
  ColorChooser ColorDialog;
  TSystemCritical& KeepAwake;
  // Created with the main window and reused for every start.
  TfrmSelAdapter frmSelAdapter;
  // Created with the main window; keeps its set and type from one opening to the next.
  TfrmAddInstrument frmAddInstrument;

  Platform& platform;
  Ui& ui;

  // --- multicast command listener (NetworkCommands.cpp) -------------------------------
  // Carries out the items of one datagram on the user-interface thread.
  void HandleDatagram(const std::vector<CommandItem>& items);
  // Set by the view: runs after a datagram's commands, so the window shows the new state
  // (and closes when a command asked for it).
  std::function<void()> AfterListenerWork;
  MulticastListener Listener{platform, ui};
  // Commands under way (runCommand); datagrams wait while one is.
  int CommandDepth = 0;

 private:
  void buildActions();
};

}  // namespace vantrel
