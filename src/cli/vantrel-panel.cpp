// vantrel-panel: the panel operations of the window's Panels and Instruments groups from a
// shell, on the same data folder and the catalog beside this program.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "instruments/Catalog.h"
#include "instruments/InstrumentRows.h"
#include "platform/ConsoleUi.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/HostPlatform.h"
#include "store/InstrumentFile.h"
#include "store/PanelExchange.h"
#include "store/PanelFolder.h"
#include "store/TfrmSelPanel.h"

namespace vantrel::cli {
namespace {

const char* const kHelp = R"(Usage: vantrel-panel COMMAND [ARGUMENTS]

Builds panels from a shell, on the data folder the program uses ($APPDATA/Quorvane/Dexalune,
or the XDG configuration folder when APPDATA is not set) and the instrument catalog beside
this program (Instruments_<set>/<type>@<name>.exe).

Commands:
  list                            the panel names, one a line, as Load Panel lists them
  show PANEL                      the panel's rows, one a line, the fields separated by tabs
                                  in the instrument list file's order: caption, port, path,
                                  checked (Y/N), address or parameters, flight-simulator
                                  port, size, instance number
  add PANEL SET INSTRUMENT...     adds catalog instruments as Add Instrument does: the
                                  caption from ShortName, DefaultPort, the configured group
                                  and port, size 1 and the next instance number. INSTRUMENT
                                  is the catalog file name with or without ".exe" (P@ASI) or
                                  its name without the type code when that is unique (ASI).
                                  Prints the added rows as show does.
  remove PANEL CAPTION INSTNO     removes that row as Remove does, with its placement file
  reset PANEL CAPTION INSTNO      Reset Position of that instrument, without the question
  export PANEL FILE               Export Panel: writes the panel's instrument list file, then
                                  packs the files of its folder into the archive FILE (.vnx),
                                  replacing FILE when it exists
  import FILE                     Import Panel: unpacks the archive FILE as a new panel named
                                  after the file (Trainer.vnx gives Trainer, its list and panel
                                  file renamed to that name) and prints the name; an archive
                                  that is damaged, holds a path leading out of the panel
                                  folder or holds no instrument list file leaves nothing

Each change is written to the panel's instrument list file at once. Other rows are kept as
they are: a moved instrument is repaired when the window loads the panel.
Exit status 0 on success; otherwise 1, with the reason on standard error and nothing
changed.

A panel that the window has loaded is saved by the window again when it closes, and when
another panel is loaded or the panel is started: change a panel here while the window does
not hold it, or your change is overwritten.

Examples:
  vantrel-panel add Cessna Brantic P@ASI N@VOR N@VOR
  vantrel-panel reset Cessna ASI 1
)";

struct Context {
  std::string IniPath;
  std::string AppPath;
  Settings settings;
  ConsoleUi ui;
};

// A panel as the window holds it after Load: its rows and the name its files go by.
struct LoadedPanel {
  std::string Current;
  InstrumentList List;
};

bool load(Context& c, const std::string& name, LoadedPanel& panel) {
  std::string found;
  if (!OpenPanel(c.IniPath, panel.List, c.ui, name, true, false, found)) return false;
  PanelState state;
  ReadPanelFile(c.IniPath, found, panel.Current, state);
  return true;
}

void save(Context& c, const LoadedPanel& panel, const InstrumentList& list) {
  saveInstrumentFile(c.IniPath, panel.Current, list, c.settings.MulticastGroup,
                     c.settings.FlightSimPort);
}

void printRow(const InstrumentRow& row) {
  const auto fields = instrumentFields(row);
  for (std::size_t i = 0; i < fields.size(); ++i) std::cout << (i ? "\t" : "") << fields[i];
  std::cout << '\n';
}

int fail(const std::string& message) {
  std::cerr << message << '\n';
  return 1;
}

// The row of caption and instance number, or -1.
int findRow(const InstrumentList& list, const std::string& caption, const std::string& instNo) {
  const auto& rows = list.rows();
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Caption == caption && rows[i].SubItems[5] == instNo) return static_cast<int>(i);
  return -1;
}

std::string noRowMessage(const std::string& panel, const std::string& caption,
                         const std::string& instNo) {
  return "Panel " + panel + " has no row " + caption + " with instance number " + instNo;
}

// The catalog file an INSTRUMENT argument names, or empty.
std::string findInstrument(const std::vector<CatalogEntry>& entries, const std::string& wanted,
                           std::string& problem) {
  for (const CatalogEntry& e : entries)
    if (sameTextIgnoreCase(e.FileName, wanted) || sameTextIgnoreCase(e.FileName, wanted + ".exe"))
      return e.FileName;
  std::vector<std::string> byStem;
  for (const CatalogEntry& e : entries)
    if (e.Stem == wanted) byStem.push_back(e.FileName);
  if (byStem.size() == 1) return byStem.front();
  problem = byStem.empty() ? "is not in the set"
                           : "names several instruments of the set; give the file name";
  return {};
}

