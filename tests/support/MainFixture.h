#pragma once
// A main window model over a fake platform, a scripted Ui and a data folder of its own.
#include <memory>
#include <string>
#include <vector>

#include "app/TfrmMain.h"
#include "support/FakePlatform.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace vantrel::test {

struct MainFixture {
  TempDir home;     // stands for APPDATA
  TempDir program;  // the program's folder (AppPath)
  FakePlatform platform;
  ScriptedUi ui;
  std::unique_ptr<TSystemCritical> keepAwake;
  std::unique_ptr<TfrmMain> form;

  MainFixture();
  // Creates the model with these arguments and runs FormCreate (not FormShow).
  TfrmMain& create(std::vector<std::string> arguments = {});
  // The data folder: home/Quorvane/Dexalune.
  std::string dataFolder() const;
  std::string settingsFile() const;
  // Creates a panel folder (and optionally writes files into it).
  std::string makePanel(const std::string& name) const;
};

}  // namespace vantrel::test
