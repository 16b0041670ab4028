// The canvas: raster size, exact line pixels, replay, colours, BMP files.
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/chart/canvas.h"

namespace vemo::chart {
namespace {

constexpr Colour kRed = Rgb(255, 0, 0), kBlackC = Rgb(0, 0, 0), kWhiteC = Rgb(255, 255, 255);

void DrawSample(Canvas& c) {
  c.Clear(Rgb(255, 255, 192));
  c.FilledCircle(1500, 1500, 1200, kBlackC);
  c.Line(300, 600, 2700, 2400, Rgb(0, 255, 0), 2);
  c.Line(1500, 0, 1500, 3000, kWhiteC, 1, true);
  c.Point(600, 2400, Rgb(0, 255, 255), 2);
  c.Text(900, 1200, "fL", Font{kStarfontFamily, 14, true}, kWhiteC);
  c.Text(0, 0, "Arial 8", Font{}, Rgb(32, 32, 255));
}

TEST(Canvas, SizeRecordingColoursAndReplay) {
  EXPECT_EQ(Canvas(1000, 455, 1.0).Image().size(), QSize(67, 31));  // 455 / 15 rounds up
  EXPECT_EQ(Canvas(1000, 455, 2.0).Image().size(), QSize(134, 61));
  EXPECT_EQ(ToArgb(Rgb(1, 2, 3)), 0xFF010203u);  // red is the low byte of a Colour
  EXPECT_EQ(FromArgb(0xFF010203u), Rgb(1, 2, 3));
  for (double scale : {1.0, 2.0}) {
    Canvas c(3000, 3000, scale);
    DrawSample(c);
    ASSERT_EQ(c.Operations().size(), 7u);
    EXPECT_EQ(c.Operations()[5].font.family, "DejaVu Sans");  // Starfont characters recorded as symbols
    EXPECT_EQ(c.Operations()[5].text, "\u2295\u2609");
    QImage copy(c.Image().size(), QImage::Format_RGB32);
    copy.fill(Qt::white);
    QPainter painter(&copy);
    Canvas::Replay(c.Operations(), painter, scale / kTwipsPerPixel);
    painter.end();
    EXPECT_TRUE(copy == c.Image()) << "scale " << scale;
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3000, 0}, {0, 3000}}) EXPECT_EQ(c.PixelAt(x, y), Canvas::kOutside);
    c.Clear(kBlackC);
    EXPECT_EQ(c.Operations().size(), 1u);
    EXPECT_EQ(c.PixelAt(2999, 2999), kBlackC);
  }
}

// Lines: both end points, nothing but the line's colour, and as many pixels
// across (along the minor axis) as the width; a dotted line every other pixel.
TEST(Canvas, LinePixels) {
  const struct { int x1, y1, x2, y2, width; bool dotted; } cases[] = {
      {150, 1500, 2850, 1500, 1, false}, {150, 1500, 2850, 1500, 2, false}, {1500, 150, 1500, 2850, 2, false},
      {150, 300, 2850, 2000, 2, false},  {300, 150, 1800, 2850, 2, false},  {2850, 150, 150, 2850, 2, false},
      {150, 300, 150, 1800, 1, true},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.x1 << "," << k.y1 << " " << k.x2 << "," << k.y2 << " w" << k.width);
    Canvas c(3000, 3000);
    c.Clear(kBlackC);
    c.Line(k.x1, k.y1, k.x2, k.y2, kRed, k.width, k.dotted);
    EXPECT_EQ(c.PixelAt(k.x1, k.y1), kRed);
    int foreign = 0;
    for (int y = 0; y < 3000; y += 15) {
      for (int x = 0; x < 3000; x += 15) foreign += c.PixelAt(x, y) != kRed && c.PixelAt(x, y) != kBlackC;
    }
    EXPECT_EQ(foreign, 0);
    if (k.dotted) {
      for (int y = 20; y <= 120; ++y) EXPECT_EQ(c.PixelAt(k.x1, y * 15), y % 2 == 0 ? kRed : kBlackC) << y;
      continue;
    }
    EXPECT_EQ(c.PixelAt(k.x2, k.y2), kRed);
    const bool horizontal = std::abs(k.x2 - k.x1) >= std::abs(k.y2 - k.y1);
    const int mid = horizontal ? (k.x1 + k.x2) / 2 : (k.y1 + k.y2) / 2;
    int across = 0;
    for (int i = 0; i < 3000; i += 15) across += c.PixelAt(horizontal ? mid : i, horizontal ? i : mid) == kRed;
    EXPECT_EQ(across, k.width);
  }
}

TEST(Canvas, BmpRoundTrip) {
  QTemporaryDir dir;
  Canvas c(3000, 3000);
  DrawSample(c);
  const std::string path = dir.filePath("chart.bmp").toStdString();
  ASSERT_EQ(c.SaveBmp(path), "");
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(static_cast<int>(file.read(30)[28]), 24);  // bits per pixel
  EXPECT_TRUE(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32) == c.Image());
  const std::string bad = dir.filePath("no/folder/chart.bmp").toStdString();
  EXPECT_NE(c.SaveBmp(bad).find(bad), std::string::npos);
}

}  // namespace
}  // namespace vemo::chart
