#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "gui/QtUi.h"
#include "gui/SelMonitorView.h"

namespace vantrel::test {
namespace {

TfrmSelMonitor threeMonitors() {
  TfrmSelMonitor m;
  m.fillMonitorList(3);
  return m;
}

TEST(SelMonitorView, DrawsTheMonitorListInAFixedToolWindow) {
  TfrmSelMonitor m = threeMonitors();
  gui::SelMonitorView view(m);
  view.show();
  EXPECT_EQ(view.windowTitle(), "Select Monitor");
  EXPECT_EQ(view.size(), QSize(307, 117));
  EXPECT_EQ(view.minimumSize(), view.maximumSize());
  EXPECT_TRUE(view.windowFlags().testFlag(Qt::Tool));
  auto* info = view.findChild<QLabel*>("lInfo");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->text(), "Select which monitor to display the instruments on.");
  EXPECT_TRUE(info->font().bold());
  // The whole line shows: wrapped within the label's height, or on one line within its width.
  if (info->wordWrap())
    EXPECT_LE(info->heightForWidth(info->width()), info->height());
  else
    EXPECT_LE(info->sizeHint().width(), info->width());
  auto* box = view.findChild<QGroupBox*>("gbMonitor");
  ASSERT_NE(box, nullptr);
  auto* label = box->findChild<QLabel*>("lMonitor");
  auto* combo = box->findChild<QComboBox*>("cbMonitor");
  ASSERT_TRUE(label && combo) << "label and list sit in the box";
  EXPECT_EQ(label->text(), "Monitor");
  EXPECT_EQ(combo->width(), 48);
  EXPECT_FALSE(combo->isEditable());
  QStringList entries;
  for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
  EXPECT_EQ(entries, (QStringList{"1", "2", "3"}));
  EXPECT_EQ(combo->currentIndex(), 0);
  auto* ok = view.findChild<QPushButton*>("btnOK");
  auto* cancel = view.findChild<QPushButton*>("btnCancel");
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(cancel->text(), "Cancel");
  for (QWidget* w : {static_cast<QWidget*>(info), static_cast<QWidget*>(box),
                     static_cast<QWidget*>(ok), static_cast<QWidget*>(cancel)})
    EXPECT_TRUE(view.rect().contains(w->geometry())) << w->objectName().toStdString();
  if (const char* dir = std::getenv("VANTREL_SCREENSHOT_DIR"))
    view.grab().save(QString(dir) + "/sel_monitor.png");
}

TEST(SelMonitorView, EveryWayOfClosingKeepsTheChosenEntry) {
  struct Case {
    const char* how;
    ModalResult result;
  };
  QWidget mainWindow;
  mainWindow.setGeometry(200, 150, 900, 700);
  mainWindow.show();
  gui::QtUi ui;
  ui.setMainWindow(&mainWindow);
  for (const Case& c : {Case{"enter", ModalResult::OK}, Case{"btnCancel", ModalResult::Cancel},
                        Case{"escape", ModalResult::Cancel}}) {
    TfrmSelMonitor m = threeMonitors();
    const std::string how = c.how;
    QTimer::singleShot(0, [&] {
      auto* view = qobject_cast<gui::SelMonitorView*>(QApplication::activeModalWidget());
      ASSERT_NE(view, nullptr);
      // The window frame may shift it by its width.
      EXPECT_LE((view->geometry().center() - mainWindow.geometry().center()).manhattanLength(), 8)
          << "centred on the main window";
      view->findChild<QComboBox*>("cbMonitor")->setCurrentIndex(2);
      if (how == "enter")
        QTest::keyClick(view, Qt::Key_Return);  // the default button
      else if (how == "escape")
        QTest::keyClick(view, Qt::Key_Escape);
      else
        view->findChild<QPushButton*>(how.c_str())->click();
    });
    EXPECT_EQ(ui.showModal(m), c.result) << how;
    EXPECT_EQ(m.modalResult, c.result) << how;
    EXPECT_EQ(m.cbMonitor.ItemIndex, 2) << how;
  }
}

}  // namespace
}  // namespace vantrel::test
