// Tachometer: 0 to 3500 RPM with the green band, and the hour meter.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

double angleFor(double rpm) { return -135.0 + std::clamp(rpm, 0.0, 3500.0) / 3500.0 * 270.0; }

class TachometerFace : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(s.dial());
    p.drawEllipse(c, r, r);
    const QRectF box(c.x() - r * 0.92, c.y() - r * 0.92, r * 1.84, r * 1.84);
    p.setPen(QPen(QColor(40, 180, 70), r * 0.07, Qt::SolidLine, Qt::FlatCap));
    const double g0 = angleFor(2100), g1 = angleFor(2700);
    p.drawArc(box, static_cast<int>((90 - g0) * 16), static_cast<int>(-(g1 - g0) * 16));
    p.setPen(QPen(QColor(220, 40, 30), r * 0.04));
    p.drawLine(polar(c, r * 0.98, angleFor(2700)), polar(c, r * 0.82, angleFor(2700)));
    drawTicks(p, c, r * 0.98, -135, 270, 35, 5, s);
    for (int k = 0; k <= 35; k += 5)
      drawLabel(p, polar(c, r * 0.66, angleFor(k * 100)), QString::number(k), r * 0.14, s.ink(), true);
    drawLabel(p, QPointF(c.x(), c.y() - r * 0.32), "RPM", r * 0.11, s.ink());
    drawLabel(p, QPointF(c.x(), c.y() + r * 0.3), "x100", r * 0.08, s.ink());
    const double rpm = value(v, "rpm", 0);
    drawLabel(p, QPointF(c.x(), c.y() + r * 0.55), QString::number(static_cast<int>(rpm)), r * 0.1, s.ink());
    drawNeedle(p, c, r * 0.86, angleFor(rpm), r * 0.05, s.accent());
  }
};

}  // namespace

int main(int argc, char** argv) {
  static TachometerFace face;
  return runInstrument(argc, argv, face);
}
