#include "gui/PanelSetupView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/FitToText.h"
#include "gui/ViewKit.h"

namespace vantrel::gui {

namespace {

QColor toQColor(std::uint32_t c) {
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Controls that share a place with another keep their room while hidden, so the dialog
// does not jump when the mode or the type changes.
template <class W>
W* keepRoom(W* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
  return w;
}

QLineEdit* smallEdit(const TEdit& e) {
  auto* w = keepRoom(named(new QLineEdit, e.Name));
  w->setFixedWidth(58);
  return w;
}

QSpinBox* spin(const TSpinEdit& s) {
  auto* w = named(new QSpinBox, s.Name);
  w->setRange(s.MinValue, s.MaxValue);
  w->setFixedWidth(60);
  return w;
}

void draw(QCheckBox* w, const TCheckBox& c) {
  const QSignalBlocker block(w);
  w->setChecked(c.Checked);
  follow(w, c);
}

void draw(QSpinBox* w, const TSpinEdit& s) {
  const QSignalBlocker block(w);
  w->setValue(s.Value);
  follow(w, s);
}

void draw(QButtonGroup* g, const TRadioGroup& r) {
  const QSignalBlocker block(g);
  if (QAbstractButton* b = g->button(r.ItemIndex)) b->setChecked(true);
}

}  // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent), color_(Qt::black) {
  setFixedSize(48, 21);
}

void ColorSwatch::setColor(std::uint32_t color) {
  color_ = toQColor(color);
  update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Mid));
  p.fillRect(rect().adjusted(2, 2, -2, -2), color_);
  p.setPen(palette().color(QPalette::Shadow));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

