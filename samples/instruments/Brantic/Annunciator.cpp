// Annunciator strip: five warning lights, lit from the values they watch.
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/Instrument.h"

using namespace vantrel::samples;

namespace {

class AnnunciatorFace : public Face {
 public:
  QSize baseSize() const override { return {480, 80}; }
  void paint(QPainter& p, const QRectF& f, const FeedValues& v, const FaceStyle& s) const override {
    struct Light {
      const char* text;
      bool lit;
      QColor colour;
    };
    const Light lights[] = {
        {"LOW FUEL", value(v, "fuel", 30) < 5, QColor(255, 190, 30)},
        {"OIL PRESS", value(v, "oilp", 60) < 20, QColor(230, 40, 30)},
        {"LOW VOLTS", value(v, "volts", 28) < 24, QColor(230, 40, 30)},
        {"VACUUM", value(v, "vac", 5) < 3, QColor(255, 190, 30)},
        {"PARK BRAKE", value(v, "brake", 0) >= 0.5, QColor(255, 190, 30)},
    };
    p.fillRect(f, QColor(16, 16, 16));
    const double gap = f.height() * 0.12;
    const double w = (f.width() - gap * 6) / 5;
    for (int i = 0; i < 5; ++i) {
      const QRectF cell(f.left() + gap + i * (w + gap), f.top() + gap, w, f.height() - 2 * gap);
      const Light& l = lights[i];
      p.setPen(QPen(QColor(60, 60, 60), 1));
      p.setBrush(l.lit ? l.colour : QColor(38, 34, 30));
      p.drawRoundedRect(cell, 3, 3);
      // The text fits its light, however the strip is scaled.
      const double px = std::min(cell.height() * 0.3, cell.width() / (std::strlen(l.text) * 0.75));
      drawLabel(p, cell.center(), l.text, px,
                l.lit ? QColor(20, 10, 0) : (s.Night ? QColor(120, 60, 40) : QColor(110, 105, 95)), true);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  static AnnunciatorFace face;
  return runInstrument(argc, argv, face);
}
