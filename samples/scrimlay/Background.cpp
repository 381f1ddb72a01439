#include "scrimlay/Background.h"

#include <QPainter>
#include <algorithm>

#include "store/ColorText.h"
#include "store/IniFile.h"

namespace vantrel::samples {

namespace {

QColor colorFrom(const IniFile& ini, const char* key, QColor fallback) {
  const std::string text = ini.readString("Settings", key, "");
  if (text.empty()) return fallback;
  try {
    const std::uint32_t v = textToColor(text);
    // System colours and clNone carry a high byte; they have no value of their own here.
    if ((v & 0xFF000000u) != 0) return fallback;
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
  } catch (...) {
    return fallback;
  }
}

}  // namespace

Background readBackground(const std::string& folder) {
  const IniFile ini(folder + "/Scrimlay.ini", FlagStyle::OneZero);
  Background b;
  b.Type = ini.readInteger("Settings", "Type", 0);
  const std::string image = ini.readString("Settings", "ImageFileName", "");
  // Only a file of the panel folder: a name with a folder in it is cut to its file name.
  const std::size_t slash = image.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? image : image.substr(slash + 1);
  if (!name.empty()) b.ImagePath = folder + "/" + name;
  b.Color = colorFrom(ini, "Color", Qt::black);
  b.FrameColor = colorFrom(ini, "FrameColor", Qt::black);
  b.Width = ini.readInteger("Settings", "Width", 800);
  b.Height = ini.readInteger("Settings", "Height", 600);
  b.UseImageSize = ini.readBool("Settings", "UseImageSize", true);
  b.ShowFrame = ini.readBool("Settings", "ShowFrame", true);
  b.FrameWidth = ini.readInteger("Settings", "FrameWidth", 1);
  b.ShowGrid = ini.readBool("Settings", "ShowGrid", false);
  b.GridSpacing = ini.readInteger("Settings", "GridSpacing", 40);
  b.SizeType = ini.readInteger("Settings", "SizeType", 0);
  b.Monitor = ini.readInteger("Settings", "Monitor", 0);
  b.Top = ini.readInteger("Position", "Top", 0);
  b.Left = ini.readInteger("Position", "Left", 0);
  return b;
}

QRect backgroundRect(const Background& b, const QImage& picture) {
  if (b.Type == 1 && b.UseImageSize && !picture.isNull())
    return {b.Left, b.Top, picture.width(), picture.height()};
  return {b.Left, b.Top, std::max(1, b.Width), std::max(1, b.Height)};
}

void paintBackground(QPainter& p, const QSize& size, const Background& b, const QImage& picture) {
  const QRect all(QPoint(0, 0), size);
  p.fillRect(all, b.Color);
  if (b.Type == 1) {
    if (!picture.isNull()) p.drawImage(all, picture);
    return;
  }
  if (b.ShowGrid && b.GridSpacing > 0) {
    p.setPen(QPen(b.FrameColor, 1));
    for (int x = b.GridSpacing; x < size.width(); x += b.GridSpacing) p.drawLine(x, 0, x, size.height() - 1);
    for (int y = b.GridSpacing; y < size.height(); y += b.GridSpacing) p.drawLine(0, y, size.width() - 1, y);
  }
  if (b.ShowFrame && b.FrameWidth > 0) {
    const int w = std::min(b.FrameWidth, std::min(size.width(), size.height()) / 2);
    p.fillRect(QRect(0, 0, size.width(), w), b.FrameColor);
    p.fillRect(QRect(0, size.height() - w, size.width(), w), b.FrameColor);
    p.fillRect(QRect(0, 0, w, size.height()), b.FrameColor);
    p.fillRect(QRect(size.width() - w, 0, w, size.height()), b.FrameColor);
  }
}

}  // namespace vantrel::samples
