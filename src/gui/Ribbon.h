#pragma once
// A compact ribbon: application menu button, tabs, captioned groups of tool buttons.
// It draws the tabs, groups and commands that the main window's model lists.
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "app/TfrmMain.h"

class QTabBar;
class QStackedWidget;
class QToolButton;
class QLabel;
class QAction;
class QMenu;

namespace vantrel::gui {

class Ribbon : public QWidget {
  Q_OBJECT
 public:
  Ribbon(TfrmMain& model, QWidget* parent = nullptr);
  // Reads enabled states, the active tab and the document name from the model again.
  void refresh();

  QTabBar* tabBar() const { return tabs_; }
  QToolButton* applicationButton() const { return appButton_; }
  QMenu* applicationMenu() const { return appMenu_; }
  // The buttons drawn for one command (a command may stand in more than one place).
  std::vector<QToolButton*> buttonsFor(const std::string& actionName) const;
  QWidget* groupWidget(const std::string& caption) const;

 signals:
  void commandChosen(const QString& actionName);

 private:
  QWidget* buildGroup(const RibbonGroup& group);
  // The caption and document name, shortened in the middle to the strip's width.
  void showTitle();
  void resizeEvent(QResizeEvent* event) override;
  TfrmMain& model_;
  QTabBar* tabs_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QToolButton* appButton_ = nullptr;
  QMenu* appMenu_ = nullptr;
  QLabel* title_ = nullptr;
  std::multimap<std::string, QToolButton*> buttons_;
  std::map<std::string, QAction*> menuActions_;
  std::map<std::string, QWidget*> groups_;
};

}  // namespace vantrel::gui
