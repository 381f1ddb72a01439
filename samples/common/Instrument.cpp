#include "common/Instrument.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSocketNotifier>
#include <QUdpSocket>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <sys/socket.h>
#include <unistd.h>

namespace vantrel::samples {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Needles follow the datagrams for this long after the last one, then drift on their own.
constexpr qint64 kFeedHoldMs = 3000;

int terminatePipe[2] = {-1, -1};

void onSignal(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(terminatePipe[1], &c, 1);
}

QScreen* screenAt(int index) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (index >= 0 && index < screens.size()) return screens[index];
  return QGuiApplication::primaryScreen();
}

// Angles wrap: a heading from 350 to 10 goes the short way.
double approach(double from, double to, bool circular) {
  double d = to - from;
  if (circular) {
    while (d > 180) d -= 360;
    while (d < -180) d += 360;
  }
  double next = from + d * 0.25;
  if (circular) next = std::fmod(next + 360.0, 360.0);
  return std::abs(d) < 1e-3 ? to : next;
}

}  // namespace

QColor FaceStyle::ink() const { return Night ? QColor(255, 120, 70) : QColor(240, 240, 240); }
QColor FaceStyle::accent() const { return Night ? QColor(255, 170, 90) : QColor(255, 255, 255); }
QColor FaceStyle::dial() const { return Night ? QColor(18, 8, 6) : QColor(22, 22, 24); }

double value(const FeedValues& v, const char* name, double fallback) {
  const auto it = v.find(name);
  return it == v.end() ? fallback : it->second;
}

FeedValues idleValues(double t) {
  return {
      {"ias", 105 + 12 * std::sin(t / 9.0)},
      {"alt", 3500 + 180 * std::sin(t / 13.0)},
      {"baro", 29.92},
      {"hdg", std::fmod(270 + 25 * std::sin(t / 17.0) + 360, 360)},
      {"pitch", 3 * std::sin(t / 7.0)},
      {"roll", 12 * std::sin(t / 11.0)},
      {"rpm", 2350 + 120 * std::sin(t / 6.0)},
      {"vsi", 400 * std::cos(t / 13.0)},
      {"n1", 84 + 4 * std::sin(t / 8.0)},
      {"fuel", 30 + 8 * std::sin(t / 19.0)},
      {"oilp", std::fmod(t, 20.0) < 3 ? 15 : 60},
      {"volts", std::fmod(t + 7, 20.0) < 3 ? 22 : 28},
      {"vac", 5},
      {"brake", std::fmod(t + 14, 20.0) < 3 ? 1 : 0},
  };
}

QPointF polar(QPointF c, double r, double deg) {
  const double a = (deg - 90.0) * kPi / 180.0;
  return {c.x() + r * std::cos(a), c.y() + r * std::sin(a)};
}

