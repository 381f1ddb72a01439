#include "store/PanelExchange.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/Error.h"
#include "platform/Paths.h"
#include "store/Archive.h"
#include "store/IniFile.h"
#include "store/InstrumentFile.h"
#include "store/PanelFolder.h"

namespace vantrel {

namespace {

namespace fs = std::filesystem;

fs::path hostFs(const std::string& host) { return fs::path(std::u8string(host.begin(), host.end())); }

std::string text(const fs::path& p) {
  const std::u8string u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

// A new, empty folder in the data folder for an import in progress. Its name never
// matches "Panel_*", so no panel list or lookup sees it.
fs::path makeImportFolder(const std::string& iniPath) {
  static std::mt19937_64 random{std::random_device{}()};
  const fs::path data = fsPath(iniPath);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    const fs::path folder = data / ("~Import_" + std::string(suffix));
    std::error_code ec;
    if (fs::create_directory(folder, ec)) return folder;
    if (ec) break;
  }
  throw writeError(joinPath(iniPath, "~Import_"));
}

// The first instrument list file in folder, by the enumeration's order; empty when none.
std::string firstListFile(const fs::path& folder) {
  for (const std::string& entry : listEntries(text(folder), "*.cfg")) {
    std::error_code ec;
    if (fs::is_regular_file(folder / hostFs(entry), ec)) return entry;
  }
  return "";
}

// A rename inside the new folder that never replaces a file already there; a rename that
// cannot be made is passed over.
void renameIfFree(const fs::path& folder, const std::string& from, const std::string& to) {
  std::error_code ec;
  const fs::path target = folder / hostFs(to);
  if (fs::exists(target, ec) || ec) return;
  fs::rename(folder / hostFs(from), target, ec);
}

void unpackAsPanel(const std::string& archivePath, const fs::path& folder, const std::string& name) {
  unpackArchive(archivePath, text(folder), true, true);
  const std::string listFile = firstListFile(folder);
  if (listFile.empty()) throw Error(noPanelInArchiveMessage(archivePath));
  const std::string oldName = listFile.substr(0, listFile.size() - 4);
  if (oldName == name) return;
  renameIfFree(folder, oldName + ".cfg", name + ".cfg");
  renameIfFree(folder, oldName + ".ini", name + ".ini");
  IniFile(text(folder / hostFs(name + ".ini")), FlagStyle::OneZero)
      .writeString("Config", "PanelName", name);
}

}  // namespace

const char* const kNothingToExportMessage = "No Panel or Instruments to export!";

bool prepareExport(const std::string& iniPath, const std::string& panelName,
                   const InstrumentList& list, const std::string& multicastGroup,
                   const std::string& flightSimPort) {
  if (panelName.empty() || list.empty()) throw Error(kNothingToExportMessage);
  std::error_code ec;
  if (!fs::is_directory(fsPath(panelFolderPath(iniPath, panelName)), ec)) return false;
  saveInstrumentFile(iniPath, panelName, list, multicastGroup, flightSimPort);
  return true;
}

void writePanelArchive(const std::string& iniPath, const std::string& panelName,
                       const std::string& archivePath) {
  packFolder(toHostPath(panelFolderPath(iniPath, panelName)), false, archivePath);
}

std::string importedPanelName(const std::string& archivePath) {
  const std::string file = text(hostFs(archivePath).filename());
  const std::size_t dot = file.rfind('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

std::string importExistsMessage(const std::string& name) {
  return "Panel " + name + " already exists!";
}

std::string noPanelInArchiveMessage(const std::string& archivePath) {
  return "No Panel in " + archivePath + " - it holds no instrument list file";
}

std::string importPanel(const std::string& iniPath, const std::string& archivePath) {
  const std::string name = importedPanelName(archivePath);
  // The file name becomes a folder name: one that cannot be a panel's is refused here.
  if (!isValidPanelName(name)) throw Error(invalidPanelNameMessage(name));
  const fs::path target = fsPath(panelFolderPath(iniPath, name));
  std::error_code ec;
  if (fs::exists(target, ec) || ec) throw Error(importExistsMessage(name));

  // Unpacked aside and moved into place whole, so a failure leaves no half panel behind.
  const fs::path folder = makeImportFolder(iniPath);
  try {
    unpackAsPanel(archivePath, folder, name);
    if (fs::exists(target, ec) || ec) throw Error(importExistsMessage(name));
    fs::rename(folder, target, ec);
    if (ec) throw writeError(text(target));
  } catch (...) {
    fs::remove_all(folder, ec);
    throw;
  }
  return name;
}

}  // namespace vantrel
