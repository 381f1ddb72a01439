#pragma once
// What the background program draws, read from the panel's "Scrimlay.ini":
//   [Settings] Type (0 colour, 1 picture), ImageFileName (in the panel folder), Color,
//              FrameColor, Width, Height, UseImageSize, ShowFrame, FrameWidth, ShowGrid,
//              GridSpacing, SizeType (0 whole desktop, 1 one monitor, 2 custom,
//              3 no background), Monitor
//   [Position] Top, Left (desktop coordinates)
// Flags are "1"/"0"; colours are colour texts ("clNavy", "$00402010").
#include <QColor>
#include <QImage>
#include <QRect>
#include <string>

class QPainter;

namespace vantrel::samples {

struct Background {
  int Type = 0;
  std::string ImagePath;  // the picture's full path; empty when none is named
  QColor Color = Qt::black;
  QColor FrameColor = Qt::black;
  int Width = 800;
  int Height = 600;
  bool UseImageSize = true;
  bool ShowFrame = true;
  int FrameWidth = 1;
  bool ShowGrid = false;
  int GridSpacing = 40;
  int SizeType = 0;
  int Monitor = 0;
  int Top = 0;
  int Left = 0;
};

// A missing file or key reads as its default; a colour text that does not read as a
// colour keeps the default colour.
Background readBackground(const std::string& panelFolder);

// The window's rectangle in desktop coordinates: Left, Top, Width, Height, except that a
// picture shown in its own size takes the picture's size.
QRect backgroundRect(const Background& b, const QImage& picture);

// Fills size with the colour (then grid, then frame) or with the picture, scaled to the
// rectangle unless it is shown in its own size. A picture that cannot be read leaves
// the colour.
void paintBackground(QPainter& p, const QSize& size, const Background& b, const QImage& picture);

}  // namespace vantrel::samples