void drawTicks(QPainter& p, QPointF c, double r, double fromDeg, double sweepDeg, int count,
               int majorEvery, const FaceStyle& s) {
  for (int i = 0; i <= count; ++i) {
    if (sweepDeg >= 360 && i == count) break;
    const double a = fromDeg + sweepDeg * i / count;
    const bool major = majorEvery > 0 && i % majorEvery == 0;
    p.setPen(QPen(s.ink(), major ? r * 0.03 : r * 0.015, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(polar(c, r, a), polar(c, r * (major ? 0.84 : 0.91), a));
  }
}

void drawNeedle(QPainter& p, QPointF c, double length, double deg, double width,
                const QColor& colour) {
  QPainterPath path;
  path.moveTo(polar(c, length, deg));
  path.lineTo(polar(c, width, deg + 90));
  path.lineTo(polar(c, length * 0.18, deg + 180));
  path.lineTo(polar(c, width, deg - 90));
  path.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(path);
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(c, width * 1.3, width * 1.3);
}

void drawLabel(QPainter& p, QPointF at, const QString& text, double px, const QColor& colour,
               bool bold) {
  QFont f = p.font();
  f.setPixelSize(std::max(6, static_cast<int>(px)));
  f.setBold(bold);
  p.setFont(f);
  p.setPen(colour);
  const QRectF box(at.x() - px * 6, at.y() - px, px * 12, px * 2);
  p.drawText(box, Qt::AlignCenter, text);
}

namespace {

void paintInstrument(QPainter& p, const QRect& area, const Face& face, const FeedValues& v,
                     const FaceStyle& s) {
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(area, QColor(12, 12, 12));
  QRectF faceRect = QRectF(area).adjusted(2, 2, -2, -2);
  if (s.Bezels) {
    // A dark metal bezel with four screws and, bottom left, the adjusting knob.
    const double inset = std::min(area.width(), area.height()) * 0.08;
    QLinearGradient metal(area.topLeft(), area.bottomRight());
    metal.setColorAt(0, QColor(92, 92, 96));
    metal.setColorAt(1, QColor(38, 38, 42));
    p.setPen(QPen(QColor(20, 20, 20), 2));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(area).adjusted(1, 1, -1, -1), inset, inset);
    p.setBrush(QColor(28, 28, 30));
    const double sr = inset * 0.28;
    for (QPointF at : {QPointF(area.left() + inset * 0.6, area.top() + inset * 0.6),
                       QPointF(area.right() - inset * 0.6, area.top() + inset * 0.6),
                       QPointF(area.right() - inset * 0.6, area.bottom() - inset * 0.6)})
      p.drawEllipse(at, sr, sr);
    p.setBrush(QColor(55, 55, 58));
    p.setPen(QPen(QColor(15, 15, 15), 1));
    p.drawEllipse(QPointF(area.left() + inset * 1.1, area.bottom() - inset * 1.1), inset * 0.9,
                  inset * 0.9);
    faceRect = QRectF(area).adjusted(inset, inset, -inset, -inset);
  }
  face.paint(p, faceRect, v, s);
  if (s.Night) {
    // Night mode: the whole face under a dim red flood light.
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.fillRect(area, QColor(200, 110, 90));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
}

}  // namespace

InstrumentWindow::InstrumentWindow(const Face& face, SampleArgs args, QWidget* parent)
    : QWidget(parent,
              Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      face_(face),
      args_(std::move(args)) {
  const std::string stem = fileStemOf(args_.ProgramPath);
  const std::string folder = panelFolder(args_.PanelName);
  if (!folder.empty() && !stem.empty())
    placementPath_ = folder + "/" + stem + std::to_string(args_.InstNo) + ".ini";
  placement_ = readPlacement(placementPath_);
  // Without a placement file of its own the instrument opens on the panel's monitor.
  std::error_code ec;
  if (placementPath_.empty() || !std::filesystem::exists(placementPath_, ec))
    placement_.Monitor = args_.Monitor;
  if (!placement_.HasScaleSize) placement_.ScaleSize = args_.Size;
  placement_.ScaleSize = std::clamp(placement_.ScaleSize, 0.25, 5.0);
  style_.Bezels = args_.Bezels;
  style_.Night = args_.Lighting;

  setWindowTitle(QString::fromStdString(stem + " " + std::to_string(args_.InstNo) + " - " +
                                        args_.PanelName));
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(scaledSize());
  move(screenAt(placement_.Monitor)->geometry().topLeft() + QPoint(placement_.X, placement_.Y));

  clock_.start();
  shown_ = idleValues(0);
  animation_.setInterval(50);
  connect(&animation_, &QTimer::timeout, this, &InstrumentWindow::tick);
  animation_.start();
  saveLater_.setSingleShot(true);
  saveLater_.setInterval(400);
  connect(&saveLater_, &QTimer::timeout, this, &InstrumentWindow::savePlacement);

  bool portOk = false;
  const int port = QString::fromStdString(args_.FlightSimPort).toInt(&portOk);
  if (portOk && port > 0 && port < 65536) {
    // Every instrument of a panel listens on the same port: datagrams sent to a broadcast
    // address reach them all.
    socket_ = new QUdpSocket(this);
    if (socket_->bind(QHostAddress::AnyIPv4, static_cast<quint16>(port),
                      QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint))
      connect(socket_, &QUdpSocket::readyRead, this, &InstrumentWindow::readDatagrams);
  }
}

InstrumentWindow::~InstrumentWindow() = default;

QSize InstrumentWindow::scaledSize() const {
  const QSize base = face_.baseSize();
  return {std::max(40, static_cast<int>(std::lround(base.width() * placement_.ScaleSize))),
          std::max(20, static_cast<int>(std::lround(base.height() * placement_.ScaleSize)))};
}

void InstrumentWindow::savePlacement() {
  if (dragged_) {
    QScreen* screen = QGuiApplication::screenAt(geometry().center());
    const QList<QScreen*> screens = QGuiApplication::screens();
    int index = screen ? static_cast<int>(screens.indexOf(screen)) : -1;
    if (index < 0) {
      index = placement_.Monitor;
      screen = screenAt(index);
    }
    placement_.Monitor = index;
    placement_.X = pos().x() - screen->geometry().left();
    placement_.Y = pos().y() - screen->geometry().top();
  }
  writePlacement(placementPath_, placement_);
}

void InstrumentWindow::takeDatagram(const std::string& datagram) {
  const FeedValues values = parseFeed(datagram);
  if (values.empty()) return;
  for (const auto& [k, v] : values) target_[k] = v;
  lastFeedMs_ = clock_.elapsed();
}

void InstrumentWindow::readDatagrams() {
  while (socket_->hasPendingDatagrams()) {
    QByteArray data(static_cast<int>(std::max<qint64>(0, socket_->pendingDatagramSize())),
                    Qt::Uninitialized);
    const qint64 n = socket_->readDatagram(data.data(), data.size());
    if (n > 0) takeDatagram(std::string(data.constData(), static_cast<std::size_t>(n)));
  }
}

void InstrumentWindow::tick() {
  const qint64 now = clock_.elapsed();
  const bool fed = lastFeedMs_ >= 0 && now - lastFeedMs_ < kFeedHoldMs;
  FeedValues goal = idleValues(now / 1000.0);
  if (fed)
    for (const auto& [k, v] : target_) goal[k] = v;
  for (const auto& [k, v] : goal) {
    auto it = shown_.find(k);
    shown_[k] = it == shown_.end() ? v : approach(it->second, v, k == "hdg");
  }
  update();
}

void InstrumentWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  paintInstrument(p, rect(), face_, shown_, style_);
  if (placement_.IsLocked) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 60, 40));
    p.drawEllipse(QPointF(width() - 8, height() - 8), 3, 3);
  }
}

