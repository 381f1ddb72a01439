// Altimeter: hundreds on the long needle, thousands on the short one, the pressure
// setting in its window.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

class AltimeterFace : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(s.dial());
    p.drawEllipse(c, r, r);
    drawTicks(p, c, r * 0.98, 0, 360, 50, 5, s);
    for (int i = 0; i < 10; ++i)
      drawLabel(p, polar(c, r * 0.68, i * 36.0), QString::number(i), r * 0.16, s.ink(), true);
    const double alt = value(v, "alt", 0);
    const QRectF window(c.x() + r * 0.22, c.y() - r * 0.1, r * 0.5, r * 0.2);
    p.setPen(QPen(s.ink(), 1));
    p.setBrush(Qt::black);
    p.drawRect(window);
    drawLabel(p, window.center(), QString::number(value(v, "baro", 29.92), 'f', 2), r * 0.11, s.ink());
    drawLabel(p, QPointF(c.x(), c.y() - r * 0.3), "ALT", r * 0.1, s.ink());
    drawLabel(p, QPointF(c.x(), c.y() + r * 0.35), "FEET", r * 0.08, s.ink());
    drawNeedle(p, c, r * 0.5, std::fmod(alt / 10000.0, 1.0) * 360.0, r * 0.07, s.accent());
    drawNeedle(p, c, r * 0.86, std::fmod(alt / 1000.0, 1.0) * 360.0, r * 0.04, s.accent());
  }
};

}  // namespace

int main(int argc, char** argv) {
  static AltimeterFace face;
  return runInstrument(argc, argv, face);
}
