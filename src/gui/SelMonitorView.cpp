#include "gui/SelMonitorView.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/ViewKit.h"

namespace vantrel::gui {

SelMonitorView::SelMonitorView(TfrmSelMonitor& model, QWidget* parent)
    : QDialog(parent, kFixedToolWindow),
      m_(model) {
  setObjectName(q(m_.Name));
  setFixedSize(m_.ClientWidth, m_.ClientHeight);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(10, 6, 10, 8);
  root->setSpacing(4);
  lInfo_ = named(new QLabel, m_.lInfo.Name);
  QFont bold = lInfo_->font();
  bold.setBold(true);
  lInfo_->setFont(bold);
  // In a wider font the line does not fit the fixed width: it wraps rather than being cut.
  lInfo_->setWordWrap(true);
  root->addWidget(lInfo_);

  auto* bottom = new QHBoxLayout;
  gbMonitor_ = named(new QGroupBox(q(m_.gbMonitor.Caption)), m_.gbMonitor.Name);
  {
    auto* row = new QHBoxLayout(gbMonitor_);
    row->setContentsMargins(10, 6, 10, 6);
    cbMonitor_ = named(new QComboBox, m_.cbMonitor.Name);
    cbMonitor_->setEditable(false);
    if (m_.cbMonitor.Width > 0) cbMonitor_->setFixedWidth(m_.cbMonitor.Width);
    lMonitor_ = named(new QLabel, m_.lMonitor.Name);
    lMonitor_->setBuddy(cbMonitor_);
    row->addWidget(lMonitor_);
    row->addWidget(cbMonitor_);
    row->addStretch(1);
  }
  bottom->addWidget(gbMonitor_, 1);
  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  btnOK_ = named(new QPushButton, m_.btnOK.Name);
  btnOK_->setDefault(true);
  btnCancel_ = named(new QPushButton, m_.btnCancel.Name);
  btnCancel_->setAutoDefault(false);
  for (QPushButton* b : {btnOK_, btnCancel_}) {
    b->setFixedWidth(76);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  bottom->addLayout(buttons);
  root->addLayout(bottom, 1);

  connect(cbMonitor_, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this](int index) { m_.cbMonitor.ItemIndex = index; });
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
  refresh();
}

void SelMonitorView::refresh() {
  setWindowTitle(q(m_.Caption));
  lInfo_->setText(q(m_.lInfo.Caption));
  lMonitor_->setText(q(m_.lMonitor.Caption));
  btnOK_->setText(q(m_.btnOK.Caption));
  btnCancel_->setText(q(m_.btnCancel.Caption));
  const QSignalBlocker block(cbMonitor_);
  cbMonitor_->clear();
  for (const auto& item : m_.cbMonitor.Items) cbMonitor_->addItem(q(item));
  cbMonitor_->setCurrentIndex(m_.cbMonitor.ItemIndex);
}

void SelMonitorView::done(int result) {
  m_.cbMonitor.ItemIndex = cbMonitor_->currentIndex();
  m_.modalResult = result == QDialog::Accepted ? ModalResult::OK : ModalResult::Cancel;
  QDialog::done(result);
}

ModalResult showSelMonitor(TfrmSelMonitor& model, QWidget* parent) {
  SelMonitorView view(model, parent);
  execCentred(view, parent);
  return model.modalResult;
}

}  // namespace vantrel::gui