void InstrumentWindow::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && !placement_.IsLocked) {
    dragging_ = true;
    dragFrom_ = e->globalPosition().toPoint();
    dragStart_ = pos();
  }
}

void InstrumentWindow::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_) move(dragStart_ + (e->globalPosition().toPoint() - dragFrom_));
}

void InstrumentWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (dragging_ && e->button() == Qt::LeftButton) {
    dragging_ = false;
    dragged_ = true;
    savePlacement();
  }
}

void InstrumentWindow::wheelEvent(QWheelEvent* e) {
  if (placement_.IsLocked) return;
  const double steps = e->angleDelta().y() / 120.0;
  if (steps == 0) return;
  placement_.ScaleSize = std::clamp(placement_.ScaleSize * std::pow(1.05, steps), 0.25, 5.0);
  resize(scaledSize());
  saveLater_.start();
}

void InstrumentWindow::contextMenuEvent(QContextMenuEvent* e) {
  QMenu menu(this);
  QAction* lock = menu.addAction(placement_.IsLocked ? "Unlock Position" : "Lock Position");
  QAction* chosen = menu.exec(e->globalPos());
  if (chosen == lock) {
    placement_.IsLocked = !placement_.IsLocked;
    savePlacement();
    update();
  }
}

void InstrumentWindow::closeEvent(QCloseEvent* e) {
  if (!saved_) {
    savePlacement();
    saved_ = true;
  }
  e->accept();
}

bool renderPicture(const Face& face, const std::string& path) {
  const QSize size = face.baseSize();
  QImage image(size, QImage::Format_RGB32);
  QPainter p(&image);
  paintInstrument(p, QRect(QPoint(0, 0), size), face, idleValues(0), FaceStyle{});
  p.end();
  return image.save(QString::fromStdString(path), "PNG");
}

void installTerminateHandler() {
  if (terminatePipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, terminatePipe) != 0) return;
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

void onTerminate(std::function<void()> quit) {
  installTerminateHandler();
  if (terminatePipe[0] < 0) return;
  auto* notifier = new QSocketNotifier(terminatePipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, qApp, [quit] {
    char c;
    [[maybe_unused]] auto n = ::read(terminatePipe[0], &c, 1);
    quit();
  });
}

int runInstrument(int argc, char** argv, const Face& face) {
  installTerminateHandler();
  // Qt takes the options it knows out of argv; the manager's tokens are kept as given.
  std::vector<std::string> tokens(argv, argv + argc);
  if (argc == 3 && tokens[1] == "--picture") {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return renderPicture(face, tokens[2]) ? 0 : 1;
  }
  QApplication app(argc, argv);
  InstrumentWindow window(face, parseSampleArgs(tokens));
  onTerminate([&window] { window.close(); });
  window.show();
  return QApplication::exec();
}

}  // namespace vantrel::samples
