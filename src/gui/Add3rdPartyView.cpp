#include "gui/Add3rdPartyView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/ViewKit.h"

namespace vantrel::gui {

Add3rdPartyView::Add3rdPartyView(TfrmAdd3rdParty& model, QWidget* parent)
    : QDialog(parent, kFixedToolWindow),
      m_(model) {
  setObjectName(q(m_.Name));
  setFixedSize(m_.ClientWidth, m_.ClientHeight);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(10, 8, 10, 10);
  root->setSpacing(3);
  edAppName_ = named(new QLineEdit, m_.edAppName.Name);
  lAppName_ = named(new QLabel, m_.lAppName.Name);
  lAppName_->setBuddy(edAppName_);
  btnImage_ = named(new QPushButton, m_.btnImage.Name);
  btnImage_->setFixedWidth(32);
  // Enter in a text box must not open the chooser.
  btnImage_->setAutoDefault(false);
  root->addWidget(lAppName_);
  auto* pathRow = new QHBoxLayout;
  pathRow->setSpacing(4);
  pathRow->addWidget(edAppName_, 1);
  pathRow->addWidget(btnImage_);
  root->addLayout(pathRow);
  root->addSpacing(6);
  edParameters_ = named(new QLineEdit, m_.edParameters.Name);
  lParameters_ = named(new QLabel, m_.lParameters.Name);
  lParameters_->setBuddy(edParameters_);
  root->addWidget(lParameters_);
  root->addWidget(edParameters_);
  root->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  btnOK_ = named(new QPushButton, m_.btnOK.Name);
  btnCancel_ = named(new QPushButton, m_.btnCancel.Name);
  btnCancel_->setAutoDefault(false);
  for (QPushButton* b : {btnOK_, btnCancel_}) {
    b->setFixedWidth(76);
    buttons->addWidget(b);
  }
  root->addLayout(buttons);

  connect(edAppName_, &QLineEdit::textEdited, this,
          [this](const QString& t) { m_.edAppName.Text = t.toStdString(); });
  connect(edParameters_, &QLineEdit::textEdited, this,
          [this](const QString& t) { m_.edParameters.Text = t.toStdString(); });
  connect(btnImage_, &QPushButton::clicked, this, [this] {
    m_.btnImageClick();
    refresh();
  });
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
  refresh();
}

void Add3rdPartyView::refresh() {
  setWindowTitle(q(m_.Caption));
  lAppName_->setText(q(m_.lAppName.Caption));
  draw(edAppName_, m_.edAppName);
  btnImage_->setText(q(m_.btnImage.Caption));
  lParameters_->setText(q(m_.lParameters.Caption));
  draw(edParameters_, m_.edParameters);
  btnOK_->setText(q(m_.btnOK.Caption));
  btnCancel_->setText(q(m_.btnCancel.Caption));
}

void Add3rdPartyView::done(int result) {
  m_.modalResult = result == QDialog::Accepted ? ModalResult::OK : ModalResult::Cancel;
  QDialog::done(result);
}

ModalResult showAdd3rdParty(TfrmAdd3rdParty& model, QWidget* parent) {
  Add3rdPartyView view(model, parent);
  execCentred(view, parent);
  return model.modalResult;
}

}  // namespace vantrel::gui
