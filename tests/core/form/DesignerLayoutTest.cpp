// The designer's geometry rules: snapping and the constraint against the
// display size, nudges, and the align, centre, space and same-size moves.
#include <gtest/gtest.h>

#include "form/DesignerLayout.h"

namespace varn {
namespace {

DesignerGrid snapGrid(int spacing = 10) { return DesignerGrid{spacing, true, true}; }

TEST(DesignerConstraint, SnapUnitsAndClamping) {
    const FormScale one{1.0f, 1.0f};
    const FormScale three{3.0f, 3.0f};
    struct Case {
        const char* what;
        FormRect in;
        DesignerGrid grid;
        FormScale scale;
        FormRect out;
    } cases[] = {
        {"left 14 snaps to 10", {14, 20, 34, 40}, snapGrid(), one, {10, 20, 30, 40}},
        {"left 16 snaps to 20", {16, 20, 36, 40}, snapGrid(), one, {20, 20, 40, 40}},
        {"width 15 snaps down to 10", {20, 20, 35, 40}, snapGrid(), one, {20, 20, 30, 40}},
        {"width 4 snaps to 0 and becomes the spacing", {20, 20, 24, 40}, snapGrid(), one, {20, 20, 30, 40}},
        {"no snap while the grid is hidden", {14, 20, 29, 40}, DesignerGrid{10, false, true}, one, {14, 20, 29, 40}},
        {"no snap with spacing 0", {14, 20, 29, 40}, DesignerGrid{0, true, true}, one, {14, 20, 29, 40}},
        {"right edge beyond W pulled back to W-1", {150, 10, 170, 20}, DesignerGrid{}, one, {139, 10, 159, 20}},
        {"bottom beyond H pulled back to H-1", {10, 155, 20, 165}, DesignerGrid{}, one, {10, 149, 20, 159}},
        // -5 and -3 pixels are -4 and -2 units (the integer part of v + 0.5).
        {"negative left and top become 0", {-5, -3, 15, 7}, DesignerGrid{}, one, {0, 0, 19, 9}},
        {"wider than the display", {0, 0, 200, 10}, DesignerGrid{}, one, {0, 0, 160, 10}},
        {"pixels rounded to whole units", {13, 14, 44, 43}, DesignerGrid{}, three, {12, 15, 45, 42}},
        {"right edge in units at scale 3", {450, 0, 486, 30}, DesignerGrid{}, three, {441, 0, 477, 30}},
    };
    for (const Case& c : cases) EXPECT_EQ(constrainRect(c.in, c.grid, c.scale, 160, 160), c.out) << c.what;
}

TEST(DesignerConstraint, SnapRoundsHalfDown) {
    const struct {
        int v, s, out;
    } cases[] = {{14, 10, 10}, {15, 10, 10}, {16, 10, 20}, {-4, 10, 0}, {-6, 10, -10}, {3, 5, 5}, {7, 0, 7}};
    for (const auto& c : cases) EXPECT_EQ(snapToSpacing(c.v, c.s), c.out) << c.v << " by " << c.s;
}

TEST(DesignerNudge, StepIsOneUnitOrTheSpacing) {
    const FormScale scale{3.0f, 2.5f};
    const struct {
        NudgeKey key;
        DesignerGrid grid;
        PixelOffset out;
    } cases[] = {
        {NudgeKey::Left, DesignerGrid{}, {-3, 0}},
        {NudgeKey::Down, DesignerGrid{}, {0, 2}},
        {NudgeKey::Home, DesignerGrid{}, {-3, -2}},
        {NudgeKey::PageUp, DesignerGrid{}, {3, -2}},
        {NudgeKey::End, DesignerGrid{}, {-3, 2}},
        {NudgeKey::PageDown, snapGrid(8), {8, 8}},
        {NudgeKey::Right, DesignerGrid{8, true, false}, {3, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(nudgeOffset(c.key, c.grid, scale), c.out) << static_cast<int>(c.key);
}

TEST(DesignerMoves, AlignSizeAndCentre) {
    const FormRect d{10, 20, 50, 40};
    const FormRect r{100, 100, 120, 130};
    EXPECT_EQ(alignedTo(r, d, AlignEdge::Left), (FormRect{10, 100, 30, 130}));
    EXPECT_EQ(alignedTo(r, d, AlignEdge::Right), (FormRect{30, 100, 50, 130}));
    EXPECT_EQ(alignedTo(r, d, AlignEdge::Top), (FormRect{100, 20, 120, 50}));
    EXPECT_EQ(alignedTo(r, d, AlignEdge::Bottom), (FormRect{100, 10, 120, 40}));
    EXPECT_EQ(sizedLike(r, d, SameSize::Width), (FormRect{100, 100, 140, 130}));
    EXPECT_EQ(sizedLike(r, d, SameSize::Both), (FormRect{100, 100, 140, 120}));
    // 161 / 2 - 21 / 2 with integer halves.
    EXPECT_EQ(centredIn(FormRect{0, 0, 21, 11}, 161, 101, Axis::Horizontal), (FormRect{70, 0, 91, 11}));
    EXPECT_EQ(centredIn(FormRect{0, 0, 21, 11}, 161, 101, Axis::Vertical), (FormRect{0, 45, 21, 56}));
}

TEST(DesignerMoves, SpaceEvenlyMovesOnlyTheOnesBetween) {
    // Widths 10, 20, 10 from 0 to 100: gap (100 - 40) / 2 = 30.
    const auto across = spacedEvenly({{0, 0, 10, 5}, {12, 0, 32, 5}, {90, 0, 100, 5}}, Axis::Horizontal);
    EXPECT_EQ(across, (std::vector<FormRect>{{0, 0, 10, 5}, {40, 0, 60, 5}, {90, 0, 100, 5}}));
    // Four down, the gap truncated: (61 - 4*10) / 3 = 7.
    const auto down = spacedEvenly({{0, 0, 5, 10}, {0, 1, 5, 11}, {0, 2, 5, 12}, {0, 51, 5, 61}}, Axis::Vertical);
    EXPECT_EQ(down[1].top, 17);
    EXPECT_EQ(down[2].top, 34);
    EXPECT_EQ(down[3].top, 51);
    const std::vector<FormRect> two{{0, 0, 10, 5}, {50, 0, 60, 5}};
    EXPECT_EQ(spacedEvenly(two, Axis::Horizontal), two);
}

}  // namespace
}  // namespace varn
