// The drawing operations of the image editor on the working surface: the
// n × n plot square of the pencil and brush, the stepped line of a drag,
// lines, rectangles and ellipses over two corners, and the flood fill.
#pragma once

#include <vector>

#include "image/PixelBuffer.h"

namespace varn {

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Plots the n × n square whose top-left pixel is (px − n÷2, py − n÷2),
// clipped by the surface; nothing when (px, py) itself lies outside.
void plotSquare(PixelBuffer& surface, PixelPoint p, int n, Rgb c);

// Every pixel of the line from `from` to `to`, both ends included, stepped
// along the axis of the larger difference (x on a tie) with the error term
// 2·minor − major, raised by 2·minor, or by 2·(minor − major) with a step of
// the minor coordinate when it was not negative.
std::vector<PixelPoint> linePixels(PixelPoint from, PixelPoint to);

// A line drag of the pencil or brush: the square of size n at every pixel
// of the line.
void plotLine(PixelBuffer& surface, PixelPoint from, PixelPoint to, int n, Rgb c);

// The line tool: a 1-pixel line with both end pixels set.
void drawLine(PixelBuffer& surface, PixelPoint from, PixelPoint to, Rgb c);

// Rectangles and ellipses cover the pixels between the two corners, both
// included, in whatever order the corners come; hollow figures draw a
// 1-pixel outline inside that box, solid ones fill it.
void drawRectangle(PixelBuffer& surface, PixelPoint a, PixelPoint b, Rgb c, bool solid);
void drawEllipse(PixelBuffer& surface, PixelPoint a, PixelPoint b, Rgb c, bool solid);

// Paints the pixels that have exactly the colour of the seed pixel and are
// joined to it through their left, right, upper or lower neighbours (never
// diagonally). False when the seed lies outside; a fill with the seed's own
// colour changes nothing.
bool floodFill(PixelBuffer& surface, PixelPoint seed, Rgb c);

}  // namespace varn
