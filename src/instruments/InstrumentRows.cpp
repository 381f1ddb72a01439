#include "instruments/InstrumentRows.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "instruments/Catalog.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "store/IniFile.h"
#include "store/PanelFolder.h"

namespace vantrel {

std::string nextInstanceNumber(const InstrumentList& list, const std::string& caption) {
  std::int64_t highest = 0;
  for (const InstrumentRow& row : list.rows()) {
    int number = 0;
    if (row.Caption == caption && tryStrToInt(row.SubItems[5], number))
      highest = std::max<std::int64_t>(highest, number);
  }
  return std::to_string(highest + 1);
}

InstrumentRow instrumentRow(const std::string& caption, const std::string& port,
                            const std::string& pathName, const std::string& multicastGroup,
                            const std::string& flightSimPort, const std::string& instNo) {
  InstrumentRow row;
  row.Checked = true;
  row.Caption = caption;
  row.SubItems = {port, pathName, multicastGroup, flightSimPort, "1", instNo};
  return row;
}

std::string applicationCaption(const std::string& path) {
  return changeFileExt(extractFileName(path), "");
}

InstrumentRow applicationRow(const std::string& path, const std::string& parameters) {
  InstrumentRow row;
  row.Checked = true;
  row.Caption = applicationCaption(path);
  row.SubItems = {"App", path, parameters, "", "", ""};
  return row;
}

std::size_t replaceRow(InstrumentList& list, std::size_t index, InstrumentRow row) {
  auto& rows = list.rows();
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
  return list.add(std::move(row));
}

std::string placementFilePath(const std::string& iniPath, const std::string& panelName,
                              const InstrumentRow& row) {
  return joinPath(panelFolderPath(iniPath, panelName),
                  fileStem(extractFileName(row.SubItems[1])) + row.SubItems[5] + ".ini");
}

void removeInstrumentRow(const std::string& iniPath, const std::string& panelName,
                         InstrumentList& list, std::size_t index) {
  auto& rows = list.rows();
  const InstrumentRow& row = rows.at(index);
  if (!row.isApplication()) {
    std::error_code ec;
    const auto placement = fsPath(placementFilePath(iniPath, panelName, row));
    // Only a file: a folder that carries the name is none of the instrument's.
    if (std::filesystem::is_regular_file(placement, ec)) std::filesystem::remove(placement, ec);
  }
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
}

void resetPlacement(const std::string& path) {
  IniFile ini(path, FlagStyle::TrueFalse);
  ini.writeString("Position", "Monitor", "0");
  ini.writeString("Position", "X", "0");
  ini.writeString("Position", "Y", "0");
  ini.writeBool("Position", "IsLocked", false);
  ini.writeString("Size", "ScaleSize", "1");
}

}  // namespace vantrel
