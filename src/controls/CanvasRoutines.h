#pragma once

#include <QImage>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

class QPainter;

namespace kzm::ui {

// Outline of rect with the painter's pen, right and bottom edges one pixel inside, nothing
// filled. corner 1..3 cuts each corner diagonally by that many pixels; 4 rounds the corners
// by about four pixels; anything else draws a plain rectangle.
void DrawFrameRect(QPainter& painter, const TRect& rect, int corner);

// Draws the lines of text (split at line breaks) with line i at (x, y + i·(font height + 2)),
// x and y being each line's top-left.
void DrawTextLines(QPainter& painter, int x, int y, const std::string& text);

// The bitmap's own memory seen as an image, without copying: 32-bit bitmaps as ARGB32
// (not premultiplied), 24-bit ones as BGR888. Valid while the bitmap keeps its size.
[[nodiscard]] QImage BitmapAsImage(TBitmap& bitmap);
[[nodiscard]] QImage BitmapAsImage(const TBitmap& bitmap);

}  // namespace kzm::ui
