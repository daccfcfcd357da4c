#include "controls/CanvasRoutines.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "graphics/BitmapRoutines.h"

namespace kzm::ui {
namespace {

// Which pixels of a 12 × 10 white image are drawn black by the frame.
std::vector<std::string> Frame(int corner) {
  QImage image(12, 10, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setPen(Qt::black);
    DrawFrameRect(p, {1, 1, 11, 9}, corner);
  }
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) row += image.pixelColor(x, y) == Qt::black ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(CanvasRoutines, FrameShapes) {
  EXPECT_EQ(Frame(0), (std::vector<std::string>{"............", ".##########.", ".#........#.", ".#........#.",
                                                ".#........#.", ".#........#.", ".#........#.", ".#........#.",
                                                ".##########.", "............"}));
  EXPECT_EQ(Frame(2), (std::vector<std::string>{"............", "...######...", "..#......#..", ".#........#.",
                                                ".#........#.", ".#........#.", ".#........#.", "..#......#..",
                                                "...######...", "............"}));
  EXPECT_EQ(Frame(4), (std::vector<std::string>{"............", ".....##.....", "...##..##...", "..#......#..",
                                                "..#......#..", "..#......#..", "..#......#..", "...##..##...",
                                                ".....##.....", "............"}));
}

TEST(CanvasRoutines, TextLinesStepByFontHeight) {
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::black);
  const int step = QFontMetrics(p.font()).height() + 2;
  DrawTextLines(p, 5, 3, "W\r\nW");
  p.end();
  auto inked = [&](int top, int bottom) {
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < 40; ++x)
        if (image.pixelColor(x, y) != Qt::white) return true;
    return false;
  };
  EXPECT_TRUE(inked(3, 3 + step));
  EXPECT_TRUE(inked(3 + step, 3 + 2 * step));
  EXPECT_FALSE(inked(3 + 2 * step, 100));
}

TEST(CanvasRoutines, ImageSharesTheBitmapMemory) {
  TBitmap bitmap(3, 2, 32);
  FillBitmap32(bitmap, MakeColor(255, 0, 0, 128));
  const QImage view = BitmapAsImage(bitmap);
  EXPECT_EQ(view.constBits(), bitmap.Bits());
  EXPECT_EQ(view.pixel(2, 1), qRgba(255, 0, 0, 128));
  TBitmap rgb(2, 1, 24);
  rgb.Row(0)[5] = 200;  // red of the second pixel
  EXPECT_EQ(BitmapAsImage(std::as_const(rgb)).pixel(1, 0), qRgb(200, 0, 0));
}

}  // namespace
}  // namespace kzm::ui