PanelSetupView::PanelSetupView(TfrmPanel& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      m_(model) {
  setObjectName(q(m_.Name));
  setFixedSize(m_.ClientWidth, m_.ClientHeight);
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(8, 6, 8, 8);
  root->setSpacing(5);

  // General settings.
  gbGeneral_ = named(new QGroupBox(q(m_.gbGeneral.Caption)), m_.gbGeneral.Name);
  {
    auto* grid = new QGridLayout(gbGeneral_);
    grid->setContentsMargins(8, 4, 8, 6);
    edPanelName_ = named(new QLineEdit, m_.edPanelName.Name);
    auto* label = new QLabel(q(m_.edPanelName.Caption));
    label->setBuddy(edPanelName_);
    grid->addWidget(label, 0, 0);
    grid->addWidget(edPanelName_, 0, 1, 1, 2);
    cbBezels_ = named(new QCheckBox(q(m_.cbBezels.Caption)), m_.cbBezels.Name);
    cbLighting_ = named(new QCheckBox(q(m_.cbLighting.Caption)), m_.cbLighting.Name);
    grid->addWidget(cbBezels_, 1, 0, 1, 2);
    grid->addWidget(cbLighting_, 1, 2);
    grid->setColumnStretch(1, 1);
  }
  root->addWidget(gbGeneral_);

  rgType_ = radioGroup(m_.rgType, typeButtons_, this);
  root->addWidget(rgType_);

  // Colour and image settings share one place.
  auto* place = new QGridLayout;
  gbColor_ = keepRoom(named(new QGroupBox(q(m_.gbColor.Caption)), m_.gbColor.Name));
  {
    auto* grid = new QGridLayout(gbColor_);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(4);
    sBGColor_ = named(new ColorSwatch, m_.sBGColor.Name);
    btnColor_ = named(new QPushButton(q(m_.btnColor.Caption)), m_.btnColor.Name);
    btnColor_->setFixedWidth(32);
    grid->addWidget(new QLabel(q(m_.sBGColor.Caption)), 0, 0);
    grid->addWidget(sBGColor_, 0, 1);
    grid->addWidget(btnColor_, 0, 2);
    cbShowFrame_ = named(new QCheckBox(q(m_.cbShowFrame.Caption)), m_.cbShowFrame.Name);
    pColorFrame_ = named(new ColorSwatch, m_.pColorFrame.Name);
    pColorFrame_->setCursor(Qt::PointingHandCursor);
    pColorFrame_->setToolTip("Click to choose the frame colour");
    edPixels_ = spin(m_.edPixels);
    grid->addWidget(cbShowFrame_, 1, 0);
    grid->addWidget(pColorFrame_, 1, 1);
    grid->addWidget(edPixels_, 1, 2, 1, 2);
    grid->addWidget(new QLabel(q(m_.edPixels.Caption)), 1, 4);
    cbShowGrid_ = named(new QCheckBox(q(m_.cbShowGrid.Caption)), m_.cbShowGrid.Name);
    edGrid_ = spin(m_.edGrid);
    grid->addWidget(cbShowGrid_, 2, 0);
    grid->addWidget(edGrid_, 2, 2, 1, 2);
    grid->addWidget(new QLabel(q(m_.edGrid.Caption)), 2, 4);
    grid->setColumnStretch(5, 1);
  }
  gbImage_ = keepRoom(named(new QGroupBox(q(m_.gbImage.Caption)), m_.gbImage.Name));
  {
    auto* grid = new QGridLayout(gbImage_);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(4);
    edBGImage_ = named(new QLineEdit, m_.edBGImage.Name);
    btnImage_ = named(new QPushButton(q(m_.btnImage.Caption)), m_.btnImage.Name);
    btnImage_->setFixedWidth(32);
    cbImageSize_ = named(new QCheckBox(q(m_.cbImageSize.Caption)), m_.cbImageSize.Name);
    grid->addWidget(new QLabel(q(m_.edBGImage.Caption)), 0, 0, 1, 2);
    grid->addWidget(edBGImage_, 1, 0);
    grid->addWidget(btnImage_, 1, 1);
    grid->addWidget(cbImageSize_, 2, 0, 1, 2);
  }
  place->addWidget(gbColor_, 0, 0);
  place->addWidget(gbImage_, 0, 0);
  root->addLayout(place);

  // Size and position.
  gbSize_ = named(new QGroupBox(q(m_.gbSize.Caption)), m_.gbSize.Name);
  {
    auto* row = new QHBoxLayout(gbSize_);
    row->setContentsMargins(6, 4, 6, 6);
    rgSizeType_ = radioGroup(m_.rgSizeType, modeButtons_, this);
    rgSizeType_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    row->addWidget(rgSizeType_);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    lMonitor_ = keepRoom(named(new QLabel(q(m_.lMonitor.Caption)), m_.lMonitor.Name));
    cbMonitor_ = keepRoom(named(new QComboBox, m_.cbMonitor.Name));
    cbMonitor_->setFixedWidth(58);
    lTop_ = keepRoom(new QLabel(q(m_.edTop.Caption)));
    edTop_ = smallEdit(m_.edTop);
    lLeft_ = keepRoom(new QLabel(q(m_.edLeft.Caption)));
    edLeft_ = smallEdit(m_.edLeft);
    lWidth_ = keepRoom(new QLabel(q(m_.edWidth.Caption)));
    edWidth_ = smallEdit(m_.edWidth);
    lBy_ = keepRoom(named(new QLabel(q(m_.lBy.Caption)), m_.lBy.Name));
    lBy_->setAlignment(Qt::AlignCenter);
    lHeight_ = keepRoom(new QLabel(q(m_.edHeight.Caption)));
    edHeight_ = smallEdit(m_.edHeight);
    // The monitor list and Top/Left take turns in the upper rows.
    grid->addWidget(lMonitor_, 0, 0);
    grid->addWidget(cbMonitor_, 1, 0);
    grid->addWidget(lTop_, 0, 0);
    grid->addWidget(edTop_, 1, 0);
    grid->addWidget(lLeft_, 0, 2);
    grid->addWidget(edLeft_, 1, 2);
    grid->setRowMinimumHeight(2, 8);
    grid->addWidget(lWidth_, 3, 0);
    grid->addWidget(lHeight_, 3, 2);
    grid->addWidget(edWidth_, 4, 0);
    grid->addWidget(lBy_, 4, 1);
    grid->addWidget(edHeight_, 4, 2);
    grid->setColumnMinimumWidth(1, 14);
    grid->setRowStretch(5, 1);
    row->addSpacing(4);
    row->addLayout(grid);
    row->addStretch(1);
  }
  // OK and Cancel stand in the bottom corner, beside the size group.
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(gbSize_, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addStretch(1);
  btnOK_ = named(new QPushButton(q(m_.btnOK.Caption)), m_.btnOK.Name);
  btnCancel_ = named(new QPushButton(q(m_.btnCancel.Caption)), m_.btnCancel.Name);
  btnOK_->setDefault(true);
  for (QPushButton* b : {btnOK_, btnCancel_}) {
    b->setFixedWidth(76);
    buttons->addWidget(b);
  }
  bottom->addLayout(buttons);
  root->addLayout(bottom);
  root->addStretch(1);

  // What the user does goes to the model.
  connect(edPanelName_, &QLineEdit::textEdited, this,
          [this](const QString& t) { m_.edPanelName.Text = t.toStdString(); });
  connect(edBGImage_, &QLineEdit::textEdited, this,
          [this](const QString& t) { m_.edBGImage.Text = t.toStdString(); });
  const std::pair<QLineEdit*, TEdit*> sizeEdits[] = {
      {edWidth_, &m_.edWidth}, {edHeight_, &m_.edHeight}, {edTop_, &m_.edTop},
      {edLeft_, &m_.edLeft}};
  for (auto [w, e] : sizeEdits)
    connect(w, &QLineEdit::textEdited, this, [e](const QString& t) { e->Text = t.toStdString(); });
  const std::pair<QCheckBox*, TCheckBox*> checks[] = {{cbBezels_, &m_.cbBezels},
                                                      {cbLighting_, &m_.cbLighting},
                                                      {cbShowFrame_, &m_.cbShowFrame},
                                                      {cbShowGrid_, &m_.cbShowGrid}};
  for (auto [w, c] : checks)
    connect(w, &QCheckBox::toggled, this, [c](bool on) { c->Checked = on; });
  connect(edPixels_, &QSpinBox::valueChanged, this, [this](int v) { m_.edPixels.Value = v; });
  connect(edGrid_, &QSpinBox::valueChanged, this, [this](int v) { m_.edGrid.Value = v; });

  connect(cbImageSize_, &QCheckBox::clicked, this,
          [this](bool on) { act([&] { m_.setImageSize(on); }); });
  connect(typeButtons_, &QButtonGroup::idClicked, this,
          [this](int id) { act([&] { m_.selectType(id); }); });
  connect(modeButtons_, &QButtonGroup::idClicked, this,
          [this](int id) { act([&] { m_.selectSizeType(id); }); });
  connect(cbMonitor_, &QComboBox::activated, this, [this](int index) {
    act([&] {
      m_.cbMonitor.ItemIndex = index;
      m_.cbMonitorCloseUp();
    });
  });
  connect(btnColor_, &QPushButton::clicked, this, [this] { act([&] { m_.btnColorClick(); }); });
  connect(pColorFrame_, &ColorSwatch::clicked, this,
          [this] { act([&] { m_.pColorFrameClick(); }); });
  connect(btnImage_, &QPushButton::clicked, this, [this] { act([&] { m_.btnImageClick(); }); });
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  refresh();
}

void PanelSetupView::refresh() {
  setWindowTitle(q(m_.Caption));
  draw(edPanelName_, m_.edPanelName);
  draw(cbBezels_, m_.cbBezels);
  draw(cbLighting_, m_.cbLighting);
  draw(typeButtons_, m_.rgType);
  follow(gbColor_, m_.gbColor);
  sBGColor_->setColor(m_.sBGColor.Color);
  follow(btnColor_, m_.btnColor);
  draw(cbShowFrame_, m_.cbShowFrame);
  pColorFrame_->setColor(m_.pColorFrame.Color);
  draw(edPixels_, m_.edPixels);
  draw(cbShowGrid_, m_.cbShowGrid);
  draw(edGrid_, m_.edGrid);
  follow(gbImage_, m_.gbImage);
  draw(edBGImage_, m_.edBGImage);
  follow(btnImage_, m_.btnImage);
  draw(cbImageSize_, m_.cbImageSize);
  draw(modeButtons_, m_.rgSizeType);

  {
    const QSignalBlocker block(cbMonitor_);
    QStringList items;
    for (const auto& s : m_.cbMonitor.Items) items << q(s);
    QStringList current;
    for (int i = 0; i < cbMonitor_->count(); ++i) current << cbMonitor_->itemText(i);
    if (items != current) {
      cbMonitor_->clear();
      cbMonitor_->addItems(items);
    }
    cbMonitor_->setCurrentIndex(m_.cbMonitor.ItemIndex);
    follow(cbMonitor_, m_.cbMonitor);
  }
  follow(lMonitor_, m_.lMonitor);
  draw(edWidth_, m_.edWidth);
  lWidth_->setVisible(m_.edWidth.Visible);
  follow(lBy_, m_.lBy);
  draw(edHeight_, m_.edHeight);
  lHeight_->setVisible(m_.edHeight.Visible);
  draw(edTop_, m_.edTop);
  lTop_->setVisible(m_.edTop.Visible);
  draw(edLeft_, m_.edLeft);
  lLeft_->setVisible(m_.edLeft.Visible);
  fixSizeAtLeast(this, m_.ClientWidth, m_.ClientHeight);
}

void PanelSetupView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  m_.FormShow();
  refresh();
  if (m_.ActiveControl == m_.edPanelName.Name) edPanelName_->setFocus();
}

void PanelSetupView::done(int result) {
  m_.modalResult = result == QDialog::Accepted ? ModalResult::OK : ModalResult::Cancel;
  QDialog::done(result);
}

ModalResult showPanelSetup(TfrmPanel& model, QWidget* parent) {
  PanelSetupView view(model, parent);
  view.exec();
  return model.modalResult;
}

}  // namespace vantrel::gui
