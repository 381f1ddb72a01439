#include "gui/Ribbon.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include "gui/ViewKit.h"

namespace vantrel::gui {

namespace {

QIcon standardIconFor(const std::string& action) {
  static const std::map<std::string, QStyle::StandardPixmap> icons = {
      {"aStartPanel", QStyle::SP_MediaPlay},
      {"aStopPanel", QStyle::SP_MediaStop},
      {"aLoadPanel", QStyle::SP_DialogOpenButton},
      {"aEditSettings", QStyle::SP_FileDialogDetailedView},
      {"aSendToMonitor", QStyle::SP_ComputerIcon},
      {"aExit", QStyle::SP_DialogCloseButton},
      {"aNewPanel", QStyle::SP_FileIcon},
      {"aCopyPanel", QStyle::SP_FileDialogNewFolder},
      {"aDeletePanel", QStyle::SP_TrashIcon},
      {"aAddInstrument", QStyle::SP_FileDialogContentsView},
      {"a3rdParty", QStyle::SP_DesktopIcon},
      {"aEditInstrument", QStyle::SP_FileDialogInfoView},
      {"aDeleteInstrument", QStyle::SP_DialogDiscardButton},
      {"aResetPos", QStyle::SP_BrowserReload},
      {"aExport", QStyle::SP_DialogSaveButton},
      {"aImport", QStyle::SP_DirOpenIcon},
      {"aPortNumber", QStyle::SP_DriveNetIcon},
      {"aUserManual", QStyle::SP_DialogHelpButton},
      {"aWebSite", QStyle::SP_DirHomeIcon},
  };
  auto it = icons.find(action);
  return QApplication::style()->standardIcon(it == icons.end() ? QStyle::SP_FileIcon
                                                               : it->second);
}

// The style's icons come in sizes of their own; every icon of one button size is drawn at
// that size, and a disabled command's icon is made grey from it as its text is.
QIcon iconFor(const std::string& action, int px) {
  QPixmap pm = standardIconFor(action).pixmap(QSize(px, px));
  if (pm.size() != QSize(px, px))
    pm = pm.scaled(px, px, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QIcon icon;
  icon.addPixmap(pm, QIcon::Normal);
  return icon;
}

}  // namespace

Ribbon::Ribbon(TfrmMain& model, QWidget* parent) : QWidget(parent), model_(model) {
  setObjectName("Ribbon");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  // Title strip: the ribbon's caption and the document name.
  title_ = new QLabel(this);
  title_->setObjectName("RibbonTitle");
  title_->setAlignment(Qt::AlignCenter);
  // A long panel name is shortened in its middle rather than widening the window.
  title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  title_->setStyleSheet("QLabel#RibbonTitle { background: #dbe6f4; color: #1e395b; padding: 2px; }");
  outer->addWidget(title_);

  auto* tabRow = new QHBoxLayout;
  tabRow->setContentsMargins(0, 0, 0, 0);
  tabRow->setSpacing(4);
  appButton_ = new QToolButton(this);
  appButton_->setObjectName("ApplicationMenu");
  appButton_->setText(q(model.ApplicationMenuCaption));
  appButton_->setPopupMode(QToolButton::InstantPopup);
  appButton_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  appButton_->setStyleSheet(
      "QToolButton#ApplicationMenu { background: #2b579a; color: white; padding: 3px 10px;"
      " border: none; } QToolButton#ApplicationMenu::menu-indicator { image: none; }");
  appMenu_ = new QMenu(appButton_);
  auto addMenuItem = [this](const std::string& name, const QString& caption) {
    QAction* a = appMenu_->addAction(iconFor(name, 16), caption);
    menuActions_[name] = a;
    connect(a, &QAction::triggered, this, [this, name] { emit commandChosen(q(name)); });
  };
  for (const auto& name : model.ApplicationMenuActions)
    addMenuItem(name, q(model.action(name).Caption));
  appMenu_->addSeparator();
  addMenuItem(model.ApplicationMenuOption, q(model.action(model.ApplicationMenuOption).Caption));
  appButton_->setMenu(appMenu_);
  tabRow->addWidget(appButton_);

  tabs_ = new QTabBar(this);
  tabs_->setObjectName("RibbonTabs");
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  tabRow->addWidget(tabs_);
  tabRow->addStretch(1);
  outer->addLayout(tabRow);

  pages_ = new QStackedWidget(this);
  pages_->setObjectName("RibbonPages");
  pages_->setStyleSheet("QStackedWidget#RibbonPages { background: #f5f6f7; border-top: 1px solid #c5d2e0;"
                        " border-bottom: 1px solid #c5d2e0; }");
  for (const auto& tab : model.Tabs) {
    tabs_->addTab(q(tab.Caption));
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    for (std::size_t i = 0; i < tab.Groups.size(); ++i) {
      if (i > 0) {
        auto* line = new QFrame(page);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        row->addWidget(line);
      }
      row->addWidget(buildGroup(tab.Groups[i]));
    }
    row->addStretch(1);
    pages_->addWidget(page);
  }
  outer->addWidget(pages_);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    pages_->setCurrentIndex(index);
    model_.ActiveTab = index;
  });
  refresh();
}

