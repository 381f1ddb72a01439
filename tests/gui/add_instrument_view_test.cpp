#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "gui/AddInstrumentView.h"
#include "gui/FormViews.h"
#include "gui/QtUi.h"
#include "support/TempDir.h"

// Failures show texts, not bytes.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace vantrel::test {
namespace {

std::string description(const std::string& shortName, const std::string& longName,
                        const std::string& picture, const std::string& port) {
  return "[Info]\nShortName=" + shortName + "\nLongName=" + longName + "\nDescription=About " +
         shortName + "\nImageFile=" + picture + "\n[Network]\nDefaultPort=" + port + "\n";
}

// Two sets; in the first a real picture (twice as wide as high), a broken one and one
// that is named but absent.
struct Catalog {
  TempDir dir;
  Catalog() {
    dir.write("Instruments_Brantic/P@ASI.exe", "");
    dir.write("Instruments_Brantic/P@ASI.ini",
              description("ASI", "Airspeed Indicator", "asi.png", "47001"));
    dir.write("Instruments_Brantic/N@VOR.exe", "");
    dir.write("Instruments_Brantic/N@VOR.ini",
              description("VOR", "VOR Receiver", "vor.png", "47002"));
    dir.write("Instruments_Brantic/vor.png", "\x89PNG\r\n\x1a\n not a picture after all");
    dir.write("Instruments_Brantic/E@RPM.exe", "");
    dir.write("Instruments_Brantic/E@RPM.ini",
              description("RPM", "Engine Speed", "gone.png", "47003"));
    dir.write("Instruments_Halvery/N@ADF.exe", "");
    dir.write("Instruments_Halvery/N@ADF.ini",
              description("ADF", "Direction Finder", "", "48001"));
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    EXPECT_TRUE(picture.save(QString::fromStdString(dir.file("Instruments_Brantic/asi.png"))));
  }
};

struct ViewFixture {
  Catalog catalog;
  TfrmAddInstrument model;
  std::unique_ptr<gui::AddInstrumentView> view;

  ViewFixture() { model.FormCreate(catalog.dir.str()); }
  // As Add Instrument opens the dialog.
  void openToAdd() {
    model.setFixedWidth(TfrmAddInstrument::AddWidth);
    model.Caption = TfrmAddInstrument::AddCaption;
    open();
  }
  // As Edit Settings opens it for a row.
  void openToEdit(const std::string& caption, const std::string& path, const std::string& port) {
    model.setFixedWidth(TfrmAddInstrument::EditWidth);
    model.lName.Caption = caption;
    model.edPathName.Text = path;
    model.edPort.Text = port;
    model.Caption = "Edit Instrument";
    open();
  }
  void open() {
    view = std::make_unique<gui::AddInstrumentView>(model);
    view->show();
    QApplication::processEvents();
  }
  template <class W>
  W* find(const char* name) {
    W* w = view->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QString text(const char* name) { return find<QLineEdit>(name)->text(); }
  QTreeWidget* list() { return find<QTreeWidget>("lvInstruments"); }
  QStringList column(int c) {
    QStringList out;
    for (int i = 0; i < list()->topLevelItemCount(); ++i) out << list()->topLevelItem(i)->text(c);
    return out;
  }
  QAbstractButton* radio(const char* caption) {
    for (auto* b : find<QGroupBox>("rgType")->findChildren<QRadioButton*>())
      if (b->text() == caption) return b;
    ADD_FAILURE() << caption;
    return nullptr;
  }
  void clickRow(int row) {
    QTreeWidget* l = list();
    // On the caption: the row as a whole is wider than the list.
    const QRect r = l->visualItemRect(l->topLevelItem(row));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 40, r.center().y()));
  }
  gui::PictureBox* picture() { return find<gui::PictureBox>("edImage"); }
  // Saves a picture of the dialog when VANTREL_SCREENSHOT_DIR names a folder.
  void screenshot(const char* file) {
    if (const char* dir = std::getenv("VANTREL_SCREENSHOT_DIR"))
      view->grab().save(QString(dir) + "/" + file);
  }
};

