#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include "gui/MainWindow.h"
#include "gui/QtUi.h"
#include "gui/Ribbon.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

struct ViewFixture {
  TempDir home, program;
  FakePlatform platform;
  gui::QtUi ui;
  TSystemCritical keepAwake{platform};
  std::unique_ptr<TfrmMain> model;
  std::unique_ptr<gui::MainWindow> window;
  explicit ViewFixture(std::vector<std::string> args = {}) {
    platform.appDataFolder = home.str();
    platform.exePath = (program.path() / "vantrel").string();
    model = std::make_unique<TfrmMain>(platform, ui, keepAwake, std::move(args));
    window = std::make_unique<gui::MainWindow>(*model, ui);
    ui.setMainWindow(window.get());
    ui.setQuiet(true);
  }
  QToolButton* button(const std::string& action) {
    auto b = window->ribbon()->buttonsFor(action);
    return b.empty() ? nullptr : b.front();
  }
};

TEST(MainWindowView, RibbonCarriesTabsGroupsAndCaptions) {
  ViewFixture f;
  QTabBar* tabs = f.window->ribbon()->tabBar();
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), "Operation");
  EXPECT_EQ(tabs->tabText(1), "Building");
  EXPECT_EQ(tabs->tabText(2), "Configuration");
  EXPECT_EQ(tabs->currentIndex(), 0);

  const std::pair<const char*, const char*> captions[] = {
      {"aStartPanel", "&Start"},          {"aStopPanel", "S&top"},
      {"aLoadPanel", "&Load Panel"},      {"aEditSettings", "&Edit Panel"},
      {"aSendToMonitor", "&Send To ..."}, {"aExit", "E&xit"},
      {"aNewPanel", "&New Panel"},        {"aCopyPanel", "&Copy Panel"},
      {"aDeletePanel", "&Delete Panel"},  {"aAddInstrument", "&Add Instrument"},
      {"a3rdParty", "A&dd 3rd Party App"}, {"aEditInstrument", "&Edit Settings"},
      {"aDeleteInstrument", "&Remove"},   {"aResetPos", "Re&set Position"},
      {"aExport", "&Export Panel"},       {"aImport", "&Import Panel"},
      {"aPortNumber", "&Network Config "}, {"aUserManual", "&User Manual"},
      {"aWebSite", "Quorvane &Website"},
  };
  for (const auto& [name, caption] : captions) {
    QToolButton* b = f.button(name);
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->text(), caption) << name;
  }
  for (const char* g : {"Control", "Panel", "Program", "Panels", "Instruments", "Exchange",
                        "Networking", "Help"})
    EXPECT_NE(f.window->ribbon()->groupWidget(g), nullptr) << g;

  EXPECT_EQ(f.window->ribbon()->applicationButton()->text(), "Shortcuts");
  QStringList menu;
  for (QAction* a : f.window->ribbon()->applicationMenu()->actions())
    if (!a->isSeparator()) menu << a->text();
  EXPECT_EQ(menu, (QStringList{"Quorvane &Website", "&User Manual", "E&xit"}));

  QTreeWidget* list = f.window->instrumentList();
  ASSERT_EQ(list->columnCount(), 7);
  EXPECT_EQ(list->headerItem()->text(0), "On|Instrument");
  EXPECT_EQ(list->headerItem()->text(6), "InstNo");
  EXPECT_EQ(list->columnWidth(0), 400);
  EXPECT_EQ(list->columnWidth(1), 85);
  EXPECT_EQ(list->columnWidth(2), 300);
  // 500 pixels at the least, fixed: the ribbon's captions may need more.
  EXPECT_GE(f.window->width(), 500);
  EXPECT_EQ(f.window->minimumWidth(), f.window->maximumWidth());
  EXPECT_EQ(f.window->windowTitle(), "Vantrel");
}

TEST(MainWindowView, StartAndSendToFollowTheModel) {
  ViewFixture f;
  f.model->FormShow();
  f.window->refresh();
  EXPECT_FALSE(f.button("aStartPanel")->isEnabled()) << "no panel";
  EXPECT_FALSE(f.button("aStopPanel")->isEnabled());
  EXPECT_EQ(f.button("aSendToMonitor")->isEnabled(), f.model->MonitorCount > 1);
  EXPECT_EQ(f.window->statusPanel(2)->text(), "V2.15.1");

  f.model->CurrentPanel = f.model->DocumentName = "Cessna";
  f.model->UpdateStartAction("Cessna");
  f.model->action("aSendToMonitor").Enabled = true;
  f.window->refresh();
  EXPECT_TRUE(f.button("aStartPanel")->isEnabled());
  EXPECT_TRUE(f.button("aSendToMonitor")->isEnabled());
  EXPECT_EQ(f.window->windowTitle(), "Cessna - Vantrel");

  // The running state greys the editing groups; Stop comes alive.
  f.model->SetRunningState(true);
  f.window->refresh();
  EXPECT_FALSE(f.button("aStartPanel")->isEnabled());
  EXPECT_TRUE(f.button("aStopPanel")->isEnabled());
  EXPECT_FALSE(f.button("aSendToMonitor")->isEnabled());
  EXPECT_FALSE(f.button("aNewPanel")->isEnabled());

  // A click reaches the model's handler.
  f.button("aStopPanel")->click();
  EXPECT_FALSE(f.model->action("aStopPanel").Enabled);
  EXPECT_TRUE(f.button("aStartPanel")->isEnabled());
}

TEST(MainWindowView, CheckBoxesChangeTheModel) {
  ViewFixture f;
  InstrumentRow a;
  a.Caption = "ASI";
  a.Checked = true;
  f.model->Instruments.add(a);
  a.Caption = "Altimeter";
  a.Checked = false;
  f.model->Instruments.add(a);
  f.window->refresh();
  QTreeWidget* list = f.window->instrumentList();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  const int asi = list->topLevelItem(0)->text(0) == "ASI" ? 0 : 1;
  EXPECT_EQ(list->topLevelItem(asi)->checkState(0), Qt::Checked);
  list->topLevelItem(asi)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(f.model->Instruments.rows()[asi].Checked);
}

}  // namespace
}  // namespace vantrel::test
