#pragma once
// TfrmSplash: the borderless sky-blue window shown while the program starts.
#include <QWidget>

namespace vantrel::gui {

class SplashWindow : public QWidget {
 public:
  SplashWindow();

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace vantrel::gui