QWidget* Ribbon::buildGroup(const RibbonGroup& group) {
  auto* box = new QWidget;
  box->setObjectName(q(group.Name.empty() ? "rg" + group.Caption : group.Name));
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(3, 1, 3, 1);
  v->setSpacing(1);
  auto* grid = new QGridLayout;
  grid->setSpacing(1);
  // A group of two commands shows large buttons; larger groups stack small ones in threes.
  const bool large = group.Actions.size() <= 2;
  for (std::size_t i = 0; i < group.Actions.size(); ++i) {
    const std::string& name = group.Actions[i];
    auto* b = new QToolButton(box);
    b->setObjectName(q(name));
    b->setText(q(model_.action(name).Caption));
    b->setAutoRaise(true);
    if (large) {
      b->setIcon(iconFor(name, 32));
      b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
      b->setIconSize(QSize(32, 32));
      b->setMinimumWidth(std::max(44, b->sizeHint().width()));
      grid->addWidget(b, 0, int(i));
    } else {
      b->setIcon(iconFor(name, 16));
      b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
      b->setIconSize(QSize(16, 16));
      b->setMinimumWidth(b->sizeHint().width());
      b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
      grid->addWidget(b, int(i % 3), int(i / 3));
    }
    const std::string hint = model_.action(name).Hint;
    if (!hint.empty()) b->setToolTip(q(hint.substr(0, hint.find('|'))));
    connect(b, &QToolButton::clicked, this, [this, name] { emit commandChosen(q(name)); });
    buttons_.emplace(name, b);
  }
  v->addLayout(grid);
  v->addStretch(1);
  auto* caption = new QLabel(q(group.Caption), box);
  caption->setAlignment(Qt::AlignCenter);
  caption->setStyleSheet("color: #57606a;");
  v->addWidget(caption);
  groups_[group.Caption] = box;
  return box;
}

std::vector<QToolButton*> Ribbon::buttonsFor(const std::string& actionName) const {
  std::vector<QToolButton*> out;
  auto range = buttons_.equal_range(actionName);
  for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
  return out;
}

QWidget* Ribbon::groupWidget(const std::string& caption) const {
  auto it = groups_.find(caption);
  return it == groups_.end() ? nullptr : it->second;
}

void Ribbon::refresh() {
  std::map<std::string, bool> groupEnabled;
  for (const auto& tab : model_.Tabs)
    for (const auto& g : tab.Groups)
      for (const auto& n : g.Actions) groupEnabled[n] = g.Enabled;
  for (auto& [name, button] : buttons_) {
    const TAction& a = model_.action(name);
    button->setEnabled(a.Enabled && groupEnabled[name]);
    button->setVisible(a.Visible);
  }
  for (auto& [name, act] : menuActions_) act->setEnabled(model_.action(name).Enabled);
  if (tabs_->currentIndex() != model_.ActiveTab) tabs_->setCurrentIndex(model_.ActiveTab);
  pages_->setCurrentIndex(model_.ActiveTab);
  showTitle();
}

void Ribbon::showTitle() {
  const QString doc = q(model_.DocumentName);
  const QString full = doc.isEmpty() ? q(model_.RibbonCaption) : doc + " - " + q(model_.RibbonCaption);
  const int room = title_->width() - 8;
  title_->setText(room > 0 ? title_->fontMetrics().elidedText(full, Qt::ElideMiddle, room) : full);
  title_->setToolTip(full);
}

void Ribbon::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  showTitle();
}

}  // namespace vantrel::gui
