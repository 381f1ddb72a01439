#include "gui/SplashWindow.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <cmath>

namespace vantrel::gui {

SplashWindow::SplashWindow() {
  setObjectName("frmSplash");
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(426, 213);
  if (QScreen* s = QGuiApplication::primaryScreen())
    move(s->geometry().center() - rect().center());
}

void SplashWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  // The picture that fills the window: sky over a horizon.
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0.0, QColor(0xA6, 0xCA, 0xF0));
  sky.setColorAt(0.7, QColor(0xD6, 0xE8, 0xFA));
  sky.setColorAt(1.0, QColor(0x8C, 0xB4, 0xE0));
  p.fillRect(rect(), sky);
  p.setPen(QPen(QColor(255, 255, 255, 150), 2));
  p.drawLine(0, 150, width(), 138);

  // The small picture at the top left: an instrument dial.
  const QPointF c(44, 44);
  p.setPen(QPen(QColor(0x1e, 0x39, 0x5b), 3));
  p.setBrush(QColor(0x22, 0x22, 0x2a));
  p.drawEllipse(c, 30, 30);
  p.setPen(QPen(Qt::white, 2));
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    p.drawLine(c + QPointF(std::cos(a) * 22, std::sin(a) * 22),
               c + QPointF(std::cos(a) * 27, std::sin(a) * 27));
  }
  p.setPen(QPen(QColor(0xff, 0xa5, 0x00), 3));
  p.drawLine(c, c + QPointF(16, -12));

  QFont small = font();
  small.setBold(true);
  small.setPointSize(9);
  p.setFont(small);
  p.setPen(QColor(0x1e, 0x39, 0x5b));
  p.drawText(QRect(0, 8, width() - 12, 20), Qt::AlignRight | Qt::AlignTop, "Version 2.15.1");

  QFont big = font();
  big.setBold(true);
  big.setPixelSize(64);
  p.setFont(big);
  p.setPen(QColor(0x14, 0x2d, 0x4c));
  p.drawText(QRect(0, height() / 2, width(), height() / 2), Qt::AlignCenter, "Vantrel");
}

}  // namespace vantrel::gui