int commandList(Context& c) {
  TListBox panels;
  ListPanels(c.IniPath, "Panel_*", panels);
  for (const std::string& name : panels.Items) std::cout << name << '\n';
  return 0;
}

int commandShow(Context& c, const std::string& name) {
  LoadedPanel panel;
  if (!load(c, name, panel)) return 1;
  for (const InstrumentRow& row : panel.List.rows()) printRow(row);
  return 0;
}

int commandAdd(Context& c, const std::string& name, const std::string& set,
               const std::vector<std::string>& wanted) {
  LoadedPanel panel;
  if (!load(c, name, panel)) return 1;
  const std::vector<std::string> sets = listInstrumentSets(c.AppPath);
  if (std::find(sets.begin(), sets.end(), set) == sets.end())
    return fail("Instrument set " + set + " is not installed beside " + c.AppPath);
  const std::vector<CatalogEntry> entries = listCatalog(c.AppPath, set, "*");

  // Every name is checked before anything is added, so a refusal changes nothing.
  std::vector<std::string> files;
  for (const std::string& w : wanted) {
    std::string problem;
    const std::string file = findInstrument(entries, w, problem);
    if (file.empty()) return fail("Instrument " + w + " " + problem + " " + set);
    files.push_back(file);
  }
  std::vector<InstrumentRow> added;
  for (const std::string& file : files) {
    const std::string relative = relativeExePath(set, file);
    const InstrumentDescription d = readDescription(c.AppPath, changeFileExt(relative, ".ini"));
    InstrumentRow row = instrumentRow(d.ShortName, d.DefaultPort, relative,
                                      c.settings.MulticastGroup, c.settings.FlightSimPort,
                                      nextInstanceNumber(panel.List, d.ShortName));
    added.push_back(row);
    panel.List.add(std::move(row));
  }
  save(c, panel, panel.List);
  for (const InstrumentRow& row : added) printRow(row);
  return 0;
}

int commandRemove(Context& c, const std::string& name, const std::string& caption,
                  const std::string& instNo) {
  LoadedPanel panel;
  if (!load(c, name, panel)) return 1;
  const int index = findRow(panel.List, caption, instNo);
  if (index < 0) return fail(noRowMessage(name, caption, instNo));
  // The list is written first: when that fails, the placement file is still there.
  InstrumentList after = panel.List;
  after.rows().erase(after.rows().begin() + index);
  save(c, panel, after);
  removeInstrumentRow(c.IniPath, panel.Current, panel.List, static_cast<std::size_t>(index));
  return 0;
}

int commandReset(Context& c, const std::string& name, const std::string& caption,
                 const std::string& instNo) {
  LoadedPanel panel;
  if (!load(c, name, panel)) return 1;
  const int index = findRow(panel.List, caption, instNo);
  if (index < 0) return fail(noRowMessage(name, caption, instNo));
  const InstrumentRow& row = panel.List.rows()[static_cast<std::size_t>(index)];
  if (row.isApplication()) return fail("Reset position not available for 3rd party applications");
  resetPlacement(placementFilePath(c.IniPath, panel.Current, row));
  return 0;
}

int commandExport(Context& c, const std::string& name, const std::string& file) {
  LoadedPanel panel;
  if (!load(c, name, panel)) return 1;
  if (!prepareExport(c.IniPath, panel.Current, panel.List, c.settings.MulticastGroup,
                     c.settings.FlightSimPort))
    // The window does nothing here; a shell is told, not left with a success and no file.
    return fail("Panel " + panel.Current + " configuration is missing! - Create Panel again");
  writePanelArchive(c.IniPath, panel.Current, file);
  return 0;
}

int commandImport(Context& c, const std::string& file) {
  std::cout << importPanel(c.IniPath, file) << '\n';
  return 0;
}

int usage() {
  std::cerr << "vantrel-panel: unknown command or wrong arguments; see vantrel-panel --help\n";
  return 1;
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) return usage();
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    std::cout << kHelp;
    return 0;
  }
  HostPlatform platform;
  Context c;
  c.IniPath = dataFolderPath(platform.applicationDataFolder());
  c.AppPath = programFolderPath(platform.executablePath());
  c.settings = readSettings(programSettingsPath(c.IniPath, c.AppPath), c.AppPath);

  const std::size_t n = args.size();
  if (command == "list" && n == 1) return commandList(c);
  if (command == "show" && n == 2) return commandShow(c, args[1]);
  if (command == "add" && n >= 4)
    return commandAdd(c, args[1], args[2], std::vector<std::string>(args.begin() + 3, args.end()));
  if (command == "remove" && n == 4) return commandRemove(c, args[1], args[2], args[3]);
  if (command == "reset" && n == 4) return commandReset(c, args[1], args[2], args[3]);
  if (command == "export" && n == 3) return commandExport(c, args[1], args[2]);
  if (command == "import" && n == 2) return commandImport(c, args[1]);
  return usage();
}

}  // namespace
}  // namespace vantrel::cli

int main(int argc, char* argv[]) {
  try {
    return vantrel::cli::run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
}
