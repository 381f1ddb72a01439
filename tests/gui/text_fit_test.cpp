// Every caption reads in full, at the default font and at a 125 % font: the forms' sizes
// are the least a window takes, and a window grows to what its texts need.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>

#include "gui/MainWindow.h"
#include "gui/PanelSetupView.h"
#include "gui/QtUi.h"
#include "gui/Ribbon.h"
#include "gui/SelAdapterView.h"
#include "support/FakePlatform.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

// The application font for one test, put back afterwards.
class FontScale {
 public:
  explicit FontScale(double factor) : saved_(QApplication::font()) {
    QFont f = saved_;
    f.setPointSizeF(saved_.pointSizeF() * factor);
    QApplication::setFont(f);
  }
  ~FontScale() { QApplication::setFont(saved_); }

 private:
  QFont saved_;
};

// Widgets below root whose text is wider than the room they were given.
std::vector<std::string> cutTexts(QWidget* root) {
  std::vector<std::string> cut;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(root)) continue;
    QString text;
    if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap()) text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
    if (text.isEmpty()) continue;
    // A push button's least size is a style's choice, not its text's: for it the text
    // and a little padding is what must fit.
    int need = w->minimumSizeHint().width();
    if (qobject_cast<QPushButton*>(w)) {
      QString shown = text;
      shown.remove('&');
      need = w->fontMetrics().horizontalAdvance(shown) + 8;
    }
    if (w->width() < need)
      cut.push_back(QString("%1 \"%2\": %3 < %4")
                        .arg(w->objectName(), text)
                        .arg(w->width())
                        .arg(need)
                        .toStdString());
  }
  return cut;
}

class TextFit : public ::testing::TestWithParam<double> {};

TEST_P(TextFit, MainWindowRibbonAndStatusBar) {
  FontScale font(GetParam());
  TempDir home, program;
  FakePlatform platform;
  platform.appDataFolder = home.str();
  platform.exePath = (program.path() / "vantrel").string();
  gui::QtUi ui;
  ui.setQuiet(true);
  TSystemCritical keepAwake{platform};
  TfrmMain model(platform, ui, keepAwake, {});
  gui::MainWindow window(model, ui);
  ui.setMainWindow(&window);
  model.DocumentName = std::string(150, 'N') + " end";
  window.refresh();
  window.show();
  QApplication::processEvents();

  EXPECT_GE(window.width(), 500);
  for (int tabs : {0, 1, 2}) {
    window.ribbon()->tabBar()->setCurrentIndex(tabs);
    QApplication::processEvents();
    EXPECT_EQ(cutTexts(window.ribbon()), std::vector<std::string>()) << "tab " << tabs;
  }
  EXPECT_EQ(cutTexts(window.statusBar()), std::vector<std::string>());
  // A long panel name is shortened in the caption strip; it does not widen the window.
  auto* title = window.ribbon()->findChild<QLabel*>("RibbonTitle");
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->text().contains(QChar(0x2026))) << title->text().toStdString();
  EXPECT_TRUE(title->text().endsWith("end - " + QString::fromStdString(model.RibbonCaption)));
  EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->width());

  // One icon size per button size, and a disabled command's icon drawn grey.
  model.action("aEditSettings").Enabled = false;
  window.ribbon()->refresh();
  for (const char* name : {"aStartPanel", "aExport", "aImport", "aPortNumber", "aUserManual",
                           "aLoadPanel", "aEditSettings", "aNewPanel"}) {
    QToolButton* b = window.ribbon()->buttonsFor(name).front();
    const QSize size = b->iconSize();
    EXPECT_EQ(b->icon().actualSize(size), size) << name;
    EXPECT_EQ(b->icon().pixmap(size).size(), size) << name;
  }
  QToolButton* edit = window.ribbon()->buttonsFor("aEditSettings").front();
  EXPECT_NE(edit->icon().pixmap(edit->iconSize(), QIcon::Disabled).toImage(),
            edit->icon().pixmap(edit->iconSize(), QIcon::Normal).toImage());
}

TEST_P(TextFit, DialogsKeepTheirSizeAsTheLeast) {
  FontScale font(GetParam());
  TfrmSelAdapter adapter;
  adapter.dropdownAdapters.Items = {"10.0.0.1", "10.0.0.2"};
  adapter.dropdownAdapters.ItemIndex = 0;
  gui::SelAdapterView adapterView(adapter);
  adapterView.show();
  EXPECT_GE(adapterView.width(), adapter.ClientWidth);
  EXPECT_GE(adapterView.height(), adapter.ClientHeight);
  EXPECT_EQ(cutTexts(&adapterView), std::vector<std::string>());

  ScriptedUi ui;
  ColorChooser chooser;
  TfrmPanel panel{ui, chooser};
  ui.monitorList = {{0, 0, 1920, 1080}};
  panel.fillMonitorList(1);
  panel.edPanelName.Text = "[New Panel]";
  gui::PanelSetupView setup(panel);
  setup.show();
  EXPECT_GE(setup.width(), panel.ClientWidth);
  EXPECT_GE(setup.height(), panel.ClientHeight);
  EXPECT_EQ(setup.minimumSize(), setup.maximumSize());
  EXPECT_EQ(cutTexts(&setup), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Font, TextFit, ::testing::Values(1.0, 1.25),
                         [](const auto& info) { return info.param == 1.0 ? "Default" : "Larger"; });

}  // namespace
}  // namespace vantrel::test
