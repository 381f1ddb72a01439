#pragma once
// The Select Network Adapter dialog drawn with Qt Widgets.
#include <QDialog>

#include "net/TfrmSelAdapter.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vantrel::gui {

class SelAdapterView : public QDialog {
  Q_OBJECT
 public:
  SelAdapterView(TfrmSelAdapter& model, QWidget* parent = nullptr);
  void refresh();
  // However it closes, the model keeps the selected item.
  void done(int result) override;

 private:
  TfrmSelAdapter& m_;
  QLabel* lblFound_;
  QLabel* lblChoose_;
  QComboBox* dropdownAdapters_;
  QPushButton* btnOK_;
};

ModalResult showSelAdapter(TfrmSelAdapter& model, QWidget* parent);

}  // namespace vantrel::gui
