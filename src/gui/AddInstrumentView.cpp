#include "gui/AddInstrumentView.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/ViewKit.h"

namespace vantrel::gui {

namespace {

void draw(QPlainTextEdit* w, const TEdit& e) {
  if (w->toPlainText() != q(e.Text)) w->setPlainText(q(e.Text));
  w->setReadOnly(e.ReadOnly);
  follow(w, e);
}

void draw(QComboBox* w, const TComboBox& c) {
  const QSignalBlocker block(w);
  QStringList items;
  for (const auto& s : c.Items) items << q(s);
  QStringList current;
  for (int i = 0; i < w->count(); ++i) current << w->itemText(i);
  if (items != current) {
    w->clear();
    w->addItems(items);
  }
  w->setCurrentIndex(c.ItemIndex);
  follow(w, c);
}

QLabel* captionFor(const TControl& c, QWidget* buddy) {
  auto* label = new QLabel(q(c.Caption));
  label->setBuddy(buddy);
  return label;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureBox::setImage(const QImage& image) {
  image_ = image;
  update();
}

QRect PictureBox::pictureRect() const {
  if (image_.isNull()) return {};
  const QRect area = contentsRect();
  QRect r(QPoint(0, 0), image_.size().scaled(area.size(), Qt::KeepAspectRatio));
  r.moveCenter(area.center());
  return r;
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(pictureRect(), image_);
}

AddInstrumentView::AddInstrumentView(TfrmAddInstrument& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      m_(model) {
  setObjectName(q(m_.Name));
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(8, 6, 8, 8);
  root->setSpacing(6);
  auto* boxes = new QHBoxLayout;
  boxes->setSpacing(8);

  // The left box: what the selected instrument is.
  gbInstrument_ = named(new QGroupBox(q(m_.gbInstrument.Caption)), m_.gbInstrument.Name);
  // It alone fills the narrow edit width.
  gbInstrument_->setFixedWidth(TfrmAddInstrument::EditWidth - root->contentsMargins().left() -
                               root->contentsMargins().right());
  {
    auto* col = new QVBoxLayout(gbInstrument_);
    col->setContentsMargins(8, 6, 8, 8);
    col->setSpacing(4);
    edImage_ = named(new PictureBox, m_.edImage.Name);
    edImage_->setMinimumHeight(150);
    col->addWidget(edImage_, 1);
    lName_ = named(new QLabel, m_.lName.Name);
    QFont bold = lName_->font();
    bold.setBold(true);
    lName_->setFont(bold);
    col->addWidget(lName_);
    edLong_ = named(new QLineEdit, m_.edLong.Name);
    col->addWidget(edLong_);
    edDescription_ = named(new QPlainTextEdit, m_.edDescription.Name);
    edDescription_->setFixedHeight(110);
    col->addSpacing(2);
    col->addWidget(captionFor(m_.edDescription, edDescription_));
    col->addWidget(edDescription_);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(4);
    edPort_ = named(new QLineEdit, m_.edPort.Name);
    edPort_->setFixedWidth(80);
    edPathName_ = named(new QLineEdit, m_.edPathName.Name);
    grid->addWidget(captionFor(m_.edPort, edPort_), 0, 0);
    grid->addWidget(edPort_, 0, 1, Qt::AlignLeft);
    grid->addWidget(captionFor(m_.edPathName, edPathName_), 1, 0);
    grid->addWidget(edPathName_, 1, 1);
    grid->setColumnStretch(1, 1);
    col->addSpacing(2);
    col->addLayout(grid);
  }
  boxes->addWidget(gbInstrument_);

  // The right box: the catalog, by set and type.
  rgBrowser_ = named(new QGroupBox(q(m_.rgBrowser.Caption)), m_.rgBrowser.Name);
  {
    auto* col = new QVBoxLayout(rgBrowser_);
    col->setContentsMargins(8, 6, 8, 8);
    col->setSpacing(4);
    cbInstrumentSet_ = named(new QComboBox, m_.cbInstrumentSet.Name);
    cbInstrumentSet_->setEditable(false);
    // A long set name must not widen the fixed-width window.
    cbInstrumentSet_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbInstrumentSet_->setMinimumContentsLength(12);
    col->addWidget(captionFor(m_.cbInstrumentSet, cbInstrumentSet_));
    col->addWidget(cbInstrumentSet_);
    lvInstruments_ = named(new QTreeWidget, m_.lvInstruments.Name);
    lvInstruments_->setRootIsDecorated(false);
    lvInstruments_->setItemsExpandable(false);
    lvInstruments_->setUniformRowHeights(true);
    lvInstruments_->setSelectionMode(QAbstractItemView::SingleSelection);
    lvInstruments_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvInstruments_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvInstruments_->setSortingEnabled(false);
    lvInstruments_->header()->setStretchLastSection(false);
    QStringList headers;
    for (const TListColumn& c : m_.lvInstruments.Columns) headers << q(c.Caption);
    lvInstruments_->setHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(m_.lvInstruments.Columns.size()); ++i)
      lvInstruments_->setColumnWidth(i, m_.lvInstruments.Columns[i].Width);
    col->addWidget(lvInstruments_, 1);
    rgType_ = radioGroup(m_.rgType, typeButtons_, this, 2);
    col->addWidget(rgType_);
  }
  boxes->addWidget(rgBrowser_, 1);
  root->addLayout(boxes, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  bbOK_ = named(new QPushButton, m_.bbOK.Name);
  bbOK_->setDefault(true);
  bbCancel_ = named(new QPushButton, m_.bbCancel.Name);
  bbCancel_->setAutoDefault(false);
  bbCancel_->setFixedWidth(76);
  buttons->addWidget(bbOK_);
  buttons->addWidget(bbCancel_);
  root->addLayout(buttons);

  // What the user does goes to the model.
  connect(edPort_, &QLineEdit::textEdited, this,
          [this](const QString& t) { m_.edPort.Text = t.toStdString(); });
  connect(cbInstrumentSet_, qOverload<int>(&QComboBox::currentIndexChanged), this,
          [this](int index) { act([&] { m_.selectSet(index); }); });
  connect(typeButtons_, &QButtonGroup::idClicked, this,
          [this](int id) { act([&] { m_.selectType(id); }); });
  connect(lvInstruments_, &QTreeWidget::itemSelectionChanged, this, [this] {
    const QList<QTreeWidgetItem*> selected = lvInstruments_->selectedItems();
    const int index = selected.isEmpty() ? -1 : lvInstruments_->indexOfTopLevelItem(selected[0]);
    if (index != m_.lvInstruments.ItemIndex) act([&] { m_.selectInstrument(index); });
  });
  connect(lvInstruments_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    const int i = lvInstruments_->indexOfTopLevelItem(item);
    if (i >= 0 && i < static_cast<int>(m_.lvInstruments.Items.size()))
      m_.lvInstruments.Items[i].Checked = item->checkState(0) == Qt::Checked;
  });
  connect(bbOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbCancel_, &QPushButton::clicked, this, &QDialog::reject);

  refresh();
}

void AddInstrumentView::refresh() {
  setWindowTitle(q(m_.Caption));
  // Width is fixed by the model; the height may grow from its minimum.
  setMaximumWidth(QWIDGETSIZE_MAX);
  setMinimumSize(m_.MinWidth, m_.MinHeight);
  setMaximumWidth(m_.MaxWidth);
  if (width() != m_.Width || height() < m_.MinHeight)
    resize(m_.Width, std::max(height(), m_.MinHeight));

  follow(gbInstrument_, m_.gbInstrument);
  drawPicture();
  lName_->setText(q(m_.lName.Caption));
  draw(edLong_, m_.edLong);
  draw(edDescription_, m_.edDescription);
  draw(edPort_, m_.edPort);
  draw(edPathName_, m_.edPathName);

  // The narrow edit width leaves room for the left box only.
  rgBrowser_->setVisible(m_.rgBrowser.Visible && m_.Width >= TfrmAddInstrument::AddWidth);
  draw(cbInstrumentSet_, m_.cbInstrumentSet);
  drawList();
  {
    const QSignalBlocker block(typeButtons_);
    if (QAbstractButton* b = typeButtons_->button(m_.rgType.ItemIndex)) b->setChecked(true);
  }

  bbOK_->setText(q(m_.bbOK.Caption));
  if (m_.bbOK.Width > 0) bbOK_->setFixedWidth(m_.bbOK.Width);
  follow(bbOK_, m_.bbOK);
  bbCancel_->setText(q(m_.bbCancel.Caption));
}

void AddInstrumentView::drawList() {
  const QSignalBlocker block(lvInstruments_);
  const auto& items = m_.lvInstruments.Items;
  bool same = lvInstruments_->topLevelItemCount() == static_cast<int>(items.size());
  for (int i = 0; same && i < static_cast<int>(items.size()); ++i) {
    const QTreeWidgetItem* row = lvInstruments_->topLevelItem(i);
    same = row->text(0) == q(items[i].Caption) &&
           row->text(1) == q(items[i].SubItems.empty() ? "" : items[i].SubItems[0]);
  }
  if (!same) {
    lvInstruments_->clear();
    QList<QTreeWidgetItem*> rows;
    for (const TListItem& item : items) {
      QStringList texts{q(item.Caption)};
      for (const auto& s : item.SubItems) texts << q(s);
      auto* row = new QTreeWidgetItem(texts);
      Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (m_.lvInstruments.Checkboxes) flags |= Qt::ItemIsUserCheckable;
      row->setFlags(flags);
      rows << row;
    }
    lvInstruments_->addTopLevelItems(rows);
  }
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    QTreeWidgetItem* row = lvInstruments_->topLevelItem(i);
    if (m_.lvInstruments.Checkboxes) row->setCheckState(0, items[i].Checked ? Qt::Checked : Qt::Unchecked);
  }
  const int index = m_.lvInstruments.ItemIndex;
  if (QTreeWidgetItem* current = index >= 0 ? lvInstruments_->topLevelItem(index) : nullptr) {
    lvInstruments_->setCurrentItem(current);
    lvInstruments_->scrollToItem(current);
  } else {
    lvInstruments_->clearSelection();
  }
  follow(lvInstruments_, m_.lvInstruments);
}

void AddInstrumentView::drawPicture() {
  if (m_.edImage.FileName == pictureFile_) return;
  pictureFile_ = m_.edImage.FileName;
  // A picture that is missing or cannot be read shows nothing; the reader's error is
  // not the user's business.
  QImage image;
  if (!pictureFile_.empty()) {
    QImageReader reader(q(pictureFile_));
    reader.setAutoTransform(true);
    image = reader.read();
  }
  edImage_->setImage(image);
}

void AddInstrumentView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  m_.FormShow();
  refresh();
}

void AddInstrumentView::done(int result) {
  m_.modalResult = result == QDialog::Accepted ? ModalResult::OK : ModalResult::Cancel;
  QDialog::done(result);
}

ModalResult showAddInstrument(TfrmAddInstrument& model, QWidget* parent) {
  AddInstrumentView view(model, parent);
  execCentred(view, parent);
  return model.modalResult;
}

}  // namespace vantrel::gui
