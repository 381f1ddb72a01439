#pragma once
// The Add 3rd Party Application dialog drawn with Qt Widgets.
#include <QDialog>

#include "instruments/TfrmAdd3rdParty.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantrel::gui {

class Add3rdPartyView : public QDialog {
  Q_OBJECT
 public:
  Add3rdPartyView(TfrmAdd3rdParty& model, QWidget* parent = nullptr);
  void refresh();
  void done(int result) override;

 private:
  TfrmAdd3rdParty& m_;
  QLabel* lAppName_;
  QLineEdit* edAppName_;
  QPushButton* btnImage_;
  QLabel* lParameters_;
  QLineEdit* edParameters_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

// Shows the dialog modally, centred over parent, and returns how it was closed.
ModalResult showAdd3rdParty(TfrmAdd3rdParty& model, QWidget* parent);

}  // namespace vantrel::gui
