// Airspeed indicator: 40 to 200 knots over 300 degrees, with the white, green and
// yellow arcs.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

double angleFor(double kt) {
  kt = std::clamp(kt, 0.0, 200.0);
  return kt < 40 ? kt / 40.0 * 20.0 : 20.0 + (kt - 40) / 160.0 * 300.0;
}

class AirspeedFace : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(s.dial());
    p.drawEllipse(c, r, r);
    auto arc = [&](double from, double to, QColor colour, double at) {
      p.setPen(QPen(colour, r * 0.06, Qt::SolidLine, Qt::FlatCap));
      p.setBrush(Qt::NoBrush);
      const QRectF box(c.x() - r * at, c.y() - r * at, 2 * r * at, 2 * r * at);
      const double a0 = angleFor(from), a1 = angleFor(to);
      p.drawArc(box, static_cast<int>((90 - a0) * 16), static_cast<int>(-(a1 - a0) * 16));
    };
    arc(40, 85, QColor(235, 235, 235), 0.80);
    arc(50, 128, QColor(40, 180, 70), 0.92);
    arc(128, 163, QColor(230, 200, 30), 0.92);
    p.setPen(QPen(QColor(220, 40, 30), r * 0.03));
    p.drawLine(polar(c, r * 0.98, angleFor(163)), polar(c, r * 0.84, angleFor(163)));
    for (int kt = 40; kt <= 200; kt += 10) {
      const bool major = kt % 20 == 0;
      p.setPen(QPen(s.ink(), major ? r * 0.03 : r * 0.015));
      p.drawLine(polar(c, r * 0.98, angleFor(kt)), polar(c, r * (major ? 0.84 : 0.9), angleFor(kt)));
      if (major) drawLabel(p, polar(c, r * 0.68, angleFor(kt)), QString::number(kt), r * 0.13, s.ink());
    }
    drawLabel(p, QPointF(c.x(), c.y() - r * 0.3), "AIRSPEED", r * 0.09, s.ink());
    drawLabel(p, QPointF(c.x(), c.y() + r * 0.35), "KNOTS", r * 0.09, s.ink());
    drawNeedle(p, c, r * 0.85, angleFor(value(v, "ias", 0)), r * 0.05, s.accent());
  }
};

}  // namespace

int main(int argc, char** argv) {
  static AirspeedFace face;
  return runInstrument(argc, argv, face);
}
