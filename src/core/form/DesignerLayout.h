// The designer's geometry rules: the grid settings, the constraint that keeps
// a moved or resized control on the grid and inside the display units, the
// keyboard nudge, and the align, centre, space-evenly and same-size moves.
#pragma once

#include <vector>

#include "form/FormGeometry.h"

namespace varn {

struct ProjectSettings;

// The project-wide grid: spacing in pixels, shown, snap to it.
struct DesignerGrid {
    static constexpr int kDefaultSpacing = 10;
    static constexpr int kMaxSpacing = 500;  // the "Grid Spacing" dialog's range is 0..500

    int spacing = kDefaultSpacing;
    bool shown = false;
    bool snap = false;

    // Positions snap only when the grid is shown, snap is on and the spacing is not 0.
    bool snapping() const { return shown && snap && spacing != 0; }

    static DesignerGrid fromProject(const ProjectSettings& settings);
    void storeIn(ProjectSettings& settings) const;
};

// v rounded to the nearest multiple of s: a remainder larger than s/2 rounds
// up, s/2 or less rounds down.
int snapToSpacing(int v, int s);

// A rectangle the user moved or resized (pixels, document coordinates) made
// whole: snapped to the grid, converted to units, kept inside the display
// size (W x H units) and converted back to pixels.
FormRect constrainRect(const FormRect& pixels, const DesignerGrid& grid, const FormScale& scale, int displayWidth,
                       int displayHeight);

enum class NudgeKey { Left, Right, Up, Down, Home, PageUp, End, PageDown };

struct PixelOffset {
    int dx = 0;
    int dy = 0;
    bool operator==(const PixelOffset&) const = default;
};

// One key's move: one unit in pixels (the integer part of the scale), or the
// grid spacing while positions snap.
PixelOffset nudgeOffset(NudgeKey key, const DesignerGrid& grid, const FormScale& scale);

enum class AlignEdge { Left, Right, Top, Bottom };
enum class SameSize { Width, Height, Both };
enum class Axis { Horizontal, Vertical };

// The rectangle moved so that one edge lines up with the dominant control's.
FormRect alignedTo(const FormRect& r, const FormRect& dominant, AlignEdge edge);
// The rectangle given the dominant control's width, height or both; its
// top-left corner stays.
FormRect sizedLike(const FormRect& r, const FormRect& dominant, SameSize size);
// The rectangle centred in the form along one axis (integer halves).
FormRect centredIn(const FormRect& r, int formPixelWidth, int formPixelHeight, Axis axis);
// Space evenly: `rects` sorted along the axis (by left or by top). The first
// and last stay; each one between starts at the previous one's far edge plus
// the common gap, keeping its size. Returns the new rectangles in that order.
std::vector<FormRect> spacedEvenly(std::vector<FormRect> rects, Axis axis);

}  // namespace varn
