#include "support/MainFixture.h"

#include <filesystem>

namespace vantrel::test {

MainFixture::MainFixture() {
  platform.appDataFolder = home.str();
  platform.exePath = (program.path() / "vantrel").string();
}

TfrmMain& MainFixture::create(std::vector<std::string> arguments) {
  keepAwake = std::make_unique<TSystemCritical>(platform);
  form = std::make_unique<TfrmMain>(platform, ui, *keepAwake, std::move(arguments));
  form->FormCreate();
  return *form;
}

std::string MainFixture::dataFolder() const {
  return (home.path() / "Quorvane" / "Dexalune").string();
}

std::string MainFixture::settingsFile() const {
  return (home.path() / "Quorvane" / "Dexalune" / "vantrel.ini").string();
}

std::string MainFixture::makePanel(const std::string& name) const {
  const auto p = home.path() / "Quorvane" / "Dexalune" / ("Panel_" + name);
  std::filesystem::create_directories(p);
  // An empty instrument list file, so the panel opens without complaint.
  if (!std::filesystem::exists(p / (name + ".cfg"))) writeFile(p / (name + ".cfg"), "");
  return p.string();
}

}  // namespace vantrel::test
