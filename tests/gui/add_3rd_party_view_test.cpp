#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "gui/Add3rdPartyView.h"
#include "gui/QtUi.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

// Failures show texts, not bytes.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace vantrel::test {
namespace {

template <class W>
W* find(QWidget& view, const char* name) {
  W* w = view.findChild<W*>(name);
  EXPECT_NE(w, nullptr) << name;
  return w;
}

TEST(Add3rdPartyView, DrawsAFixedToolWindowWithTheBrowseButtonBesideThePath) {
  ScriptedUi ui;
  TfrmAdd3rdParty m(ui);
  m.edAppName.Text = "/opt/maps/moving-map";
  m.edParameters.Text = "a,b";
  gui::Add3rdPartyView view(m);
  view.show();
  EXPECT_EQ(view.windowTitle(), "Add 3rd Party Application");
  EXPECT_EQ(view.size(), QSize(476, 149));
  EXPECT_EQ(view.minimumSize(), view.maximumSize());
  EXPECT_TRUE(view.windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(find<QLabel>(view, "lAppName")->text(), "Application Path Name");
  EXPECT_EQ(find<QLabel>(view, "lParameters")->text(), "Command Line Parameters (Comma separated)");
  auto* path = find<QLineEdit>(view, "edAppName");
  auto* browse = find<QPushButton>(view, "btnImage");
  EXPECT_EQ(path->text(), "/opt/maps/moving-map");
  EXPECT_FALSE(path->isReadOnly());
  EXPECT_EQ(find<QLineEdit>(view, "edParameters")->text(), "a,b");
  EXPECT_GT(browse->geometry().left(), path->geometry().right());
  EXPECT_NEAR(browse->geometry().center().y(), path->geometry().center().y(), 2);
  EXPECT_EQ(find<QPushButton>(view, "btnOK")->text(), "OK");
  EXPECT_EQ(find<QPushButton>(view, "btnCancel")->text(), "Cancel");
  for (QPushButton* b : view.findChildren<QPushButton*>())
    EXPECT_LE(b->geometry().bottom(), view.height()) << b->objectName().toStdString();
  if (const char* dir = std::getenv("VANTREL_SCREENSHOT_DIR"))
    view.grab().save(QString(dir) + "/add_3rd_party.png");
}

TEST(Add3rdPartyView, BrowseTypingAndButtonsReachTheModel) {
  ScriptedUi ui;
  TfrmAdd3rdParty m(ui);
  gui::Add3rdPartyView view(m);
  view.show();
  ui.expectOpenFile("/opt/maps/moving-map");
  find<QPushButton>(view, "btnImage")->click();
  EXPECT_EQ(find<QLineEdit>(view, "edAppName")->text(), "/opt/maps/moving-map");
  ui.expectOpenFile(std::nullopt);
  find<QPushButton>(view, "btnImage")->click();
  EXPECT_EQ(find<QLineEdit>(view, "edAppName")->text(), "/opt/maps/moving-map")
      << "a cancelled chooser keeps the path";
  QTest::keyClicks(find<QLineEdit>(view, "edParameters"), "-x,\"a,b\"");
  EXPECT_EQ(m.edParameters.Text, "-x,\"a,b\"");
  ui.verifyDone();

  for (const char* button : {"btnOK", "btnCancel"}) {
    TfrmAdd3rdParty d(ui);
    gui::QtUi qtUi;
    QTimer::singleShot(0, [button] {
      auto* v = qobject_cast<gui::Add3rdPartyView*>(QApplication::activeModalWidget());
      ASSERT_NE(v, nullptr);
      QTest::keyClicks(v->findChild<QLineEdit*>("edAppName"), "/usr/bin/tool");
      v->findChild<QPushButton*>(button)->click();
    });
    const ModalResult expected = std::string(button) == "btnOK" ? ModalResult::OK
                                                                : ModalResult::Cancel;
    EXPECT_EQ(qtUi.showModal(d), expected) << button;
    EXPECT_EQ(d.modalResult, expected);
    EXPECT_EQ(d.edAppName.Text, "/usr/bin/tool");
  }
}

// Runs work on the dialog of type D once it is the modal window.
template <class D, class F>
void whenModal(F work) {
  auto* poll = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, waited, work] {
    if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
      poll->deleteLater();
      poll->stop();
      // Whatever is still open a while later (the dialog, or a refusal over it) is
      // closed, so a fault fails the test instead of hanging it.
      auto* guard = new QTimer(d);
      QObject::connect(guard, &QTimer::timeout, [] {
        if (QWidget* open = QApplication::activeModalWidget()) {
          ADD_FAILURE() << open->metaObject()->className() << " left open";
          open->close();
        }
      });
      guard->start(3000);
      work(d);
    } else if (++*waited > 250) {
      poll->deleteLater();
      poll->stop();
      ADD_FAILURE() << "the dialog did not open";
      if (QWidget* other = QApplication::activeModalWidget()) other->close();
    }
  });
  poll->start(20);
}

// The names the chooser lists in its folder, once its file model has read the folder.
QStringList listed(QFileDialog* dialog, const QStringList& expected) {
  auto* view = dialog->findChild<QListView*>("listView");
  if (!view) return {"no list"};
  QStringList names;
  (void)QTest::qWaitFor(
      [&] {
        names.clear();
        const QModelIndex root = view->rootIndex();
        for (int i = 0; i < view->model()->rowCount(root); ++i)
          names << view->model()->index(i, 0, root).data().toString();
        names.sort();
        return names == expected;
      },
      5000);
  return names;
}

TEST(Add3rdPartyView, ChooserOffersProgramsWithoutAnExtension) {
  namespace fs = std::filesystem;
  TempDir dir;
  dir.write("mapper", "#!/bin/sh\n");
  dir.write("run.exe", "MZ");
  dir.write("notes.txt", "text");
  dir.write("sub/inner", "");
  fs::permissions(dir.file("mapper"), fs::perms::owner_all | fs::perms::group_read);

  gui::QtUi ui;
  TfrmAdd3rdParty m(ui);
  m.JvOpenEXE.initialDir = dir.str();
  bool looked = false;
  whenModal<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "Select Application");
    EXPECT_EQ(dialog->nameFilters(),
              (QStringList{"Executable Files (*.exe)", "Command Files (*.cmd)", "Programs (*)"}));
    EXPECT_EQ(listed(dialog, {"run.exe", "sub"}), (QStringList{"run.exe", "sub"}));
    // Chosen as the user does, from the filter list.
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_End);
    EXPECT_EQ(dialog->selectedNameFilter(), "Programs (*)");
    EXPECT_EQ(listed(dialog, {"mapper", "sub"}), (QStringList{"mapper", "sub"}))
        << "folders and runnable files only";
    QTest::keyClick(types, Qt::Key_Home);
    EXPECT_EQ(listed(dialog, {"run.exe", "sub"}), (QStringList{"run.exe", "sub"}));
    QTest::keyClick(types, Qt::Key_End);
    looked = true;
    // The name typed as the user would, without an extension.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText("mapper");
    QMetaObject::invokeMethod(dialog, "accept");
  });
  gui::Add3rdPartyView view(m);
  view.show();
  find<QPushButton>(view, "btnImage")->click();
  EXPECT_TRUE(looked);
  EXPECT_EQ(find<QLineEdit>(view, "edAppName")->text().toStdString(), dir.file("mapper"))
      << "no \".exe\" added to a program's name";
}

}  // namespace
}  // namespace vantrel::test
