// Fan speed (N1) gauge: percent on a 210-degree arc, with the figure in a box.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

double angleFor(double pct) { return -120.0 + std::clamp(pct, 0.0, 110.0) / 110.0 * 210.0; }

class N1Face : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    p.fillRect(f, QColor(8, 8, 10));
    const double n1 = value(v, "n1", 0);
    const QRectF box(c.x() - r * 0.85, c.y() - r * 0.85, r * 1.7, r * 1.7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 70));
    const double a0 = angleFor(0), a1 = angleFor(n1);
    p.drawPie(box, static_cast<int>((90 - a0) * 16), static_cast<int>(-(a1 - a0) * 16));
    p.setPen(QPen(s.ink(), r * 0.04));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, static_cast<int>((90 - a0) * 16), static_cast<int>(-(angleFor(102) - a0) * 16));
    p.setPen(QPen(QColor(220, 40, 30), r * 0.05));
    p.drawLine(polar(c, r * 0.85, angleFor(102)), polar(c, r * 0.98, angleFor(102)));
    for (int pct = 0; pct <= 100; pct += 20)
      drawLabel(p, polar(c, r * 0.68, angleFor(pct)), QString::number(pct / 10), r * 0.12, s.ink());
    p.setPen(QPen(s.accent(), r * 0.04, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, polar(c, r * 0.85, a1));
    const QRectF figure(c.x() - r * 0.05, c.y() + r * 0.15, r * 0.8, r * 0.3);
    p.setPen(QPen(s.ink(), 1.5));
    p.drawRect(figure);
    drawLabel(p, figure.center(), QString::number(n1, 'f', 1), r * 0.18, QColor(60, 230, 90), true);
    drawLabel(p, QPointF(c.x() - r * 0.45, c.y() + r * 0.6), "N1 %", r * 0.11, s.ink());
  }
};

}  // namespace

int main(int argc, char** argv) {
  static N1Face face;
  return runInstrument(argc, argv, face);
}
