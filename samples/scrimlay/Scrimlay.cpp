// The background program: draws the panel's background, as its "Scrimlay.ini" describes,
// in a window below the instruments. Started with the same eleven tokens as an
// instrument; only the panel name (token 3) is used. Ends on SIGTERM and SIGKILL; writes
// nothing.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "common/Instrument.h"
#include "common/SampleArgs.h"
#include "scrimlay/Background.h"

using namespace vantrel::samples;

namespace {

class BackgroundWindow : public QWidget {
 public:
  BackgroundWindow(Background b, QImage picture)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                             Qt::WindowDoesNotAcceptFocus),
        b_(std::move(b)),
        picture_(std::move(picture)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setGeometry(backgroundRect(b_, picture_));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    paintBackground(p, size(), b_, picture_);
  }

 private:
  Background b_;
  QImage picture_;
};

}  // namespace

int main(int argc, char** argv) {
  installTerminateHandler();
  std::vector<std::string> tokens(argv, argv + argc);
  QApplication app(argc, argv);
  const SampleArgs args = parseSampleArgs(tokens);
  const std::string folder = panelFolder(args.PanelName);
  if (folder.empty()) return 1;
  const Background b = readBackground(folder);
  // "No Background": the manager does not start the program; started anyway, it shows
  // nothing.
  if (b.SizeType == 3) return 0;
  QImage picture;
  if (b.Type == 1 && !b.ImagePath.empty()) picture.load(QString::fromStdString(b.ImagePath));
  BackgroundWindow window(b, picture);
  window.setWindowTitle(QString::fromStdString("Background - " + args.PanelName));
  onTerminate([&window] { window.close(); });
  window.show();
  window.lower();
  return QApplication::exec();
}
