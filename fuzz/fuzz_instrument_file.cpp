// The instrument list reader on any file, and the writer on whatever the reader accepted:
// reading never fails other than with a "damaged" report, and a list it read is written as
// a file that reads back as the same rows and is written again byte for byte the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "store/InstrumentFile.h"

namespace {

using namespace vantrel;
using fuzz::escaped;

const char* const kGroup = "224.11.5.62";
const char* const kSimPort = "45000";

// What a row keeps through a write: instrument rows take the group and port in force,
// application rows keep their first three fields only.
InstrumentRow asWritten(InstrumentRow row) {
  if (row.isApplication()) {
    row.SubItems[3] = row.SubItems[4] = row.SubItems[5] = "";
  } else {
    row.SubItems[2] = kGroup;
    row.SubItems[3] = kSimPort;
  }
  return row;
}

bool sameRow(const InstrumentRow& a, const InstrumentRow& b) {
  return a.Checked == b.Checked && a.Caption == b.Caption && a.SubItems == b.SubItems;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string iniPath = fuzz::text(fuzz::scratch());
  const std::string path = instrumentFilePath(iniPath, "Fuzz");
  static const bool made = [&] {
    std::filesystem::create_directories(fuzz::scratch() / "Panel_Fuzz");
    return true;
  }();
  (void)made;
  fuzz::writeBytes(path, bytes);

  InstrumentList list;
  std::string problem;
  const bool read = readInstrumentFile(path, list, problem);
  FUZZ_CHECK(read == problem.empty(), problem);
  if (!read) {
    FUZZ_CHECK(problem.find("is damaged") != std::string::npos, problem);
    return 0;
  }

  saveInstrumentFile(iniPath, "Fuzz", list, kGroup, kSimPort);
  const std::string written = fuzz::readBytes(path);
  InstrumentList again;
  FUZZ_CHECK(readInstrumentFile(path, again, problem),
             "the written list cannot be read back: " + problem + "\n" + escaped(written));
  FUZZ_CHECK(again.size() == list.size(), escaped(written));
  for (std::size_t i = 0; i < list.size(); ++i)
    FUZZ_CHECK(sameRow(again.rows()[i], asWritten(list.rows()[i])),
               "row " + std::to_string(i) + " changed: " + escaped(list.rows()[i].Caption) +
                   " -> " + escaped(again.rows()[i].Caption));
  saveInstrumentFile(iniPath, "Fuzz", again, kGroup, kSimPort);
  FUZZ_CHECK(fuzz::readBytes(path) == written, escaped(written));
  return 0;
}
