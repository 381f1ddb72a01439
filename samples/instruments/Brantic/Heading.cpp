// Heading indicator: a compass card that turns under a fixed lubber line.
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

class HeadingFace : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    const double hdg = value(v, "hdg", 0);
    p.setPen(Qt::NoPen);
    p.setBrush(s.dial());
    p.drawEllipse(c, r, r);
    for (int d = 0; d < 360; d += 5) {
      const double a = d - hdg;
      const bool major = d % 30 == 0;
      p.setPen(QPen(s.ink(), d % 10 == 0 ? r * 0.025 : r * 0.012));
      p.drawLine(polar(c, r * 0.96, a), polar(c, r * (d % 10 == 0 ? 0.84 : 0.9), a));
      if (major) {
        static const char* names[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
        drawLabel(p, polar(c, r * 0.7, a), names[d / 30], r * (d % 90 == 0 ? 0.16 : 0.12), s.ink(), d % 90 == 0);
      }
    }
    // The aircraft and the lubber line.
    p.setPen(QPen(QColor(255, 170, 40), r * 0.035, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x(), c.y() - r * 0.35), QPointF(c.x(), c.y() + r * 0.3));
    p.drawLine(QPointF(c.x() - r * 0.28, c.y() - r * 0.05), QPointF(c.x() + r * 0.28, c.y() - r * 0.05));
    p.drawLine(QPointF(c.x() - r * 0.12, c.y() + r * 0.25), QPointF(c.x() + r * 0.12, c.y() + r * 0.25));
    QPainterPath lubber;
    lubber.moveTo(c.x(), c.y() - r * 0.84);
    lubber.lineTo(c.x() - r * 0.06, c.y() - r * 0.98);
    lubber.lineTo(c.x() + r * 0.06, c.y() - r * 0.98);
    lubber.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 170, 40));
    p.drawPath(lubber);
    drawLabel(p, QPointF(c.x(), c.y() + r * 0.5), QString("%1°").arg(static_cast<int>(std::lround(hdg)) % 360, 3, 10, QChar('0')), r * 0.1, s.ink());
  }
};

}  // namespace

int main(int argc, char** argv) {
  static HeadingFace face;
  return runInstrument(argc, argv, face);
}
