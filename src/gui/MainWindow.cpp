#include "gui/MainWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>
#include <algorithm>

#include "gui/FitToText.h"
#include "gui/QtUi.h"
#include "gui/Ribbon.h"
#include "gui/ViewKit.h"

namespace vantrel::gui {

namespace {
constexpr int kStatusWidths[] = {170, 200, 50};
}  // namespace

MainWindow::MainWindow(TfrmMain& model, QtUi& ui, QWidget* parent)
    : QMainWindow(parent), model_(model), ui_(ui) {
  setObjectName("frmMain");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedWidth(500);
  setMinimumHeight(520);
  resize(500, 520);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  ribbon_ = new Ribbon(model_, central);
  layout->addWidget(ribbon_);
  connect(ribbon_, &Ribbon::commandChosen, this,
          [this](const QString& name) { runAction(name.toStdString()); });

  lvInstruments_ = new QTreeWidget(central);
  lvInstruments_->setObjectName("lvInstruments");
  lvInstruments_->setRootIsDecorated(false);
  lvInstruments_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvInstruments_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvInstruments_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvInstruments_->setAllColumnsShowFocus(true);
  lvInstruments_->setUniformRowHeights(true);
  lvInstruments_->setHeaderLabels({"On|Instrument", "Port No", "Path Name", "IP Address",
                                   "Port No", "Size", "InstNo"});
  const int widths[] = {400, 85, 300, 50, 50, 50, 50};
  for (int i = 0; i < 7; ++i) lvInstruments_->setColumnWidth(i, widths[i]);
  // The selection stays visible when the list loses focus.
  QPalette pal = lvInstruments_->palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
               pal.color(QPalette::Active, QPalette::HighlightedText));
  lvInstruments_->setPalette(pal);
  layout->addWidget(lvInstruments_, 1);
  connect(lvInstruments_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int col) {
    if (filling_ || col != 0) return;
    const int row = lvInstruments_->indexOfTopLevelItem(item);
    auto& rows = model_.Instruments.rows();
    if (row >= 0 && row < int(rows.size())) rows[row].Checked = item->checkState(0) == Qt::Checked;
  });
  connect(lvInstruments_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (filling_) return;
    const auto sel = lvInstruments_->selectedItems();
    model_.lvInstrumentsSelected =
        sel.isEmpty() ? -1 : lvInstruments_->indexOfTopLevelItem(sel.first());
  });
  connect(lvInstruments_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem*, int) {
    model_.runCommand([this] { model_.lvInstrumentsDblClick(); });
    afterModelWork();
  });
  setCentralWidget(central);

  for (int i = 0; i < 3; ++i) {
    status_[i] = new QLabel(this);
    status_[i]->setObjectName(QString("sbMainPanel%1").arg(i));
    status_[i]->setFixedWidth(kStatusWidths[i]);
    status_[i]->setFrameShape(QFrame::StyledPanel);
    statusBar()->addWidget(status_[i]);
  }
  statusBar()->setSizeGripEnabled(false);

  popOutTimer_.setObjectName("TimerXPlanePopOuts");
  connect(&popOutTimer_, &QTimer::timeout, this, [this] {
    model_.runCommand([this] { model_.TimerXPlanePopOutsTimer(); });
    afterModelWork();
  });

  ui_.setBeforePrompt([this] { refresh(); });
  model_.AfterListenerWork = [this] { afterModelWork(); };
  model_.FormCreate();
  refresh();
  // 500 pixels wide, or what the ribbon's captions need at the font in use.
  setFixedWidth(atLeast(this, 500, 520).width());
  resize(width(), 520);
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

void MainWindow::runAction(const std::string& name) {
  model_.execute(name);
  afterModelWork();
}

void MainWindow::afterModelWork() {
  refresh();
  if (model_.CloseRequested) close();
}

void MainWindow::refresh() {
  setWindowTitle(model_.DocumentName.empty() ? q(model_.Caption)
                                             : q(model_.DocumentName) + " - " + q(model_.Caption));
  ribbon_->refresh();
  lvInstruments_->setEnabled(model_.lvInstrumentsEnabled);
  fillInstrumentList();
  for (int i = 0; i < 3 && i < int(model_.sbMain.size()); ++i) {
    status_[i]->setText(q(model_.sbMain[i].Text));
    // The panel's width, or its text's when that is wider.
    status_[i]->setFixedWidth(std::max(kStatusWidths[i], status_[i]->sizeHint().width()));
  }
  const auto& t = model_.TimerXPlanePopOuts;
  if (t.Enabled && t.Interval > 0) {
    if (!popOutTimer_.isActive() || popOutTimer_.interval() != t.Interval) popOutTimer_.start(t.Interval);
  } else if (popOutTimer_.isActive()) {
    popOutTimer_.stop();
  }
}

void MainWindow::fillInstrumentList() {
  filling_ = true;
  const auto& rows = model_.Instruments.rows();
  while (lvInstruments_->topLevelItemCount() > int(rows.size()))
    delete lvInstruments_->takeTopLevelItem(lvInstruments_->topLevelItemCount() - 1);
  for (int i = 0; i < int(rows.size()); ++i) {
    QTreeWidgetItem* item = lvInstruments_->topLevelItem(i);
    if (!item) {
      item = new QTreeWidgetItem(lvInstruments_);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    }
    item->setText(0, q(rows[i].Caption));
    for (int c = 0; c < 6; ++c) item->setText(c + 1, q(rows[i].SubItems[c]));
    item->setCheckState(0, rows[i].Checked ? Qt::Checked : Qt::Unchecked);
  }
  const int sel = model_.lvInstrumentsSelected;
  if (sel >= 0 && sel < int(rows.size()))
    lvInstruments_->setCurrentItem(lvInstruments_->topLevelItem(sel));
  else
    lvInstruments_->clearSelection();
  filling_ = false;
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The first show loads the settings and the panel once the window is on screen.
  QTimer::singleShot(0, this, [this] {
    if (closed_) return;
    formShown_ = true;
    model_.FormShow();
    afterModelWork();
  });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    if (formShown_)
      model_.FormClose();
    else
      model_.CloseBeforeShow();
    refresh();
  }
  event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  auto* e = static_cast<QWindowStateChangeEvent*>(event);
  const bool wasMinimized = e->oldState() & Qt::WindowMinimized;
  if (wasMinimized && !(windowState() & Qt::WindowMinimized) && shown_ && !closed_) {
    QTimer::singleShot(0, this, [this] {
      model_.OnRestore();
      afterModelWork();
    });
  }
}

}  // namespace vantrel::gui
