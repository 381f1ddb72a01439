#pragma once
// The main window's view: ribbon, instrument list, status bar. It draws TfrmMain and
// hands every user action to the model, then reads the model again.
#include <QMainWindow>
#include <QTimer>

#include "app/TfrmMain.h"

class QTreeWidget;
class QTreeWidgetItem;
class QLabel;

namespace vantrel::gui {

class Ribbon;
class QtUi;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(TfrmMain& model, QtUi& ui, QWidget* parent = nullptr);
  void refresh();
  // Runs a command of the model as if the user chose it.
  void runAction(const std::string& name);

  Ribbon* ribbon() const { return ribbon_; }
  QTreeWidget* instrumentList() const { return lvInstruments_; }
  QLabel* statusPanel(int i) const { return status_[i]; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void fillInstrumentList();
  void afterModelWork();
  TfrmMain& model_;
  QtUi& ui_;
  Ribbon* ribbon_ = nullptr;
  QTreeWidget* lvInstruments_ = nullptr;
  QLabel* status_[3] = {nullptr, nullptr, nullptr};
  QTimer popOutTimer_;
  bool shown_ = false;
  bool closed_ = false;
  bool formShown_ = false;
  bool filling_ = false;
};

}  // namespace vantrel::gui
