#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "gui/FormViews.h"
#include "gui/QtUi.h"
#include "gui/SetPortView.h"

namespace vantrel::test {
namespace {

TEST(SetPortView, DrawsTheModelAndTheGroupFollowsTheBox) {
  TfrmSetPort m('.');
  m.edPort.Text = "48000";
  for (TControl* c : {static_cast<TControl*>(&m.cbXPlanePopOuts), static_cast<TControl*>(&m.lXPlanePopOuts),
                      static_cast<TControl*>(&m.edXPlanePopOuts),
                      static_cast<TControl*>(&m.edXPlanePopOutsMaxMins),
                      static_cast<TControl*>(&m.lXPlanePopOutsMaxMins)})
    c->Visible = false;
  gui::SetPortView view(m);
  view.show();
  EXPECT_EQ(view.windowTitle(), "Vantrel Network Config");
  EXPECT_EQ(view.findChild<QLineEdit*>("edPort")->text(), "48000");
  EXPECT_EQ(view.findChild<QCheckBox*>("cbNoThirdParty")->text(), "Disable loading of 3rd party Apps");
  EXPECT_EQ(view.findChild<QCheckBox*>("cbDeclutter")->toolTip(),
            "Hides icons and minimizes any running programs");
  EXPECT_TRUE(view.findChild<QLabel*>("lAircraftID")->font().italic());
  auto* group = view.findChild<QGroupBox*>("gbPanelSwitching");
  auto* box = view.findChild<QCheckBox*>("cbPanelSwitching");
  EXPECT_FALSE(group->isEnabled());
  EXPECT_FALSE(view.findChild<QLineEdit*>("edXPlanePopOuts")->isVisible());
  EXPECT_FALSE(view.findChild<QLabel*>("lXPlanePopOutsMaxMins")->isVisible());
  // Typing, then ticking the box: the group opens and the typed text stays.
  view.findChild<QLineEdit*>("edPort")->setText("48001");
  box->click();
  EXPECT_TRUE(m.gbPanelSwitching.Enabled);
  EXPECT_TRUE(group->isEnabled());
  EXPECT_EQ(view.findChild<QLineEdit*>("edPort")->text(), "48001");
  box->click();
  EXPECT_FALSE(group->isEnabled());
}

TEST(SetPortView, OkAndCancelCloseTheDialog) {
  for (bool viaOk : {true, false}) {
    TfrmSetPort m(',');
    gui::QtUi ui;
    QTimer::singleShot(0, [viaOk] {
      auto* view = qobject_cast<gui::SetPortView*>(QApplication::activeModalWidget());
      ASSERT_TRUE(view);
      view->findChild<QLineEdit*>("edPrefix")->setText("XP_");
      view->findChild<QCheckBox*>("cbMonitorChecking")->click();
      view->findChild<QPushButton*>(viaOk ? "btnOK" : "btnCancel")->click();
    });
    EXPECT_EQ(gui::showFormView(m, nullptr, ui), viaOk ? ModalResult::OK : ModalResult::Cancel);
    if (viaOk) {
      EXPECT_EQ(m.edPrefix.Text, "XP_");
      EXPECT_TRUE(m.cbMonitorChecking.Checked);
    }
  }
}

}  // namespace
}  // namespace vantrel::test
