// The background program's reading of "Scrimlay.ini" and its drawing.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "scrimlay/Background.h"
#include "support/TempDir.h"

namespace vantrel::samples {
namespace {

using test::TempDir;

QImage draw(const Background& b, const QImage& picture = QImage()) {
  const QRect r = backgroundRect(b, picture);
  QImage out(r.size(), QImage::Format_RGB32);
  out.fill(Qt::magenta);
  QPainter p(&out);
  paintBackground(p, out.size(), b, picture);
  return out;
}

TEST(SampleBackground, ColourWithFrameAndGridAsTheFileSays) {
  TempDir dir;
  // As the Panel Setup save writes it, custom rectangle, a colour no name matches.
  dir.write("Scrimlay.ini",
            "[Settings]\r\nType=0\r\nImageFileName=\r\nColor=$00402010\r\nFrameColor=clRed\r\n"
            "Width=200\r\nHeight=120\r\nUseImageSize=1\r\nShowFrame=1\r\nFrameWidth=3\r\n"
            "ShowGrid=1\r\nGridSpacing=50\r\nSizeType=2\r\nMonitor=0\r\n"
            "[Position]\r\nTop=-40\r\nLeft=1920\r\n");
  const Background b = readBackground(dir.str());
  EXPECT_EQ(b.Color, QColor(0x10, 0x20, 0x40));
  EXPECT_EQ(b.FrameColor, QColor(255, 0, 0));
  EXPECT_EQ(backgroundRect(b, QImage()), QRect(1920, -40, 200, 120));

  const QImage image = draw(b);
  const QRgb fill = qRgb(0x10, 0x20, 0x40), red = qRgb(255, 0, 0);
  EXPECT_EQ(image.pixel(0, 0), red);          // frame, outer corner
  EXPECT_EQ(image.pixel(2, 60), red);         // frame, third pixel in
  EXPECT_EQ(image.pixel(197, 119), red);
  EXPECT_EQ(image.pixel(3, 60), fill);        // just inside the frame
  EXPECT_EQ(image.pixel(50, 20), red);        // a grid line
  EXPECT_EQ(image.pixel(100, 100), red);
  EXPECT_EQ(image.pixel(75, 75), fill);       // between grid lines
}

TEST(SampleBackground, PictureScaledOrInItsOwnSize) {
  TempDir dir;
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(QColor(0, 200, 0));
  ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("ScrimlayImage.PNG")), "PNG"));
  dir.write("Scrimlay.ini",
            "[Settings]\nType=1\nImageFileName=ScrimlayImage.PNG\nColor=clBlack\nWidth=300\n"
            "Height=200\nUseImageSize=0\nShowFrame=1\nFrameWidth=5\n[Position]\nTop=10\nLeft=20\n");
  Background b = readBackground(dir.str());
  EXPECT_EQ(b.ImagePath, dir.file("ScrimlayImage.PNG"));
  const QImage loaded(QString::fromStdString(b.ImagePath));
  ASSERT_FALSE(loaded.isNull());

  // Scaled to the rectangle; a frame belongs to the colour background only.
  EXPECT_EQ(backgroundRect(b, loaded), QRect(20, 10, 300, 200));
  const QImage scaled = draw(b, loaded);
  EXPECT_EQ(scaled.pixel(0, 0), qRgb(0, 200, 0));
  EXPECT_EQ(scaled.pixel(299, 199), qRgb(0, 200, 0));

  b.UseImageSize = true;
  EXPECT_EQ(backgroundRect(b, loaded), QRect(20, 10, 40, 30));
  // A picture that cannot be read leaves the colour and the rectangle of the file.
  EXPECT_EQ(backgroundRect(b, QImage()), QRect(20, 10, 300, 200));
  EXPECT_EQ(draw(b, QImage()).pixel(150, 100), qRgb(0, 0, 0));
}

TEST(SampleBackground, MissingFileOrUnreadableValuesTakeTheDefaults) {
  TempDir dir;
  Background b = readBackground(dir.str());
  EXPECT_EQ(backgroundRect(b, QImage()), QRect(0, 0, 800, 600));
  EXPECT_TRUE(b.ImagePath.empty());
  EXPECT_TRUE(b.ShowFrame);

  // A system colour has no value of its own here; a picture name is kept to the panel
  // folder.
  dir.write("Scrimlay.ini",
            "[Settings]\nColor=clBtnFace\nFrameColor=nonsense\nWidth=wide\nImageFileName=..\\..\\x.png\n");
  b = readBackground(dir.str());
  EXPECT_EQ(b.Color, QColor(Qt::black));
  EXPECT_EQ(b.FrameColor, QColor(Qt::black));
  EXPECT_EQ(b.Width, 800);
  EXPECT_EQ(b.ImagePath, dir.file("x.png"));
}

}  // namespace
}  // namespace vantrel::samples
