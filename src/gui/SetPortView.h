#pragma once
// The Network Config dialog drawn with Qt Widgets.
#include <QDialog>

#include "net/TfrmSetPort.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel::gui {

class SetPortView : public QDialog {
  Q_OBJECT
 public:
  SetPortView(TfrmSetPort& model, QWidget* parent = nullptr);
  // Draws the model: texts, checks, enabled and visible controls.
  void refresh();

 private:
  TfrmSetPort& m_;
  QLineEdit* edMulti_;
  QLineEdit* edPort_;
  QLineEdit* edXPort_;
  QCheckBox* cbPanelSwitching_;
  QGroupBox* gbPanelSwitching_;
  QCheckBox* cbAutoStart_;
  QCheckBox* cbNoThirdParty_;
  QLineEdit* edPrefix_;
  QLineEdit* edSUffix_;
  QCheckBox* cbMonitorChecking_;
  QCheckBox* cbDeclutter_;
  QCheckBox* cbXPlanePopOuts_;
  QLineEdit* edXPlanePopOuts_;
  QLabel* lXPlanePopOuts_;
  QLineEdit* edXPlanePopOutsMaxMins_;
  QLabel* lXPlanePopOutsMaxMins_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

ModalResult showSetPort(TfrmSetPort& model, QWidget* parent);

}  // namespace vantrel::gui
