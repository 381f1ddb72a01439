// Attitude indicator: sky and ground behind a fixed aircraft symbol, pitch ladder and
// bank scale.
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

class AttitudeFace : public Face {
 public:
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    const QPointF c = f.center();
    const double r = f.width() / 2;
    const double pitch = std::clamp(value(v, "pitch", 0), -30.0, 30.0);
    const double roll = value(v, "roll", 0);
    const double perDeg = r * 0.035;
    p.save();
    QPainterPath clip;
    clip.addEllipse(c, r, r);
    p.setClipPath(clip);
    p.translate(c);
    p.rotate(-roll);
    p.translate(0, pitch * perDeg);
    p.fillRect(QRectF(-2 * r, -3 * r, 4 * r, 3 * r), QColor(40, 110, 200));
    p.fillRect(QRectF(-2 * r, 0, 4 * r, 3 * r), QColor(130, 80, 35));
    p.setPen(QPen(Qt::white, r * 0.02));
    p.drawLine(QPointF(-2 * r, 0), QPointF(2 * r, 0));
    for (int deg = -20; deg <= 20; deg += 5) {
      if (deg == 0) continue;
      const double w = deg % 10 == 0 ? r * 0.3 : r * 0.15;
      p.drawLine(QPointF(-w, -deg * perDeg), QPointF(w, -deg * perDeg));
      if (deg % 10 == 0)
        drawLabel(p, QPointF(w + r * 0.14, -deg * perDeg), QString::number(std::abs(deg)), r * 0.09, Qt::white);
    }
    p.restore();
    // Bank scale and pointer.
    for (int a : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
      p.setPen(QPen(s.ink(), std::abs(a) % 30 == 0 ? r * 0.03 : r * 0.018));
      p.drawLine(polar(c, r * 0.98, a), polar(c, r * (std::abs(a) % 30 == 0 ? 0.82 : 0.88), a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 170, 40));
    QPainterPath pointer;
    pointer.moveTo(polar(c, r * 0.8, -roll));
    pointer.lineTo(polar(c, r * 0.68, -roll - 5));
    pointer.lineTo(polar(c, r * 0.68, -roll + 5));
    pointer.closeSubpath();
    p.drawPath(pointer);
    // The aircraft symbol stays where it is.
    p.setPen(QPen(QColor(255, 170, 40), r * 0.05, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r * 0.5, c.y()), QPointF(c.x() - r * 0.15, c.y()));
    p.drawLine(QPointF(c.x() + r * 0.15, c.y()), QPointF(c.x() + r * 0.5, c.y()));
    p.drawPoint(c);
  }
};

}  // namespace

int main(int argc, char** argv) {
  static AttitudeFace face;
  return runInstrument(argc, argv, face);
}
