#pragma once
// A main window over the fake platform with panel folders whose names hold aircraft ids.
// Each panel has one instrument row (a program named after the panel) and one application
// row, so the started command lines tell which panel runs and whether applications started.
#include <string>
#include <vector>

#include "net/Datagram.h"
#include "store/InstrumentFile.h"
#include "store/PanelFolder.h"
#include "support/MainFixture.h"

namespace vantrel::test {

inline InstrumentList panelList(const std::string& panel) {
  InstrumentList list;
  InstrumentRow instrument;
  instrument.Checked = true;
  instrument.Caption = panel + " gauge";
  instrument.SubItems = {"47000", "Instruments\\" + panel + ".exe", "224.11.5.62", "45000", "1",
                         "1"};
  list.add(instrument);
  InstrumentRow app;
  app.Checked = true;
  app.Caption = panel + " app";
  app.SubItems = {"App", "/opt/apps/" + panel + "-app", "", "", "", ""};
  list.add(app);
  return list;
}

struct PanelsFixture : MainFixture {
  TfrmMain& m;
  explicit PanelsFixture(std::vector<std::string> panels = {"A320", "B737", "C172 Skyhawk"})
      : m(create()) {
    for (const auto& p : panels) addPanel(p);
    m.settings.XPlanePopOutChecking = false;
    m.UpdateStartAction(m.CurrentPanel);  // as the first show leaves it
  }
  void addPanel(const std::string& name) const {
    const std::string folder = makePanel(name);
    writeFile(std::filesystem::path(folder) / (name + ".cfg"),
              instrumentFileText(panelList(name), "224.11.5.62", "45000"));
  }
  // Loads name as Load Panel would leave it (the programs are stand-ins: no catalog check).
  void load(const std::string& name) {
    std::string found;
    ASSERT_TRUE(OpenPanel(m.IniPath, m.Instruments, ui, name, true, false, found));
    ReadPanelFile(m.IniPath, found, m.CurrentPanel, m.Panel);
    m.DocumentName = m.CurrentPanel;
    m.UpdateStartAction(m.CurrentPanel);
  }
  void run(const std::string& name) {
    load(name);
    m.aStartPanelExecute();
    platform.log.clear();
  }
  void datagram(const std::string& bytes) { m.HandleDatagram(parseDatagram(bytes)); }
  bool running() const { return m.action("aStopPanel").Enabled; }
  // Programs started since the log was last cleared, by their file names.
  std::vector<std::string> started() const {
    std::vector<std::string> out;
    for (const auto& line : platform.log) {
      if (line.rfind("start ", 0) != 0) continue;
      if (line.find("Scrimlay.exe") != std::string::npos) {
        out.push_back("background");
      } else if (line.find("-app") != std::string::npos) {
        out.push_back("app");
      } else {
        const auto exe = line.find(".exe");
        const auto from = line.find_last_of("\\/", exe) + 1;
        out.push_back(line.substr(from, exe - from));
      }
    }
    return out;
  }
  int terminations() const {
    int n = 0;
    for (const auto& line : platform.log) n += line.rfind("terminate ", 0) == 0;
    return n;
  }
};

}  // namespace vantrel::test
