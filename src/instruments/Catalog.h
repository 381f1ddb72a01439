#pragma once
// The instrument catalog beside the program: one set folder per instrument set
// ("Instruments_" + set name), in it one executable per instrument named type code + "@" +
// file stem + ".exe", and beside each its description file (".ini").
#include <string>
#include <vector>

namespace vantrel {

// The set that is built in and always listed first.
constexpr const char* kFirstInstrumentSet = "Brantic";
// The "Instrument Type" items in order; item 0, "All", stands for every type code.
const std::vector<std::string>& instrumentTypeNames();
// The type code of an "Instrument Type" item: "P", "N", ... and "*" for "All" (or an
// item that does not exist).
std::string instrumentTypeCode(int item);

// "Instruments_" + set.
std::string setFolderName(const std::string& set);
// set folder name + a backslash + fileName: the text an instrument row keeps.
std::string relativeExePath(const std::string& set, const std::string& fileName);
// A catalog file name without its type code and "@" (the first two characters) and
// without its last four (".exe").
std::string fileStem(const std::string& fileName);

// The sets as the Add Instrument dialog lists them: Brantic first, then every folder of
// appPath matching "Instruments_*" in the order the folder lists them, hidden folders
// left out, the names after the prefix cut to 128 characters. Only a folder named exactly
// "Instruments_Brantic" is the built-in set; another letter case is listed again.
std::vector<std::string> listInstrumentSets(const std::string& appPath);

struct CatalogEntry {
  std::string Stem;      // "ASI"
  std::string FileName;  // "P@ASI.exe"
};
// The executables of a set with the type code (or "*" for all), letter case ignored,
// sorted by file stem.
std::vector<CatalogEntry> listCatalog(const std::string& appPath, const std::string& set,
                                      const std::string& typeCode);

// What an instrument description file says; a missing file, section or key is empty.
struct InstrumentDescription {
  std::string ShortName;
  std::string LongName;
  std::string Description;
  std::string ImageFile;
  std::string DefaultPort;
  // The picture's full path when that file exists, else empty.
  std::string PicturePath;
};
// Reads the description file at appPath + iniFileName (a relative path such as
// "Instruments_Brantic\P@ASI.ini").
InstrumentDescription readDescription(const std::string& appPath, const std::string& iniFileName);

}  // namespace vantrel
