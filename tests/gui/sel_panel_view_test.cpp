#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QMouseEvent>
#include <QTimer>
#include <cstdlib>

#include "gui/SelPanelView.h"

namespace vantrel::test {
namespace {

// Press, release, double click, release: what a double click on the item delivers.
void doubleClick(QWidget* w, QPoint at) {
  const QPointF local(at), global(w->mapToGlobal(at));
  for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                         QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(t, local, global, Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
}

TfrmSelPanel listing(std::vector<std::string> items) {
  TfrmSelPanel m;
  m.lvPanels.Items = std::move(items);
  return m;
}

TEST(SelPanelView, DrawsTheListAsAFixedToolWindowAboveOthers) {
  TfrmSelPanel m = listing({"Zulu", "Cessna 172", "alpha"});
  gui::SelPanelView view(m);
  EXPECT_EQ(view.windowTitle(), "Panels available");
  EXPECT_EQ(view.size(), QSize(258, 318));
  EXPECT_EQ(view.minimumSize(), view.maximumSize());
  EXPECT_TRUE(view.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(view.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  auto* list = view.findChild<QListWidget*>("lvPanels");
  ASSERT_NE(list, nullptr);
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
  EXPECT_EQ(shown, (QStringList{"Zulu", "Cessna 172", "alpha"})) << "no sorting of its own";
  auto* ok = view.findChild<QPushButton*>("btnOK");
  auto* cancel = view.findChild<QPushButton*>("btnCancel");
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(cancel->text(), "Cancel");
  // A picture of the dialog when VANTREL_SCREENSHOT_DIR names a folder.
  if (const char* dir = std::getenv("VANTREL_SCREENSHOT_DIR"))
    view.grab().save(QString(dir) + "/sel_panel.png");
}

TEST(SelPanelView, ButtonsAndDoubleClickCloseWithTheChosenLine) {
  struct Case {
    const char* how;
    ModalResult result;
  };
  for (const Case& c : {Case{"ok", ModalResult::OK}, Case{"cancel", ModalResult::Cancel},
                        Case{"double", ModalResult::OK}}) {
    TfrmSelPanel m = listing({"A", "B", "C"});
    const std::string how = c.how;
    QTimer::singleShot(0, [&] {
      auto* view = qobject_cast<gui::SelPanelView*>(QApplication::activeModalWidget());
      ASSERT_NE(view, nullptr);
      auto* list = view->findChild<QListWidget*>("lvPanels");
      list->setCurrentRow(1);
      if (how == "double") {
        const QRect r = list->visualItemRect(list->item(1));
        doubleClick(list->viewport(), r.center());
      } else {
        view->findChild<QPushButton*>(how == "ok" ? "btnOK" : "btnCancel")->click();
      }
    });
    EXPECT_EQ(gui::showSelPanel(m, nullptr), c.result) << how;
    EXPECT_EQ(m.modalResult, c.result);
    EXPECT_EQ(m.selectedPanel(), "B") << how;
  }
}

}  // namespace
}  // namespace vantrel::test
