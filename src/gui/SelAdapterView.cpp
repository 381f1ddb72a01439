#include "gui/SelAdapterView.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/FitToText.h"
#include "gui/ViewKit.h"

namespace vantrel::gui {

SelAdapterView::SelAdapterView(TfrmSelAdapter& model, QWidget* parent)
    : QDialog(parent), m_(model) {
  setObjectName(q(m_.Name));
  setWindowTitle(q(m_.Caption));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(m_.ClientWidth, m_.ClientHeight);

  auto* outer = new QVBoxLayout(this);
  auto* bevel = new QFrame(this);
  bevel->setObjectName("Bevel1");
  bevel->setFrameShape(QFrame::StyledPanel);
  auto* inner = new QVBoxLayout(bevel);
  lblFound_ = new QLabel(bevel);
  lblFound_->setObjectName(q(m_.lblFound.Name));
  QFont bold = lblFound_->font();
  bold.setBold(true);
  lblFound_->setFont(bold);
  lblChoose_ = new QLabel(bevel);
  lblChoose_->setObjectName(q(m_.lblChoose.Name));
  dropdownAdapters_ = new QComboBox(bevel);
  dropdownAdapters_->setObjectName(q(m_.dropdownAdapters.Name));
  dropdownAdapters_->setEditable(false);
  inner->addWidget(lblFound_);
  inner->addWidget(lblChoose_);
  inner->addWidget(dropdownAdapters_);
  outer->addWidget(bevel);
  btnOK_ = new QPushButton(this);
  btnOK_->setObjectName(q(m_.btnOK.Name));
  btnOK_->setDefault(true);
  outer->addWidget(btnOK_, 0, Qt::AlignHCenter);

  connect(dropdownAdapters_, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this](int index) { m_.dropdownAdapters.ItemIndex = index; });
  connect(btnOK_, &QPushButton::clicked, this, [this] {
    m_.btnOKClick();
    accept();
  });
  refresh();
  fixSizeAtLeast(this, m_.ClientWidth, m_.ClientHeight);
}

void SelAdapterView::refresh() {
  lblFound_->setText(q(m_.lblFound.Caption));
  lblChoose_->setText(q(m_.lblChoose.Caption));
  btnOK_->setText(q(m_.btnOK.Caption));
  const QSignalBlocker block(dropdownAdapters_);
  dropdownAdapters_->clear();
  for (const auto& item : m_.dropdownAdapters.Items) dropdownAdapters_->addItem(q(item));
  dropdownAdapters_->setCurrentIndex(m_.dropdownAdapters.ItemIndex);
}

void SelAdapterView::done(int result) {
  m_.dropdownAdapters.ItemIndex = dropdownAdapters_->currentIndex();
  QDialog::done(result);
}

ModalResult showSelAdapter(TfrmSelAdapter& model, QWidget* parent) {
  SelAdapterView view(model, parent);
  // Centred on the screen, not on the main window.
  if (QScreen* s = QGuiApplication::primaryScreen())
    view.move(s->availableGeometry().center() - view.rect().center());
  const int r = view.exec();
  model.modalResult = r == QDialog::Accepted ? ModalResult::OK : ModalResult::Cancel;
  return model.modalResult;
}

}  // namespace vantrel::gui
