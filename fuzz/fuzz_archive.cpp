// The archive unpacker and the panel import on any archive. The first input byte picks an
// import or a plain unpack with the unpacker's two choices; the rest is the archive.
// - Unpacked into a folder of a sandbox (which is also the working folder), nothing lands
//   anywhere but under that folder, and only folders and plain files are made there.
// - Imported into an empty data folder, the archive either becomes the one new panel
//   folder, holding an instrument list file, or is refused with the data folder left empty.
// Refusals are the program's one error type; anything else thrown is a fault.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "FuzzSupport.h"
#include "platform/Error.h"
#include "platform/Paths.h"
#include "store/Archive.h"
#include "store/PanelExchange.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrel;

void freshFolder(const fs::path& p) {
  std::error_code ec;
  fs::remove_all(p, ec);
  fs::create_directories(p);
}

std::string listing(const fs::path& folder) {
  std::string out;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    out += fuzz::escaped(fuzz::text(it->path())) + "\n";
  return out;
}

void checkSandbox(const fs::path& box, const fs::path& target) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(box))
    FUZZ_CHECK(entry.path() == target, "written outside the target folder:\n" + listing(box));
  for (fs::recursive_directory_iterator it(target, ec), end; !ec && it != end; it.increment(ec)) {
    const auto type = it->symlink_status().type();
    FUZZ_CHECK(type == fs::file_type::directory || type == fs::file_type::regular,
               "not a folder or plain file: " + fuzz::escaped(fuzz::text(it->path())));
  }
  FUZZ_CHECK(!ec, ec.message());
}

// Unpacked into a sandbox's target folder, with the sandbox as the working folder.
void unpackCase(const std::string& bytes, bool overwrite, bool storedPaths) {
  const fs::path& root = fuzz::scratch();
  const fs::path archive = root / "in.vnx";
  fuzz::writeBytes(archive, bytes);
  const fs::path box = root / "box";
  const fs::path target = box / "target";
  freshFolder(target);
  // Back to the working folder libFuzzer was started in afterwards: its paths may be relative.
  static const int home = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (::chdir(box.c_str()) != 0) fuzz::fail("cannot enter the sandbox");
  try {
    unpackArchive(fuzz::text(archive), fuzz::text(target), overwrite, storedPaths);
  } catch (const Error&) {
  }
  checkSandbox(box, target);
  if (::fchdir(home) != 0) fuzz::fail("cannot leave the sandbox");
}

// Imported into an empty data folder.
void importCase(const std::string& bytes) {
  const fs::path& root = fuzz::scratch();
  const fs::path dataFolder = root / "data";
  freshFolder(dataFolder);
  const fs::path named = root / "Fuzz Panel.vnx";
  fuzz::writeBytes(named, bytes);
  bool imported = false;
  try {
    FUZZ_CHECK(importPanel(fuzz::text(dataFolder), fuzz::text(named)) == "Fuzz Panel");
    imported = true;
  } catch (const Error&) {
  }
  const fs::path panel = dataFolder / "Panel_Fuzz Panel";
  for (const auto& entry : fs::directory_iterator(dataFolder))
    FUZZ_CHECK(imported && entry.path() == panel,
               std::string(imported ? "imported" : "refused") + ", yet the data folder holds:\n" +
                   listing(dataFolder));
  if (imported) {
    FUZZ_CHECK(fs::symlink_status(panel).type() == fs::file_type::directory);
    FUZZ_CHECK(!listEntries(fuzz::text(panel), "*.cfg").empty(), listing(panel));
  }
  for (const auto& entry : fs::directory_iterator(root))
    FUZZ_CHECK(entry.path() == dataFolder || entry.path() == named || entry.path().filename() == "box" ||
                   entry.path().filename() == "in.vnx",
               "written beside the data folder:\n" + listing(root));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 4)
    importCase(bytes);
  else
    unpackCase(bytes, data[0] & 1, data[0] & 2);
  return 0;
}
