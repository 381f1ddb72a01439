// Vertical speed indicator: -6000 to +6000 feet per minute, finer near zero.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

// 0 at nine o'clock; climb turns the needle up, descent down.
double angleFor(double fpm) {
  const double k = std::clamp(fpm, -6000.0, 6000.0) / 1000.0;
  const double sign = k < 0 ? -1 : 1;
  const double a = std::abs(k) <= 2 ? std::abs(k) * 40 : 80 + (std::abs(k) - 2) * 22.5;
  return -90 + sign * a;
}

class VertSpeedFace : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(s.dial());
    p.drawEllipse(c, r, r);
    for (int k = -60; k <= 60; k += 5) {
      const bool major = k % 10 == 0;
      if (std::abs(k) > 20 && !major) continue;
      p.setPen(QPen(s.ink(), major ? r * 0.03 : r * 0.015));
      p.drawLine(polar(c, r * 0.97, angleFor(k * 100)), polar(c, r * (major ? 0.84 : 0.9), angleFor(k * 100)));
      if (major && k % 20 == 0 && k != 60 && k != -60)
        drawLabel(p, polar(c, r * 0.7, angleFor(k * 100)), QString::number(std::abs(k / 10)), r * 0.14, s.ink(), true);
    }
    drawLabel(p, QPointF(c.x() + r * 0.3, c.y() - r * 0.3), "UP", r * 0.09, s.ink());
    drawLabel(p, QPointF(c.x() + r * 0.3, c.y() + r * 0.3), "DN", r * 0.09, s.ink());
    drawLabel(p, QPointF(c.x() + r * 0.45, c.y()), "FPM x1000", r * 0.08, s.ink());
    drawNeedle(p, c, r * 0.86, angleFor(value(v, "vsi", 0)), r * 0.05, s.accent());
  }
};

}  // namespace

int main(int argc, char** argv) {
  static VertSpeedFace face;
  return runInstrument(argc, argv, face);
}
