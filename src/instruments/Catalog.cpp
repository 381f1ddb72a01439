#include "instruments/Catalog.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "store/IniFile.h"

namespace vantrel {

namespace {

const std::string kSetPrefix = "Instruments_";
const std::vector<std::string> kTypeNames = {
    "All", "Primary Flight", "Navigation", "Engine", "Annunciators", "Comms", "Miscellaneous"};
const char* const kTypeCodes[] = {"*", "P", "N", "E", "A", "C", "M"};

bool isFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(fsPath(path), ec);
}

bool isFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(fsPath(path), ec);
}

}  // namespace

const std::vector<std::string>& instrumentTypeNames() { return kTypeNames; }

std::string instrumentTypeCode(int item) {
  if (item < 0 || item >= static_cast<int>(kTypeNames.size())) return kTypeCodes[0];
  return kTypeCodes[item];
}

std::string setFolderName(const std::string& set) { return kSetPrefix + set; }

std::string relativeExePath(const std::string& set, const std::string& fileName) {
  return setFolderName(set) + "\\" + fileName;
}

std::string fileStem(const std::string& fileName) {
  return utf8DropLast(utf8Mid(fileName, 2, std::string::npos), 4);
}

std::vector<std::string> listInstrumentSets(const std::string& appPath) {
  std::vector<std::string> sets = {kFirstInstrumentSet};
  for (const std::string& entry : listEntries(appPath, kSetPrefix + "*")) {
    if (!isFolder(joinPath(appPath, entry)) || isHiddenOrSystem(appPath, entry)) continue;
    if (entry == setFolderName(kFirstInstrumentSet)) continue;
    sets.push_back(utf8Mid(entry, kSetPrefix.size(), 128));
  }
  return sets;
}

std::vector<CatalogEntry> listCatalog(const std::string& appPath, const std::string& set,
                                      const std::string& typeCode) {
  const std::string folder = joinPath(appPath, setFolderName(set));
  std::vector<CatalogEntry> entries;
  for (const std::string& name : listEntries(folder, typeCode + "@*.exe")) {
    // A folder that happens to carry such a name is no instrument.
    if (!isFile(joinPath(folder, name))) continue;
    entries.push_back({fileStem(name), name});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const CatalogEntry& a, const CatalogEntry& b) {
    return compareCaptions(a.Stem, b.Stem) < 0;
  });
  return entries;
}

InstrumentDescription readDescription(const std::string& appPath, const std::string& iniFileName) {
  const std::string path = joinPath(appPath, toHostPath(iniFileName));
  const IniFile ini(path);
  InstrumentDescription d;
  d.ShortName = ini.readString("Info", "ShortName", "");
  d.LongName = ini.readString("Info", "LongName", "");
  d.Description = ini.readString("Info", "Description", "");
  d.ImageFile = ini.readString("Info", "ImageFile", "");
  d.DefaultPort = ini.readString("Network", "DefaultPort", "");
  if (!d.ImageFile.empty()) {
    const std::string folder = path.substr(0, path.size() - extractFileName(path).size());
    const std::string picture = toHostPath(folder + d.ImageFile);
    if (isFile(picture)) d.PicturePath = picture;
  }
  return d;
}

}  // namespace vantrel
