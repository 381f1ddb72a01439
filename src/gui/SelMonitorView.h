#pragma once
// The Select Monitor dialog of Send To drawn with Qt Widgets.
#include <QDialog>

#include "instruments/TfrmSelMonitor.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vantrel::gui {

class SelMonitorView : public QDialog {
  Q_OBJECT
 public:
  SelMonitorView(TfrmSelMonitor& model, QWidget* parent = nullptr);
  void refresh();
  // However it closes, the model keeps the chosen entry.
  void done(int result) override;

 private:
  TfrmSelMonitor& m_;
  QLabel* lInfo_;
  QGroupBox* gbMonitor_;
  QLabel* lMonitor_;
  QComboBox* cbMonitor_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

// Shows the dialog modally, centred over parent, and returns how it was closed.
ModalResult showSelMonitor(TfrmSelMonitor& model, QWidget* parent);

}  // namespace vantrel::gui