TEST(AddInstrumentView, AddModeShowsTheCatalogAndTheFirstInstrument) {
  ViewFixture f;
  f.openToAdd();
  gui::AddInstrumentView& v = *f.view;
  EXPECT_EQ(v.windowTitle(), "Add Instrument");
  EXPECT_TRUE(v.windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(v.width(), 670);
  EXPECT_EQ(v.minimumWidth(), 670);
  EXPECT_EQ(v.maximumWidth(), 670);
  EXPECT_EQ(v.minimumHeight(), 602);
  EXPECT_GT(v.maximumHeight(), 602) << "the height stays sizeable";
  EXPECT_TRUE(f.find<QGroupBox>("rgBrowser")->isVisibleTo(&v));

  auto* sets = f.find<QComboBox>("cbInstrumentSet");
  EXPECT_FALSE(sets->isEditable());
  ASSERT_EQ(sets->count(), 2);
  EXPECT_EQ(sets->itemText(0), "Brantic");
  EXPECT_EQ(sets->itemText(1), "Halvery");
  EXPECT_EQ(sets->currentIndex(), 0);

  QTreeWidget* list = f.list();
  EXPECT_EQ(list->headerItem()->text(0), "Available Instruments");
  EXPECT_EQ(list->headerItem()->text(1), "FileName");
  EXPECT_EQ(list->columnWidth(0), 240);
  EXPECT_EQ(list->columnWidth(1), 300);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(f.column(0), (QStringList{"ASI", "RPM", "VOR"}));
  EXPECT_EQ(f.column(1), (QStringList{"P@ASI.exe", "E@RPM.exe", "N@VOR.exe"}));
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    EXPECT_TRUE(list->topLevelItem(i)->flags().testFlag(Qt::ItemIsUserCheckable));
    EXPECT_EQ(list->topLevelItem(i)->checkState(0), Qt::Unchecked);
  }
  EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
  EXPECT_TRUE(list->topLevelItem(0)->isSelected());

  // FormShow ran before the dialog was drawn: the first instrument is shown.
  EXPECT_EQ(f.find<QLabel>("lName")->text(), "ASI");
  EXPECT_EQ(f.text("edLong"), "Airspeed Indicator");
  EXPECT_EQ(f.find<QPlainTextEdit>("edDescription")->toPlainText(), "About ASI");
  EXPECT_EQ(f.text("edPort"), "47001");
  EXPECT_EQ(f.text("edPathName"), "Instruments_Brantic\\P@ASI.exe");
  EXPECT_TRUE(f.find<QLineEdit>("edLong")->isReadOnly());
  EXPECT_TRUE(f.find<QPlainTextEdit>("edDescription")->isReadOnly());
  EXPECT_TRUE(f.find<QLineEdit>("edPathName")->isReadOnly());
  EXPECT_FALSE(f.find<QLineEdit>("edPort")->isReadOnly());

  // "All" first, the types in two columns filled downwards.
  EXPECT_TRUE(f.radio("All")->isChecked());
  EXPECT_EQ(f.radio("Engine")->x(), f.radio("All")->x());
  EXPECT_GT(f.radio("Annunciators")->x(), f.radio("All")->x());
  EXPECT_EQ(f.radio("Annunciators")->y(), f.radio("All")->y());

  auto* ok = f.find<QPushButton>("bbOK");
  EXPECT_EQ(ok->text(), "Add checked instruments");
  EXPECT_EQ(ok->width(), 168);
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(f.find<QPushButton>("bbCancel")->text(), "Cancel");
  f.screenshot("add_instrument.png");
}

TEST(AddInstrumentView, EditModeShowsOnlyTheInstrumentBox) {
  ViewFixture f;
  f.openToEdit("old name", "Instruments_Brantic\\N@VOR.exe", "5000");
  gui::AddInstrumentView& v = *f.view;
  EXPECT_EQ(v.windowTitle(), "Edit Instrument");
  EXPECT_EQ(v.width(), 405);
  EXPECT_EQ(v.minimumWidth(), 405);
  EXPECT_EQ(v.maximumWidth(), 405);
  EXPECT_FALSE(f.find<QGroupBox>("rgBrowser")->isVisibleTo(&v));
  EXPECT_TRUE(f.find<QGroupBox>("gbInstrument")->isVisibleTo(&v));
  EXPECT_LE(f.find<QGroupBox>("gbInstrument")->geometry().right(), v.width());
  auto* ok = f.find<QPushButton>("bbOK");
  EXPECT_EQ(ok->text(), "Save changes");
  EXPECT_EQ(ok->width(), 120);
  EXPECT_TRUE(ok->isVisibleTo(&v) && f.find<QPushButton>("bbCancel")->isVisibleTo(&v));
  EXPECT_EQ(f.find<QLabel>("lName")->text(), "VOR") << "the name follows the description file";
  EXPECT_EQ(f.text("edLong"), "VOR Receiver");
  EXPECT_EQ(f.text("edPort"), "5000") << "the row's port is kept";
  EXPECT_EQ(f.text("edPathName"), "Instruments_Brantic\\N@VOR.exe");
  f.screenshot("edit_instrument.png");

  // The port is the one value the user edits there.
  auto* port = f.find<QLineEdit>("edPort");
  port->selectAll();
  QTest::keyClicks(port, "5123");
  EXPECT_EQ(f.model.edPort.Text, "5123");
}

