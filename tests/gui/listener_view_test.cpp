// The main window follows what a datagram's commands did, and closes on Kill.
#include <gtest/gtest.h>

#include <QApplication>

#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "net/Datagram.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

TEST(ListenerView, TheWindowShowsTheAircraftAndClosesOnKill) {
  TempDir home, program;
  FakePlatform platform;
  platform.appDataFolder = home.str();
  platform.exePath = (program.path() / "vantrel").string();
  gui::QtUi ui;
  TSystemCritical keepAwake{platform};
  TfrmMain model(platform, ui, keepAwake, {});
  gui::MainWindow window(model, ui);
  ui.setMainWindow(&window);
  ui.setQuiet(true);
  window.show();
  for (int i = 0; i < 20 && !model.Listener.active(); ++i) QApplication::processEvents();
  ASSERT_TRUE(model.Listener.active()) << "the first show starts the listener";

  model.HandleDatagram(parseDatagram("PNL:C172"));
  EXPECT_EQ(window.windowTitle(), " (C172) - Vantrel");

  window.showMinimized();
  model.HandleDatagram(parseDatagram("PNL:Kill"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(window.isMinimized()) << "set to the normal state first";
  EXPECT_FALSE(model.Listener.active()) << "the close steps ran";
  EXPECT_TRUE(home.exists("Quorvane/Dexalune/vantrel.ini")) << "LastPanelUsed was written";
}

}  // namespace
}  // namespace vantrel::test
