#include "gui/SetPortView.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include "gui/ViewKit.h"

namespace vantrel::gui {

namespace {

QLabel* label(const TControl& model, QWidget* parent, bool italic = false) {
  auto* l = new QLabel(q(model.Caption), parent);
  l->setObjectName(q(model.Name));
  if (italic) {
    QFont f = l->font();
    f.setItalic(true);
    l->setFont(f);
  }
  return l;
}

QLineEdit* edit(const TControl& model, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(q(model.Name));
  return e;
}

QCheckBox* check(const TControl& model, QWidget* parent) {
  auto* c = new QCheckBox(q(model.Caption), parent);
  c->setObjectName(q(model.Name));
  return c;
}

}  // namespace

SetPortView::SetPortView(TfrmSetPort& model, QWidget* parent) : QDialog(parent), m_(model) {
  setObjectName(q(m_.Name));
  setWindowTitle(q(m_.Caption));
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setSizeGripEnabled(true);
  resize(m_.ClientWidth, m_.ClientHeight);

  auto* outer = new QVBoxLayout(this);
  auto* fields = new QGridLayout;
  fields->addWidget(label(m_.lMulti, this), 0, 0);
  fields->addWidget(edMulti_ = edit(m_.edMulti, this), 0, 1);
  fields->addWidget(label(m_.lPort, this), 1, 0);
  fields->addWidget(edPort_ = edit(m_.edPort, this), 1, 1);
  fields->addWidget(label(m_.lXPort, this), 2, 0);
  fields->addWidget(edXPort_ = edit(m_.edXPort, this), 2, 1);
  outer->addLayout(fields);

  outer->addWidget(cbPanelSwitching_ = check(m_.cbPanelSwitching, this));
  gbPanelSwitching_ = new QGroupBox(this);
  gbPanelSwitching_->setObjectName(q(m_.gbPanelSwitching.Name));
  auto* group = new QGridLayout(gbPanelSwitching_);
  group->addWidget(cbAutoStart_ = check(m_.cbAutoStart, gbPanelSwitching_), 0, 0, 1, 3);
  group->addWidget(cbNoThirdParty_ = check(m_.cbNoThirdParty, gbPanelSwitching_), 1, 0, 1, 3);
  group->addWidget(label(m_.lPrefix, gbPanelSwitching_), 2, 0);
  group->addWidget(label(m_.lSuffix, gbPanelSwitching_), 2, 2);
  group->addWidget(edPrefix_ = edit(m_.edPrefix, gbPanelSwitching_), 3, 0);
  auto* aircraft = label(m_.lAircraftID, gbPanelSwitching_, true);
  aircraft->setAlignment(Qt::AlignCenter);
  group->addWidget(aircraft, 3, 1);
  group->addWidget(edSUffix_ = edit(m_.edSUffix, gbPanelSwitching_), 3, 2);
  outer->addWidget(gbPanelSwitching_);

  outer->addWidget(cbMonitorChecking_ = check(m_.cbMonitorChecking, this));
  cbMonitorChecking_->setToolTip(q(m_.cbMonitorChecking.Hint));
  outer->addWidget(cbDeclutter_ = check(m_.cbDeclutter, this));
  cbDeclutter_->setToolTip(q(m_.cbDeclutter.Hint));
  auto* note = label(m_.lDeclutterNote, this, true);
  note->setContentsMargins(20, 0, 0, 0);
  outer->addWidget(note);

  auto* every = new QHBoxLayout;
  every->addWidget(cbXPlanePopOuts_ = check(m_.cbXPlanePopOuts, this));
  cbXPlanePopOuts_->setToolTip(q(m_.cbXPlanePopOuts.Hint));
  every->addWidget(edXPlanePopOuts_ = edit(m_.edXPlanePopOuts, this));
  every->addWidget(lXPlanePopOuts_ = label(m_.lXPlanePopOuts, this));
  every->addStretch();
  outer->addLayout(every);
  // The minutes field sits in the gap the label's blanks leave after "for the first".
  auto* forFirst = new QWidget(this);
  lXPlanePopOutsMaxMins_ = label(m_.lXPlanePopOutsMaxMins, forFirst);
  edXPlanePopOutsMaxMins_ = edit(m_.edXPlanePopOutsMaxMins, forFirst);
  const QFontMetrics metrics(lXPlanePopOutsMaxMins_->font());
  const std::string& caption = m_.lXPlanePopOutsMaxMins.Caption;
  const auto gapStart = caption.find("first") + 6;
  const auto gapEnd = caption.find("minutes");
  const int gapLeft = metrics.horizontalAdvance(q(caption.substr(0, gapStart)));
  const int gapWidth = metrics.horizontalAdvance(q(caption.substr(gapStart, gapEnd - gapStart - 1)));
  lXPlanePopOutsMaxMins_->move(20, 4);
  lXPlanePopOutsMaxMins_->adjustSize();
  edXPlanePopOutsMaxMins_->setGeometry(20 + gapLeft, 0, std::max(gapWidth, 30),
                                       edXPlanePopOutsMaxMins_->sizeHint().height());
  forFirst->setMinimumHeight(edXPlanePopOutsMaxMins_->sizeHint().height() + 4);
  outer->addWidget(forFirst);
  for (QLineEdit* e : {edXPlanePopOuts_, edXPlanePopOutsMaxMins_}) e->setAlignment(Qt::AlignRight);
  edXPlanePopOuts_->setFixedWidth(56);
  outer->addStretch();

  auto* buttons = new QHBoxLayout;
  btnOK_ = new QPushButton(q(m_.btnOK.Caption), this);
  btnOK_->setObjectName(q(m_.btnOK.Name));
  btnOK_->setDefault(true);
  btnCancel_ = new QPushButton(q(m_.btnCancel.Caption), this);
  btnCancel_->setObjectName(q(m_.btnCancel.Name));
  buttons->addWidget(btnOK_);
  buttons->addStretch();
  buttons->addWidget(btnCancel_);
  outer->addLayout(buttons);

  // Every change goes to the model at once, so a redraw never loses what was typed.
  const std::pair<QLineEdit*, TEdit*> edits[] = {
      {edMulti_, &m_.edMulti},           {edPort_, &m_.edPort},
      {edXPort_, &m_.edXPort},           {edPrefix_, &m_.edPrefix},
      {edSUffix_, &m_.edSUffix},         {edXPlanePopOuts_, &m_.edXPlanePopOuts},
      {edXPlanePopOutsMaxMins_, &m_.edXPlanePopOutsMaxMins}};
  for (const auto& [view, model] : edits)
    connect(view, &QLineEdit::textChanged, this,
            [model = model](const QString& text) { model->Text = text.toStdString(); });
  const std::pair<QCheckBox*, TCheckBox*> checks[] = {
      {cbAutoStart_, &m_.cbAutoStart},           {cbNoThirdParty_, &m_.cbNoThirdParty},
      {cbMonitorChecking_, &m_.cbMonitorChecking}, {cbDeclutter_, &m_.cbDeclutter},
      {cbXPlanePopOuts_, &m_.cbXPlanePopOuts}};
  for (const auto& [view, model] : checks)
    connect(view, &QCheckBox::toggled, this, [model = model](bool checked) { model->Checked = checked; });
  connect(cbPanelSwitching_, &QCheckBox::toggled, this, [this](bool checked) {
    m_.setPanelSwitching(checked);
    refresh();
  });
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
  refresh();
}

void SetPortView::refresh() {
  const std::pair<QLineEdit*, const TEdit*> edits[] = {
      {edMulti_, &m_.edMulti},           {edPort_, &m_.edPort},
      {edXPort_, &m_.edXPort},           {edPrefix_, &m_.edPrefix},
      {edSUffix_, &m_.edSUffix},         {edXPlanePopOuts_, &m_.edXPlanePopOuts},
      {edXPlanePopOutsMaxMins_, &m_.edXPlanePopOutsMaxMins}};
  for (const auto& [view, model] : edits) {
    if (view->text() != q(model->Text)) view->setText(q(model->Text));
    view->setVisible(model->Visible);
  }
  const std::pair<QCheckBox*, const TCheckBox*> checks[] = {
      {cbPanelSwitching_, &m_.cbPanelSwitching}, {cbAutoStart_, &m_.cbAutoStart},
      {cbNoThirdParty_, &m_.cbNoThirdParty},     {cbMonitorChecking_, &m_.cbMonitorChecking},
      {cbDeclutter_, &m_.cbDeclutter},           {cbXPlanePopOuts_, &m_.cbXPlanePopOuts}};
  for (const auto& [view, model] : checks) {
    const QSignalBlocker block(view);
    view->setChecked(model->Checked);
    view->setVisible(model->Visible);
  }
  gbPanelSwitching_->setEnabled(m_.gbPanelSwitching.Enabled);
  lXPlanePopOuts_->setVisible(m_.lXPlanePopOuts.Visible);
  lXPlanePopOutsMaxMins_->setVisible(m_.lXPlanePopOutsMaxMins.Visible);
}

ModalResult showSetPort(TfrmSetPort& model, QWidget* parent) {
  SetPortView view(model, parent);
  // Centred on the main window.
  if (parent) view.move(parent->geometry().center() - view.rect().center());
  const int r = view.exec();
  model.modalResult = r == QDialog::Accepted ? ModalResult::OK : ModalResult::Cancel;
  return model.modalResult;
}

}  // namespace vantrel::gui
