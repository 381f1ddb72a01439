#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "gui/FormViews.h"
#include "gui/QtUi.h"
#include "gui/SelAdapterView.h"

namespace vantrel::test {
namespace {

TfrmSelAdapter withAddresses() {
  TfrmSelAdapter m;
  m.dropdownAdapters.Items = {"10.0.0.1", "10.0.0.2"};
  m.dropdownAdapters.ItemIndex = 0;
  return m;
}

TEST(SelAdapterView, DrawsTheModelAsAListOnlyDropDown) {
  TfrmSelAdapter m = withAddresses();
  gui::SelAdapterView view(m);
  EXPECT_EQ(view.windowTitle(), "Select Network Adapter");
  // The form's size is the least; the dialog grows to what its captions need.
  EXPECT_GE(view.width(), 326);
  EXPECT_GE(view.height(), 135);
  EXPECT_EQ(view.minimumSize(), view.maximumSize());
  auto* found = view.findChild<QLabel*>("lblFound");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->text(), "Found more than one connected Network Adapters.");
  EXPECT_TRUE(found->font().bold());
  EXPECT_EQ(view.findChild<QLabel*>("lblChoose")->text(), "Choose Adapter to use for Vantrel");
  auto* combo = view.findChild<QComboBox*>("dropdownAdapters");
  ASSERT_TRUE(combo);
  EXPECT_FALSE(combo->isEditable());
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(1), "10.0.0.2");
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_EQ(view.findChild<QPushButton*>("btnOK")->text(), "OK");
}

TEST(SelAdapterView, ClosingEitherWayKeepsTheSelectedItem) {
  for (bool viaOk : {true, false}) {
    TfrmSelAdapter m = withAddresses();
    gui::QtUi ui;
    QTimer::singleShot(0, [viaOk] {
      auto* view = qobject_cast<gui::SelAdapterView*>(QApplication::activeModalWidget());
      ASSERT_TRUE(view);
      view->findChild<QComboBox*>("dropdownAdapters")->setCurrentIndex(1);
      if (viaOk)
        view->findChild<QPushButton*>("btnOK")->click();
      else
        view->reject();  // the close box
    });
    const ModalResult r = gui::showFormView(m, nullptr, ui);
    EXPECT_EQ(r, viaOk ? ModalResult::OK : ModalResult::Cancel);
    EXPECT_EQ(m.dropdownAdapters.selectedText(), "10.0.0.2");
  }
}

}  // namespace
}  // namespace vantrel::test
