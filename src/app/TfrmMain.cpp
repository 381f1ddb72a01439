#include "app/TfrmMain.h"

#include <filesystem>

#include "platform/Error.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {
const char* const kWebSite = "https://www.quorvane.com/";
const char* const kManual = "Vantrel Manual.pdf";
// Groups that are unusable while a panel runs.
const char* const kRunningGroups[] = {"Panel", "Program", "Panels", "Instruments",
                                      "Networking", "Help", "Exchange"};
}  // namespace

TfrmMain::TfrmMain(Platform& platform_, Ui& ui_, TSystemCritical& keepAwake,
                   std::vector<std::string> arguments)
    : Arguments(std::move(arguments)), KeepAwake(keepAwake), platform(platform_), ui(ui_) {
  Name = "frmMain";
  Caption = "Vantrel";
  TimerXPlanePopOuts.Name = "TimerXPlanePopOuts";
  TimerXPlanePopOuts.Enabled = false;
  TimerXPlanePopOuts.Interval = 15000;
  sbMain = {{170, ""}, {200, ""}, {50, ""}};
  buildActions();
}

void TfrmMain::buildActions() {
  auto add = [this](const char* name, const char* caption, void (TfrmMain::*handler)()) {
    TAction a;
    a.Name = name;
    a.Caption = caption;
    a.OnExecute = [this, handler] { (this->*handler)(); };
    Actions.push_back(std::move(a));
  };
  add("aStartPanel", "&Start", &TfrmMain::aStartPanelExecute);
  add("aStopPanel", "S&top", &TfrmMain::aStopPanelExecute);
  add("aLoadPanel", "&Load Panel", &TfrmMain::aLoadPanelExecute);
  add("aEditSettings", "&Edit Panel", &TfrmMain::aEditSettingsExecute);
  add("aSendToMonitor", "&Send To ...", &TfrmMain::aSendToMonitorExecute);
  add("aExit", "E&xit", &TfrmMain::aExitExecute);
  add("aNewPanel", "&New Panel", &TfrmMain::aNewPanelExecute);
  add("aCopyPanel", "&Copy Panel", &TfrmMain::aCopyPanelExecute);
  add("aDeletePanel", "&Delete Panel", &TfrmMain::aDeletePanelExecute);
  add("aAddInstrument", "&Add Instrument", &TfrmMain::aAddInstrumentExecute);
  add("a3rdParty", "A&dd 3rd Party App", &TfrmMain::a3rdPartyExecute);
  add("aEditInstrument", "&Edit Settings", &TfrmMain::aEditInstrumentExecute);
  add("aDeleteInstrument", "&Remove", &TfrmMain::aDeleteInstrumentExecute);
  add("aResetPos", "Re&set Position", &TfrmMain::aResetPosExecute);
  add("aExport", "&Export Panel", &TfrmMain::aExportExecute);
  add("aImport", "&Import Panel", &TfrmMain::aImportExecute);
  add("aPortNumber", "&Network Config ", &TfrmMain::aPortNumberExecute);
  add("aUserManual", "&User Manual", &TfrmMain::aUserManualExecute);
  add("aWebSite", "Quorvane &Website", &TfrmMain::aWebSiteExecute);
  action("aExit").Hint = "Exit|Quits the application";
  action("aStopPanel").Enabled = false;

  Tabs = {
      {"Operation",
       {{"", "Control", true, {"aStartPanel", "aStopPanel"}},
        {"rgLoading", "Panel", true, {"aLoadPanel", "aEditSettings", "aSendToMonitor"}},
        {"rgProgram", "Program", true, {"aExit"}}}},
      {"Building",
       {{"rgPanels", "Panels", true, {"aNewPanel", "aCopyPanel", "aDeletePanel"}},
        {"rgInstruments",
         "Instruments",
         true,
         {"aAddInstrument", "a3rdParty", "aEditInstrument", "aDeleteInstrument", "aResetPos"}},
        {"rgExchange", "Exchange", true, {"aExport", "aImport"}}}},
      {"Configuration",
       {{"rgNetwork", "Networking", true, {"aPortNumber"}},
        {"rgHelp", "Help", true, {"aUserManual", "aWebSite"}}}},
  };
  ApplicationMenuActions = {"aWebSite", "aUserManual"};
  ApplicationMenuOption = "aExit";
}

TAction& TfrmMain::action(const std::string& name) {
  for (auto& a : Actions)
    if (a.Name == name) return a;
  throw std::out_of_range("no action " + name);
}

const TAction& TfrmMain::action(const std::string& name) const {
  return const_cast<TfrmMain*>(this)->action(name);
}

RibbonGroup* TfrmMain::group(const std::string& caption) {
  for (auto& tab : Tabs)
    for (auto& g : tab.Groups)
      if (g.Caption == caption) return &g;
  return nullptr;
}

