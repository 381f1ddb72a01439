// Cockpit clock: the machine's own time, hours, minutes and a sweeping seconds hand.
#include <QPainter>
#include <QTime>

#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

class ClockFace : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues&, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(s.dial());
    p.drawEllipse(c, r, r);
    drawTicks(p, c, r * 0.97, 0, 360, 60, 5, s);
    for (int h = 1; h <= 12; ++h)
      drawLabel(p, polar(c, r * 0.7, h * 30.0), QString::number(h), r * 0.15, s.ink(), true);
    const QTime t = QTime::currentTime();
    const double sec = t.second() + t.msec() / 1000.0;
    const double min = t.minute() + sec / 60.0;
    const double hour = std::fmod(t.hour(), 12) + min / 60.0;
    drawLabel(p, QPointF(c.x(), c.y() + r * 0.38), t.toString("HH:mm"), r * 0.11, s.ink());
    drawNeedle(p, c, r * 0.5, hour * 30.0, r * 0.06, s.accent());
    drawNeedle(p, c, r * 0.78, min * 6.0, r * 0.045, s.accent());
    p.setPen(QPen(QColor(230, 60, 40), r * 0.015));
    p.drawLine(polar(c, r * 0.15, sec * 6.0 + 180), polar(c, r * 0.85, sec * 6.0));
  }
};

}  // namespace

int main(int argc, char** argv) {
  static ClockFace face;
  return runInstrument(argc, argv, face);
}
