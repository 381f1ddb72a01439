// The Networking group and the multicast command listener of the main window.
#include <filesystem>

#include "app/TfrmMain.h"
#include "net/Commands.h"
#include "net/TfrmSetPort.h"
#include "platform/Paths.h"
#include "store/InstrumentFile.h"
#include "store/PanelFolder.h"

namespace vantrel {

namespace {

const char* const kPopOutProgram = "Popwarden.exe";

bool popOutProgramPresent(const std::string& appPath) {
  std::error_code ec;
  return std::filesystem::exists(fsPath(appPath + kPopOutProgram), ec);
}

NetworkSettingsRef networkSettings(Settings& s) {
  return {s.ListenPort,        s.MulticastGroup,  s.FlightSimPort,    s.PanelSwitching,
          s.MonitorChecking,   s.NoThirdPartyApp, s.DeclutterDesktop, s.AutoStart,
          s.AircraftIDPrefix,  s.AircraftIDSuffix, s.XPlanePopOutChecking,
          s.XPlanePopOutCheckingInterval, s.XPlanePopOutCheckingMax};
}

// What the listener's commands do to the main window.
class MainWindowTarget : public CommandTarget {
 public:
  explicit MainWindowTarget(TfrmMain& m) : m_(m) {}

  bool panelRunning() const override { return m_.action("aStopPanel").Enabled; }
  bool startAvailable() const override { return m_.action("aStartPanel").Enabled; }
  std::string currentPanel() const override { return m_.CurrentPanel; }
  void setDocumentName(const std::string& text) override { m_.DocumentName = text; }
  void stopCommand() override { m_.aStopPanelExecute(); }
  void startCommand() override { m_.aStartPanelExecute(); }

  bool findPanel(const std::string& key, std::string& foundName) override {
    // Read into a list of its own: a found panel whose list cannot be read must not empty
    // the loaded panel's list, which would be written over its file at the next save.
    InstrumentList found;
    if (!OpenPanel(m_.IniPath, found, m_.ui, key, false, true, foundName)) return false;
    // The loaded panel's list is saved before it is replaced, as Load Panel does, so edits
    // made since the last save are kept. An unchanged file is not written again: that
    // write would be synced to disk and slow every switch down.
    if (!m_.CurrentPanel.empty()) {
      std::string stored;
      const bool same =
          readFileBytes(toHostPath(instrumentFilePath(m_.IniPath, m_.CurrentPanel)), stored) &&
          stored == instrumentFileText(m_.Instruments, m_.settings.MulticastGroup,
                                       m_.settings.FlightSimPort);
      if (!same) m_.SaveInstrumentList(m_.CurrentPanel);
    }
    m_.Instruments = std::move(found);
    return true;
  }

  void makeCurrent(const std::string& foundName, const std::string& documentName) override {
    m_.CurrentPanel = foundName;
    m_.UpdateStartAction(foundName);
    m_.DocumentName = documentName;
    ReadPanelFile(m_.IniPath, foundName, m_.CurrentPanel, m_.Panel);
  }

  void startPanel() override { m_.aStartPanelExecute(); }
  void setSwitchFlag(bool on) override { m_.SwitchFlag = on; }
  void restoreMainWindow() override { m_.ui.restoreMainWindow(); }
  // The program ends by closing the main window once the datagram has been handled, so
  // the instrument list and "LastPanelUsed" are written as at any close.
  void endProgram() override { m_.CloseRequested = true; }
  void report(const std::exception& error) override {
    m_.ui.messageBox(MsgType::Error, error.what(), MsgButtons::OK);
  }

 private:
  TfrmMain& m_;
};

}  // namespace

void TfrmMain::StartListener() {
  Listener.start(
      settings.MulticastGroup, settings.ListenPort,
      [this](const std::vector<CommandItem>& items) { HandleDatagram(items); },
      [this] { return CommandDepth == 0; });
}

void TfrmMain::StopListener() { Listener.stop(); }

void TfrmMain::HandleDatagram(const std::vector<CommandItem>& items) {
  // Read for every datagram: the Network Config dialog may have changed them.
  const SwitchOptions options{settings.PanelSwitching, settings.AutoStart,
                              settings.AircraftIDPrefix, settings.AircraftIDSuffix};
  MainWindowTarget target(*this);
  handleCommands(items, options, target, platform);
  if (AfterListenerWork) AfterListenerWork();
}

void TfrmMain::aPortNumberExecute() {
  TfrmSetPort dialog(platform.decimalSeparator());
  const NetworkSettingsRef values = networkSettings(settings);
  dialog.Fill(values, popOutProgramPresent(AppPath));
  if (ui.showModal(dialog) != ModalResult::OK) return;
  dialog.Apply(values, popOutProgramPresent(AppPath));
  writeNetworkSettings(SettingsPath(), settings);
}

}  // namespace vantrel