TEST(AddInstrumentView, PictureIsShownScaledOrNotAtAll) {
  ViewFixture f;
  f.openToAdd();
  struct Case {
    int row;
    const char* name;
    bool shown;
  };
  // Rows in list order: ASI (a real picture), RPM (named but absent), VOR (unreadable).
  for (const Case& c : {Case{2, "VOR", false}, Case{0, "ASI", true}, Case{1, "RPM", false}}) {
    f.clickRow(c.row);
    ASSERT_EQ(f.find<QLabel>("lName")->text(), c.name);
    gui::PictureBox* box = f.picture();
    EXPECT_EQ(!box->image().isNull(), c.shown) << c.name;
    if (!c.shown) {
      EXPECT_TRUE(box->pictureRect().isEmpty()) << c.name;
      continue;
    }
    const QRect r = box->pictureRect();
    EXPECT_NEAR(double(r.width()) / r.height(), 2.0, 0.05) << "proportions kept";
    EXPECT_TRUE(r.width() == box->contentsRect().width() ||
                r.height() == box->contentsRect().height())
        << "scaled to fit";
    EXPECT_LE((r.center() - box->contentsRect().center()).manhattanLength(), 1) << "centred";
  }
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_EQ(qobject_cast<QMessageBox*>(w), nullptr) << "a bad picture says nothing";
}

TEST(AddInstrumentView, ChoicesReachTheHandlersAndTheViewShowsTheirInstrument) {
  ViewFixture f;
  f.openToAdd();

  f.clickRow(2);
  EXPECT_EQ(f.model.lvInstruments.ItemIndex, 2);
  EXPECT_EQ(f.find<QLabel>("lName")->text(), "VOR");
  EXPECT_EQ(f.text("edLong"), "VOR Receiver");
  EXPECT_EQ(f.text("edPort"), "47002");
  EXPECT_EQ(f.text("edPathName"), "Instruments_Brantic\\N@VOR.exe");

  // A tick goes to the model's row, and stays when another row is shown.
  f.list()->topLevelItem(1)->setCheckState(0, Qt::Checked);
  EXPECT_TRUE(f.model.lvInstruments.Items[1].Checked);
  f.clickRow(0);
  EXPECT_EQ(f.list()->topLevelItem(1)->checkState(0), Qt::Checked);
  EXPECT_FALSE(f.model.lvInstruments.Items[0].Checked);

  QTest::mouseClick(f.radio("Navigation"), Qt::LeftButton);
  EXPECT_EQ(f.model.rgType.ItemIndex, 2);
  EXPECT_EQ(f.column(0), QStringList{"VOR"});
  EXPECT_EQ(f.find<QLabel>("lName")->text(), "VOR");

  // Another set: the type goes back to "All" and its first instrument shows.
  f.find<QComboBox>("cbInstrumentSet")->setCurrentIndex(1);
  EXPECT_EQ(f.model.selectedSet(), "Halvery");
  EXPECT_EQ(f.model.rgType.ItemIndex, 0);
  EXPECT_TRUE(f.radio("All")->isChecked());
  EXPECT_EQ(f.column(0), QStringList{"ADF"});
  EXPECT_EQ(f.find<QLabel>("lName")->text(), "ADF");
  EXPECT_EQ(f.text("edPort"), "48001");
  EXPECT_EQ(f.text("edPathName"), "Instruments_Halvery\\N@ADF.exe");
  EXPECT_TRUE(f.picture()->image().isNull());
}

TEST(AddInstrumentView, ButtonsAndEscapeCloseWithTheirResult) {
  struct Case {
    const char* how;
    ModalResult result;
  };
  for (const Case& c : {Case{"bbOK", ModalResult::OK}, Case{"bbCancel", ModalResult::Cancel},
                        Case{"escape", ModalResult::Cancel}}) {
    Catalog catalog;
    TfrmAddInstrument m;
    m.FormCreate(catalog.dir.str());
    m.Caption = TfrmAddInstrument::AddCaption;
    gui::QtUi ui;
    const std::string how = c.how;
    QTimer::singleShot(0, [&] {
      auto* view = qobject_cast<gui::AddInstrumentView*>(QApplication::activeModalWidget());
      ASSERT_NE(view, nullptr);
      EXPECT_EQ(view->findChild<QPushButton*>("bbOK")->text(), "Add checked instruments");
      view->findChild<QTreeWidget*>("lvInstruments")->topLevelItem(2)->setCheckState(0, Qt::Checked);
      if (how == "escape")
        QTest::keyClick(view, Qt::Key_Escape);
      else
        view->findChild<QPushButton*>(how.c_str())->click();
    });
    EXPECT_EQ(ui.showModal(m), c.result) << how;
    EXPECT_EQ(m.modalResult, c.result) << how;
    EXPECT_TRUE(m.lvInstruments.Items[2].Checked) << how;
  }
}

}  // namespace
}  // namespace vantrel::test
