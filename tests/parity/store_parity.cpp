// A fixed set of store operations on a copy of a fixture folder, for comparing the files
// the program writes on one system with those it writes on another, byte for byte.
//
//   store_parity FIXTURE OUT    copies FIXTURE to OUT (which must not exist), then works in OUT
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "instruments/InstrumentRows.h"
#include "platform/ConsoleUi.h"
#include "platform/Paths.h"
#include "store/InstrumentFile.h"
#include "store/Panel.h"
#include "store/PanelFolder.h"
#include "store/PanelSetup.h"
#include "store/TfrmPanel.h"

namespace {

using namespace vantrel;

std::filesystem::path utf8Path(const std::string& s) { return std::filesystem::path(std::u8string(s.begin(), s.end())); }

InstrumentRow instrument(const std::string& caption, const std::string& exe, const std::string& instance) {
  InstrumentRow r;
  r.Checked = true;
  r.Caption = caption;
  r.SubItems = {"47000", exe, "239.1.1.1", "49000", "2", instance};
  return r;
}

InstrumentRow application(const std::string& caption, const std::string& path, const std::string& params) {
  InstrumentRow r;
  r.Caption = caption;
  r.SubItems = {"App", path, params, "", "", ""};
  return r;
}

void run(const std::string& data) {
  ConsoleUi ui;
  ColorChooser chooser;

  // A new panel: its folder, an empty instrument list and the setup of the dialog.
  std::filesystem::create_directory(utf8Path(panelFolderPath(data, "Trainer")));
  saveInstrumentFile(data, "Trainer", InstrumentList{}, "239.1.1.1", "49000");
  {
    TfrmPanel dialog(ui, chooser);
    dialog.edPanelName.Text = "Trainer";
    dialog.FormShow();
    dialog.cbBezels.Checked = true;
    dialog.sBGColor.Color = 0x00336699;
    dialog.selectSizeType(TfrmPanel::stCustom);
    dialog.edWidth.Text = "1024";
    dialog.edHeight.Text = "768";
    dialog.edTop.Text = "0";
    dialog.edLeft.Text = "0";
    WritePanelFiles(dialog, data, "Trainer", ui);
  }

  // A saved instrument list, over the one the fixture holds.
  InstrumentList list;
  list.add(instrument("ASI", "Instruments_Brantic\\P@ASI.exe", "1"));
  list.add(instrument("Altimeter", "Instruments_Brantic\\P@ALT.exe", "2"));
  list.add(application("Notes", "C:\\Tools\\notes.exe", "-a \"b c\""));
  saveInstrumentFile(data, "Cessna", list, "239.1.1.1", "49000");

  // The panel setup written again: only its keys change, the rest of the file stays.
  {
    TfrmPanel dialog(ui, chooser);
    dialog.edPanelName.Text = "Cessna";
    LoadPanelSetup(dialog, data, "Cessna");
    dialog.FormShow();
    dialog.cbBezels.Checked = false;
    dialog.cbShowGrid.Checked = true;
    dialog.edGrid.Value = 20;
    WritePanelFiles(dialog, data, "Cessna", ui);
  }

  // A placement reset: the existing file keeps its other keys, a missing one is made.
  for (const InstrumentRow& row : list.rows())
    if (!row.isApplication()) resetPlacement(placementFilePath(data, "Cessna", row));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: store_parity FIXTURE OUT\n");
    return 2;
  }
  try {
    const auto out = utf8Path(argv[2]);
    if (std::filesystem::exists(out)) {
      std::fprintf(stderr, "store_parity: %s exists already\n", argv[2]);
      return 2;
    }
    std::filesystem::copy(utf8Path(argv[1]), out, std::filesystem::copy_options::recursive);
    const std::u8string data = (out / "Quorvane" / "Dexalune").u8string();
    run(std::string(data.begin(), data.end()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "store_parity: %s\n", e.what());
    return 1;
  }
  std::printf("store_parity: done\n");
  return 0;
}
