#pragma once
// The "Panels available" dialog drawn with Qt Widgets.
#include <QDialog>

#include "store/TfrmSelPanel.h"

class QListWidget;
class QPushButton;

namespace vantrel::gui {

class SelPanelView : public QDialog {
  Q_OBJECT
 public:
  SelPanelView(TfrmSelPanel& model, QWidget* parent = nullptr);
  void refresh();
  // However it closes, the model keeps the selected line.
  void done(int result) override;

 private:
  TfrmSelPanel& m_;
  QListWidget* lvPanels_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

ModalResult showSelPanel(TfrmSelPanel& model, QWidget* parent);

}  // namespace vantrel::gui
