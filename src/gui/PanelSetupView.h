#pragma once
// The Panel Setup dialog drawn with Qt Widgets. Every change goes to the model's handler;
// the view then reads the model again.
#include <QDialog>
#include <QFrame>

#include "store/TfrmPanel.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vantrel::gui {

// A colour shown as a filled frame; clickable when asked.
class ColorSwatch : public QFrame {
  Q_OBJECT
 public:
  explicit ColorSwatch(QWidget* parent = nullptr);
  void setColor(std::uint32_t color);
  QColor color() const { return color_; }
 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor color_;
};

class PanelSetupView : public QDialog {
  Q_OBJECT
 public:
  PanelSetupView(TfrmPanel& model, QWidget* parent = nullptr);
  // Draws the model's state: texts, values, checks, enabled and visible controls.
  void refresh();
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Runs a handler of the model, then redraws.
  template <class F>
  void act(F&& handler) {
    handler();
    refresh();
  }
  TfrmPanel& m_;
  bool shown_ = false;

  QGroupBox* gbGeneral_;
  QLineEdit* edPanelName_;
  QCheckBox* cbBezels_;
  QCheckBox* cbLighting_;
  QGroupBox* rgType_;
  QButtonGroup* typeButtons_;
  QGroupBox* gbColor_;
  ColorSwatch* sBGColor_;
  QPushButton* btnColor_;
  QCheckBox* cbShowFrame_;
  ColorSwatch* pColorFrame_;
  QSpinBox* edPixels_;
  QCheckBox* cbShowGrid_;
  QSpinBox* edGrid_;
  QGroupBox* gbImage_;
  QLineEdit* edBGImage_;
  QPushButton* btnImage_;
  QCheckBox* cbImageSize_;
  QGroupBox* gbSize_;
  QGroupBox* rgSizeType_;
  QButtonGroup* modeButtons_;
  QLabel* lMonitor_;
  QComboBox* cbMonitor_;
  QLabel* lWidth_;
  QLineEdit* edWidth_;
  QLabel* lBy_;
  QLabel* lHeight_;
  QLineEdit* edHeight_;
  QLabel* lTop_;
  QLineEdit* edTop_;
  QLabel* lLeft_;
  QLineEdit* edLeft_;
  QPushButton* btnOK_;
  QPushButton* btnCancel_;
};

// Shows the dialog modally over parent and returns how it was closed.
ModalResult showPanelSetup(TfrmPanel& model, QWidget* parent);

}  // namespace vantrel::gui
