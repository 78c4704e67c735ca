// The drawing operations on the working surface, each shown as the picture it
// leaves: '#' for a painted pixel, '.' for white.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/ImageDrawing.h"

namespace varn {
namespace {

using Rows = std::vector<std::string>;
constexpr Rgb kInk{0x99, 0, 0};

Rows picture(const PixelBuffer& p) {
    Rows out;
    for (int y = 0; y < p.height(); ++y) {
        std::string row;
        for (int x = 0; x < p.width(); ++x) row += p.at(x, y) == kWhite ? '.' : (p.at(x, y) == kInk ? '#' : 'o');
        out.push_back(row);
    }
    return out;
}

PixelBuffer fromPicture(const Rows& rows) {
    PixelBuffer p(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            if (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == 'o') p.set(x, y, kBlack);
    return p;
}

TEST(ImageDrawing, PlotSquareStartsHalfTheSizeUpAndLeftAndIsClipped) {
    struct Case {
        const char* name;
        PixelPoint at;
        int size;
        Rows expected;
    } cases[] = {
        {"pencil", {1, 1}, 1, {".....", ".#...", ".....", ".....", "....."}},
        {"brush 2 at the corner paints only the corner", {0, 0}, 2, {"#....", ".....", ".....", ".....", "....."}},
        {"brush 3 is centred", {2, 2}, 3, {".....", ".###.", ".###.", ".###.", "....."}},
        {"brush 4 reaches one further up and left", {2, 2}, 4, {"####.", "####.", "####.", "####.", "....."}},
        {"brush 5 at the far corner", {4, 4}, 5, {".....", ".....", "..###", "..###", "..###"}},
        {"outside the image nothing", {5, 2}, 3, {".....", ".....", ".....", ".....", "....."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PixelBuffer p(5, 5);
        plotSquare(p, c.at, c.size, kInk);
        EXPECT_EQ(picture(p), c.expected);
    }
}

TEST(ImageDrawing, LinePixelsFollowTheErrorTerm) {
    using P = std::vector<PixelPoint>;
    struct Case {
        PixelPoint from, to;
        P expected;
    } cases[] = {
        {{0, 0}, {3, 1}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {{3, 1}, {0, 0}, {{3, 1}, {2, 1}, {1, 0}, {0, 0}}},
        {{0, 0}, {1, 3}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        {{0, 0}, {2, 2}, {{0, 0}, {1, 1}, {2, 2}}},  // a tie steps along x with y every step
        {{4, 4}, {4, 4}, {{4, 4}}},
        {{0, 2}, {3, 0}, {{0, 2}, {1, 1}, {2, 1}, {3, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y);
        EXPECT_EQ(linePixels(c.from, c.to), c.expected);
    }
}

TEST(ImageDrawing, FiguresCoverBothCornersInAnyOrder) {
    struct Case {
        const char* name;
        void (*draw)(PixelBuffer&, PixelPoint, PixelPoint);
        PixelPoint a, b;
        Rows expected;
    } cases[] = {
        {"hollow rectangle dragged up and left",
         [](PixelBuffer& p, PixelPoint a, PixelPoint b) { drawRectangle(p, a, b, kInk, false); },
         {5, 5},
         {2, 2},
         {".......", ".......", "..####.", "..#..#.", "..#..#.", "..####.", "......."}},
        {"solid rectangle",
         [](PixelBuffer& p, PixelPoint a, PixelPoint b) { drawRectangle(p, a, b, kInk, true); },
         {1, 4},
         {3, 3},
         {".......", ".......", ".......", ".###...", ".###...", ".......", "......."}},
        {"line with both ends",
         [](PixelBuffer& p, PixelPoint a, PixelPoint b) { drawLine(p, a, b, kInk); },
         {6, 0},
         {0, 3},
         {"......#", "....##.", "..##...", "##.....", ".......", ".......", "......."}},
        {"solid ellipse",
         [](PixelBuffer& p, PixelPoint a, PixelPoint b) { drawEllipse(p, a, b, kInk, true); },
         {0, 0},
         {6, 4},
         {".#####.", "#######", "#######", "#######", ".#####.", ".......", "......."}},
        {"hollow ellipse",
         [](PixelBuffer& p, PixelPoint a, PixelPoint b) { drawEllipse(p, b, a, kInk, false); },
         {0, 0},
         {6, 4},
         {".#####.", "#.....#", "#.....#", "#.....#", ".#####.", ".......", "......."}},
        {"one-pixel ellipse",
         [](PixelBuffer& p, PixelPoint a, PixelPoint b) { drawEllipse(p, a, b, kInk, false); },
         {3, 3},
         {3, 3},
         {".......", ".......", ".......", "...#...", ".......", ".......", "......."}},
        {"rectangle past the edge is clipped",
         [](PixelBuffer& p, PixelPoint a, PixelPoint b) { drawRectangle(p, a, b, kInk, false); },
         {4, 4},
         {9, 9},
         {".......", ".......", ".......", ".......", "....###", "....#..", "....#.."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PixelBuffer p(7, 7);
        c.draw(p, c.a, c.b);
        EXPECT_EQ(picture(p), c.expected);
    }
}

TEST(ImageDrawing, FillTakesTheSeedColourAndNeverCrossesADiagonal) {
    struct Case {
        const char* name;
        Rows before;
        PixelPoint seed;
        Rows expected;
    } cases[] = {
        {"bounded region",
         {"..o..", ".o.o.", "o...o", ".o.o.", "..o.."},
         {2, 2},
         {"..o..", ".o#o.", "o###o", ".o#o.", "..o.."}},
        {"a diagonal gap does not leak", {".o...", "o....", "....."}, {0, 0}, {"#o...", "o....", "....."}},
        {"the other colour fills its own run", {"oo.oo", "..o..", "oo.oo"}, {0, 0}, {"##.oo", "..o..", "oo.oo"}},
        {"a snake through every row",
         {".....", "oooo.", ".....", ".oooo", "....."},
         {0, 4},
         {"#####", "oooo#", "#####", "#oooo", "#####"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PixelBuffer p = fromPicture(c.before);
        EXPECT_TRUE(floodFill(p, c.seed, kInk));
        EXPECT_EQ(picture(p), c.expected);
    }
}

TEST(ImageDrawing, FillWithTheSameColourOrOutsideChangesNothing) {
    PixelBuffer p = fromPicture({"o.o", ".o.", "o.o"});
    const PixelBuffer before = p;
    EXPECT_TRUE(floodFill(p, {1, 1}, kBlack));
    EXPECT_FALSE(floodFill(p, {3, 0}, kInk));
    EXPECT_FALSE(floodFill(p, {0, -1}, kInk));
    EXPECT_TRUE(p == before);
}

}  // namespace
}  // namespace varn
