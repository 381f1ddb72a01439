#include "gui/SelPanelView.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/FitToText.h"
#include "gui/ViewKit.h"

namespace vantrel::gui {

SelPanelView::SelPanelView(TfrmSelPanel& model, QWidget* parent) : QDialog(parent), m_(model) {
  setObjectName(q(m_.Name));
  setWindowTitle(q(m_.Caption));
  Qt::WindowFlags flags = Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint;
  if (m_.StayOnTop) flags |= Qt::WindowStaysOnTopHint;
  setWindowFlags(flags);
  setFixedSize(m_.ClientWidth, m_.ClientHeight);

  auto* outer = new QVBoxLayout(this);
  lvPanels_ = new QListWidget(this);
  lvPanels_->setObjectName(q(m_.lvPanels.Name));
  lvPanels_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvPanels_->setSortingEnabled(false);
  outer->addWidget(lvPanels_);
  auto* buttons = new QHBoxLayout;
  btnOK_ = new QPushButton(this);
  btnOK_->setObjectName(q(m_.btnOK.Name));
  btnOK_->setDefault(true);
  btnOK_->setAutoDefault(true);
  btnCancel_ = new QPushButton(this);
  btnCancel_->setObjectName(q(m_.btnCancel.Name));
  btnCancel_->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(btnOK_);
  buttons->addWidget(btnCancel_);
  outer->addLayout(buttons);

  connect(lvPanels_, &QListWidget::currentRowChanged, this,
          [this](int row) { m_.lvPanels.ItemIndex = row; });
  connect(lvPanels_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
    m_.lvPanels.ItemIndex = lvPanels_->currentRow();
    m_.lvPanelsDblClick();
    if (m_.modalResult == ModalResult::OK) accept();
  });
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
  refresh();
  fixSizeAtLeast(this, m_.ClientWidth, m_.ClientHeight);
}

void SelPanelView::refresh() {
  btnOK_->setText(q(m_.btnOK.Caption));
  btnCancel_->setText(q(m_.btnCancel.Caption));
  const QSignalBlocker block(lvPanels_);
  lvPanels_->clear();
  for (const auto& item : m_.lvPanels.Items) lvPanels_->addItem(q(item));
  lvPanels_->setCurrentRow(m_.lvPanels.ItemIndex);
}

void SelPanelView::done(int result) {
  m_.lvPanels.ItemIndex = lvPanels_->currentRow();
  QDialog::done(result);
}

ModalResult showSelPanel(TfrmSelPanel& model, QWidget* parent) {
  SelPanelView view(model, parent);
  // Centred on the main window.
  if (parent) view.move(parent->geometry().center() - view.rect().center());
  const int r = view.exec();
  model.modalResult = r == QDialog::Accepted ? ModalResult::OK : ModalResult::Cancel;
  return model.modalResult;
}

}  // namespace vantrel::gui
