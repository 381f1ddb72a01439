#pragma once
// The frame every sample instrument shares: a frameless window on top of the others that
// opens where its placement file says, moves by dragging and scales with the wheel while
// not locked (right button: lock or unlock), writes its placement when moved and when it
// ends (closed, SIGTERM, SIGINT), and draws its face from needle values that arrive on the
// flight-simulator port (see Feed.h), or that drift gently on their own while none arrive.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "common/Feed.h"
#include "common/Placement.h"
#include "common/SampleArgs.h"

class QUdpSocket;

namespace vantrel::samples {

struct FaceStyle {
  bool Bezels = true;
  bool Night = false;
  QColor ink() const;      // markings and figures
  QColor accent() const;   // needles
  QColor dial() const;     // dial background
};

// One instrument's drawing. Values are read through value(name, fallback).
class Face {
 public:
  virtual ~Face() = default;
  virtual QSize baseSize() const { return {240, 240}; }
  // face: the square (or strip) inside the bezel, in widget coordinates.
  virtual void paint(QPainter& p, const QRectF& face, const FeedValues& v,
                     const FaceStyle& s) const = 0;
};

double value(const FeedValues& v, const char* name, double fallback);
// The values the needles follow while no datagram arrives: slow swings around a cruise.
FeedValues idleValues(double seconds);

// Dial helpers for the faces.
void drawTicks(QPainter& p, QPointF centre, double radius, double fromDeg, double sweepDeg,
               int count, int majorEvery, const FaceStyle& s);
void drawNeedle(QPainter& p, QPointF centre, double length, double angleDeg, double width,
                const QColor& colour);
void drawLabel(QPainter& p, QPointF at, const QString& text, double pixelSize,
               const QColor& colour, bool bold = false);
// angleDeg: 0 points up, growing clockwise.
QPointF polar(QPointF centre, double radius, double angleDeg);

class InstrumentWindow : public QWidget {
  Q_OBJECT
 public:
  InstrumentWindow(const Face& face, SampleArgs args, QWidget* parent = nullptr);
  ~InstrumentWindow() override;

  const std::string& placementPath() const { return placementPath_; }
  const Placement& placement() const { return placement_; }
  // Writes the placement file. The monitor and position are the window's own once the
  // user has dragged it; until then they stay as read, so an instrument whose monitor is
  // missing for a while keeps it in its file.
  void savePlacement();
  // Takes one datagram as if it had arrived on the port.
  void takeDatagram(const std::string& datagram);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void contextMenuEvent(QContextMenuEvent*) override;
  void closeEvent(QCloseEvent*) override;

 private:
  void tick();
  void readDatagrams();
  QSize scaledSize() const;

  const Face& face_;
  SampleArgs args_;
  std::string placementPath_;
  Placement placement_;
  FaceStyle style_;
  FeedValues target_;
  FeedValues shown_;
  QElapsedTimer clock_;
  qint64 lastFeedMs_ = -1;
  QTimer animation_;
  QTimer saveLater_;
  QUdpSocket* socket_ = nullptr;
  bool dragging_ = false;
  bool dragged_ = false;
  QPoint dragFrom_;   // the pointer, in desktop coordinates, when the drag began
  QPoint dragStart_;  // the window's position then
  bool saved_ = false;
};

// Renders the face into a picture for the Add Instrument dialog.
bool renderPicture(const Face& face, const std::string& path);

// main() of a sample instrument: "--picture FILE" renders the catalog picture; anything
// else is the manager's command line.
int runInstrument(int argc, char** argv, const Face& face);

// SIGTERM and SIGINT are caught from the first moment of main() on (installTerminateHandler)
// and run the given function on the event loop once one exists (onTerminate): a request
// that comes early is kept until then.
void installTerminateHandler();
void onTerminate(std::function<void()> quit);

}  // namespace vantrel::samples
