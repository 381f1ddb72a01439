#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdlib>

#include "gui/PanelSetupView.h"
#include "support/ScriptedUi.h"

namespace vantrel::test {
namespace {

// Typing and clicking as the user does, so the widgets' own signals fire.
void typeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}
void leftClick(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  const QPointF global = w->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

struct ViewFixture {
  ScriptedUi ui;
  ColorChooser chooser;
  TfrmPanel model{ui, chooser};
  std::unique_ptr<gui::PanelSetupView> view;
  ViewFixture() {
    ui.monitorList = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};
    model.fillMonitorList(2);
    view = std::make_unique<gui::PanelSetupView>(model);
  }
  template <class W>
  W* find(const char* name) {
    W* w = view->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  bool visible(const char* name) { return find<QWidget>(name)->isVisibleTo(view.get()); }
  QAbstractButton* radio(const char* group, const char* caption) {
    for (auto* b : find<QGroupBox>(group)->findChildren<QRadioButton*>())
      if (b->text() == caption) return b;
    ADD_FAILURE() << caption;
    return nullptr;
  }
  QColor swatch(const char* name) { return find<gui::ColorSwatch>(name)->color(); }
  // Saves a picture of the dialog when VANTREL_SCREENSHOT_DIR names a folder.
  void screenshot(const char* file) {
    const char* dir = std::getenv("VANTREL_SCREENSHOT_DIR");
    if (!dir) return;
    QApplication::processEvents();
    view->grab().save(QString(dir) + "/" + file);
  }
};

TEST(PanelSetupView, OpensAsAFixedToolWindowWithTheModelsState) {
  ViewFixture f;
  f.model.edPanelName.Text = "[New Panel]";
  f.view->show();
  EXPECT_EQ(f.view->windowTitle(), "Panel Setup");
  // The form's size is the least; the dialog grows to what its captions need.
  EXPECT_GE(f.view->width(), 450);
  EXPECT_GE(f.view->height(), 424);
  EXPECT_EQ(f.view->minimumSize(), f.view->maximumSize());
  EXPECT_TRUE(f.view->windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(f.find<QGroupBox>("gbSize")->title(), "Background Size && Position");
  EXPECT_EQ(f.find<QCheckBox>("cbBezels")->text(), "Show Instrument Bezels && Knobs");
  EXPECT_TRUE(f.find<QLineEdit>("edPanelName")->isEnabled());
  EXPECT_EQ(f.find<QLineEdit>("edPanelName")->text(), "[New Panel]");
  EXPECT_TRUE(f.find<QCheckBox>("cbBezels")->isChecked());
  EXPECT_TRUE(f.radio("rgType", "Color")->isChecked());
  EXPECT_TRUE(f.radio("rgSizeType", "Full Desktop")->isChecked());
  EXPECT_TRUE(f.visible("gbColor"));
  EXPECT_FALSE(f.visible("gbImage"));
  EXPECT_FALSE(f.visible("cbMonitor") || f.visible("edWidth") || f.visible("edTop"));
  EXPECT_EQ(f.find<QSpinBox>("edGrid")->value(), 40);
  EXPECT_EQ(f.find<QSpinBox>("edPixels")->maximum(), 50);
  // FormShow ran: the mode filled in the desktop.
  EXPECT_EQ(f.find<QLineEdit>("edWidth")->text(), "3200");
  EXPECT_EQ(f.find<QLineEdit>("edLeft")->text(), "0");
  f.screenshot("panelsetup-color.png");
}

TEST(PanelSetupView, ClicksReachTheHandlersAndTheViewFollows) {
  ViewFixture f;
  f.model.edPanelName.Text = "A";
  f.view->show();
  EXPECT_FALSE(f.find<QLineEdit>("edPanelName")->isEnabled());

  f.radio("rgType", "Image")->click();
  EXPECT_EQ(f.model.type(), TfrmPanel::btImage);
  EXPECT_FALSE(f.visible("gbColor"));
  EXPECT_TRUE(f.visible("gbImage"));
  EXPECT_TRUE(f.find<QCheckBox>("cbImageSize")->isChecked());

  f.radio("rgSizeType", "One Monitor only")->click();
  EXPECT_TRUE(f.visible("cbMonitor") && f.visible("lMonitor"));
  EXPECT_FALSE(f.visible("edTop"));
  EXPECT_FALSE(f.visible("edWidth"));
  f.find<QCheckBox>("cbImageSize")->click();
  EXPECT_FALSE(f.model.cbImageSize.Checked);
  EXPECT_TRUE(f.visible("edWidth") && f.visible("lBy") && f.visible("edHeight"));
  emit f.find<QComboBox>("cbMonitor")->activated(1);
  EXPECT_EQ(f.model.cbMonitor.ItemIndex, 1);
  EXPECT_EQ(f.find<QLineEdit>("edWidth")->text(), "1280");
  EXPECT_EQ(f.find<QLineEdit>("edLeft")->text(), "-1280");
  f.screenshot("panelsetup-image.png");

  f.radio("rgSizeType", "Custom Size/Position")->click();
  EXPECT_TRUE(f.visible("edTop") && f.visible("edLeft"));
  EXPECT_FALSE(f.visible("cbMonitor"));
  f.find<QLineEdit>("edTop")->selectAll();
  typeText(f.find<QLineEdit>("edTop"), "-7");
  EXPECT_EQ(f.model.edTop.Text, "-7");
  f.screenshot("panelsetup-custom.png");

  f.ui.expectOpenFile("/pics/sky.png");
  f.find<QPushButton>("btnImage")->click();
  EXPECT_EQ(f.find<QLineEdit>("edBGImage")->text(), "/pics/sky.png");

  f.radio("rgType", "Color")->click();
  EXPECT_EQ(f.model.edBGImage.Text, "");
  f.ui.expectColor(0x000000FF);
  f.find<QPushButton>("btnColor")->click();
  EXPECT_EQ(f.swatch("sBGColor"), QColor(255, 0, 0));
  f.model.pColorFrame.Color = 0x00FF0000;
  f.ui.expectColor(std::nullopt);
  leftClick(f.find<gui::ColorSwatch>("pColorFrame"));
  EXPECT_EQ(f.model.pColorFrame.Color, 0u);
  EXPECT_EQ(f.swatch("pColorFrame"), QColor(0, 0, 0));

  f.find<QCheckBox>("cbShowGrid")->click();
  f.find<QSpinBox>("edPixels")->setValue(7);
  EXPECT_TRUE(f.model.cbShowGrid.Checked);
  EXPECT_EQ(f.model.edPixels.Value, 7);
}

TEST(PanelSetupView, OkAndCancelSetTheModalResult) {
  for (const auto& [button, result] :
       {std::pair{"btnOK", ModalResult::OK}, std::pair{"btnCancel", ModalResult::Cancel}}) {
    ViewFixture f;
    f.view->show();
    f.find<QPushButton>(button)->click();
    EXPECT_EQ(f.model.modalResult, result) << button;
    EXPECT_FALSE(f.view->isVisible());
  }
}

}  // namespace
}  // namespace vantrel::test
