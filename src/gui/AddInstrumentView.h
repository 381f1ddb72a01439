#pragma once
// The Add Instrument dialog (and, narrowed, Edit Instrument) drawn with Qt Widgets. Every
// choice goes to the model's handler; the view then reads the model again.
#include <QDialog>
#include <QImage>
#include <QWidget>

#include "instruments/TfrmAddInstrument.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace vantrel::gui {

// A picture centred in its box and scaled to fit, keeping its proportions; an empty
// image draws nothing.
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent = nullptr);
  void setImage(const QImage& image);
  QImage image() const { return image_; }
  // Where the picture is drawn inside the box; empty without a picture.
  QRect pictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

class AddInstrumentView : public QDialog {
  Q_OBJECT
 public:
  AddInstrumentView(TfrmAddInstrument& model, QWidget* parent = nullptr);
  // Draws the model's state: captions, texts, the set and type, the list, the picture.
  void refresh();
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  template <class F>
  void act(F&& handler) {
    handler();
    refresh();
  }
  void drawList();
  void drawPicture();

  TfrmAddInstrument& m_;
  bool shown_ = false;
  std::string pictureFile_;

  QGroupBox* gbInstrument_;
  PictureBox* edImage_;
  QLabel* lName_;
  QLineEdit* edLong_;
  QPlainTextEdit* edDescription_;
  QLineEdit* edPort_;
  QLineEdit* edPathName_;
  QGroupBox* rgBrowser_;
  QComboBox* cbInstrumentSet_;
  QTreeWidget* lvInstruments_;
  QGroupBox* rgType_;
  QButtonGroup* typeButtons_;
  QPushButton* bbOK_;
  QPushButton* bbCancel_;
};

// Shows the dialog modally, centred over parent, and returns how it was closed.
ModalResult showAddInstrument(TfrmAddInstrument& model, QWidget* parent);

}  // namespace vantrel::gui