void TfrmMain::execute(const std::string& actionName) {
  TAction& a = action(actionName);
  if (!a.Enabled) return;
  for (auto& tab : Tabs)
    for (auto& g : tab.Groups)
      for (auto& n : g.Actions)
        if (n == actionName && !g.Enabled) return;
  runCommand(a.OnExecute);
}

void TfrmMain::runCommand(const std::function<void()>& handler) {
  // A datagram handed over while the command's dialogs are open waits for the command.
  ++CommandDepth;
  try {
    handler();
  } catch (const std::exception& e) {
    ui.messageBox(MsgType::Error, e.what(), MsgButtons::OK);
  } catch (...) {
    --CommandDepth;
    throw;
  }
  if (--CommandDepth == 0) Listener.resume();
}

std::string TfrmMain::SettingsPath() const {
  return settingsFilePath(IniPath, platform.executablePath());
}

void TfrmMain::FormCreate() {
  IniPath = dataFolderPath(platform.applicationDataFolder());
  std::error_code ec;
  std::filesystem::create_directory(fsPath(IniPath).parent_path(), ec);
  std::filesystem::create_directory(fsPath(IniPath), ec);
  AppPath = programFolderPath(platform.executablePath());
  VersionNo = "2.15.1";

  const auto screens = ui.monitors();
  Monitors = MonitorTable{};
  Monitors.Count = static_cast<std::int32_t>(screens.size());
  for (std::size_t i = 0; i < screens.size() && i < 4; ++i) {
    Monitors.Widths[i] = screens[i].width;
    Monitors.Heights[i] = screens[i].height;
  }
  // The dialogs made once for the whole run.
  frmAddInstrument.FormCreate(AppPath);
}

void TfrmMain::FormShow() {
  settings = readSettings(SettingsPath(), AppPath);
  LocalIPAddressToUse = settings.AdapterIPAddress;
  ProcessList.clear();
  sbMain[2].Text = "V" + VersionNo;

  MonitorCount = static_cast<std::int32_t>(ui.monitors().size());
  ActiveTab = 0;
  action("aSendToMonitor").Enabled = MonitorCount > 1;

  std::string panelName;
  if (!Arguments.empty() && Arguments[0] != "start")
    panelName = Arguments[0];
  else
    panelName = readLastPanel(SettingsPath());

  lockUI = Arguments.size() == 2 && Arguments[1] == "lock";
  if (lockUI) LockUserInterface();

  if (!panelName.empty()) {
    bool loaded = false;
    runCommand([&] { loaded = LoadPanelAtStart(panelName); });
    if (!loaded) CurrentPanel.clear();
    DocumentName = CurrentPanel;
  }
  UpdateStartAction(CurrentPanel);
  // A listener that cannot start (a bad group or port) ends the start-up sequence here.
  bool listening = false;
  runCommand([&] {
    StartListener();
    listening = true;
  });
  if (!listening) return;

  if (!Arguments.empty() && !CurrentPanel.empty()) {
    ui.minimizeMainWindow();
    runCommand([this] { aStartPanelExecute(); });
  }
}

void TfrmMain::OnRestore() {
  if (action("aStopPanel").Enabled) runCommand([this] { aStopPanelExecute(); });
}

void TfrmMain::FormClose() {
  // Each step is guarded so that a failed save never leaves the panel's programs running.
  runCommand([this] { SaveInstrumentList(CurrentPanel); });
  runCommand([this] { writeLastPanel(SettingsPath(), CurrentPanel); });
  if (action("aStopPanel").Enabled) {
    try {
      aStopPanelExecute();
    } catch (...) {
    }
  }
  ProcessList.clear();
  StopListener();
}

void TfrmMain::CloseBeforeShow() {
  runCommand([this] { writeLastPanel(SettingsPath(), readLastPanel(SettingsPath())); });
}

void TfrmMain::UpdateStartAction(const std::string& panelName) {
  action("aStartPanel").Enabled = !panelName.empty() && !lockUI;
  // Without a panel there is nothing to edit: the dialog's OK would write into the folder
  // of the empty name.
  action("aEditSettings").Enabled = !panelName.empty() && !lockUI;
}

void TfrmMain::LockUserInterface() {
  for (auto& a : Actions)
    if (a.Caption != "E&xit") a.Enabled = false;
  lvInstrumentsEnabled = false;
}

void TfrmMain::SetRunningState(bool running) {
  for (const char* caption : kRunningGroups)
    if (RibbonGroup* g = group(caption)) g->Enabled = !running;
  action("aStartPanel").Enabled = !running && !lockUI;
  action("aStopPanel").Enabled = running;
}

void TfrmMain::aExitExecute() { CloseRequested = true; }

void TfrmMain::aUserManualExecute() {
  std::error_code ec;
  const auto manual = std::filesystem::current_path(ec) / kManual;
  if (!ec && std::filesystem::exists(manual, ec)) platform.shellOpen(pathText(manual));
}

void TfrmMain::aWebSiteExecute() { platform.shellOpen(kWebSite); }

}  // namespace vantrel
