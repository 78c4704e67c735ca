#include "form/DesignerLayout.h"

#include <algorithm>

#include "project/ProjectSettings.h"

namespace varn {

DesignerGrid DesignerGrid::fromProject(const ProjectSettings& settings) {
    DesignerGrid g;
    g.spacing = settings.gridSpacing < 1 ? kDefaultSpacing : settings.gridSpacing;
    g.shown = settings.gridEnabled;
    g.snap = settings.snapToGrid;
    return g;
}

void DesignerGrid::storeIn(ProjectSettings& settings) const {
    settings.gridSpacing = spacing;
    settings.gridEnabled = shown;
    settings.snapToGrid = snap;
}

int snapToSpacing(int v, int s) {
    if (s <= 0) return v;
    const long long value = v;
    long long q = value / s;
    long long r = value % s;
    if (r < 0) {  // floor division, so negative values round the same way
        r += s;
        --q;
    }
    if (2 * r > s) ++q;
    return clampToInt(q * s);
}

namespace {

// Keeps [start, end) of size at most `limit` inside 0..limit: a negative
// start becomes 0 keeping the size; an end beyond the limit becomes limit - 1,
// moving the span back by its size.
void clampSpan(int& start, int& end, int limit) {
    if (end - start > limit) end = start + limit;
    const int size = end - start;
    if (start < 0) {
        start = 0;
        end = size;
    }
    if (end > limit) {
        end = limit - 1;
        start = end - size;
        if (start < 0) start = 0;  // a span as wide as the display
    }
}

}  // namespace

FormRect constrainRect(const FormRect& pixels, const DesignerGrid& grid, const FormScale& scale, int displayWidth,
                       int displayHeight) {
    FormRect r = pixels;
    if (grid.snapping()) {
        const int s = grid.spacing;
        int w = snapToSpacing(r.width(), s);
        int h = snapToSpacing(r.height(), s);
        if (w == 0) w = s;
        if (h == 0) h = s;
        r.left = snapToSpacing(r.left, s);
        r.top = snapToSpacing(r.top, s);
        r.right = addClamped(r.left, w);
        r.bottom = addClamped(r.top, h);
    }
    FormRect u{scale.unitsX(r.left), scale.unitsY(r.top), scale.unitsX(r.right), scale.unitsY(r.bottom)};
    clampSpan(u.left, u.right, displayWidth);
    clampSpan(u.top, u.bottom, displayHeight);
    return FormRect{scale.pixelsX(u.left), scale.pixelsY(u.top), scale.pixelsX(u.right), scale.pixelsY(u.bottom)};
}

PixelOffset nudgeOffset(NudgeKey key, const DesignerGrid& grid, const FormScale& scale) {
    int sx = grid.spacing;
    int sy = grid.spacing;
    if (!grid.snapping()) {
        // One unit; a scale below 1 still moves by one pixel.
        sx = std::max(1, clampToIntTrunc(scale.x));
        sy = std::max(1, clampToIntTrunc(scale.y));
    }
    switch (key) {
        case NudgeKey::Left:
            return {-sx, 0};
        case NudgeKey::Right:
            return {sx, 0};
        case NudgeKey::Up:
            return {0, -sy};
        case NudgeKey::Down:
            return {0, sy};
        case NudgeKey::Home:
            return {-sx, -sy};
        case NudgeKey::PageUp:
            return {sx, -sy};
        case NudgeKey::End:
            return {-sx, sy};
        case NudgeKey::PageDown:
            return {sx, sy};
    }
    return {};
}

FormRect alignedTo(const FormRect& r, const FormRect& d, AlignEdge edge) {
    FormRect out = r;
    switch (edge) {
        case AlignEdge::Left:
            out.moveTo(d.left, r.top);
            break;
        case AlignEdge::Right:
            out.moveTo(addClamped(d.right, -r.width()), r.top);
            break;
        case AlignEdge::Top:
            out.moveTo(r.left, d.top);
            break;
        case AlignEdge::Bottom:
            out.moveTo(r.left, addClamped(d.bottom, -r.height()));
            break;
    }
    return out;
}

FormRect sizedLike(const FormRect& r, const FormRect& d, SameSize size) {
    FormRect out = r;
    if (size != SameSize::Height) out.right = addClamped(r.left, d.width());
    if (size != SameSize::Width) out.bottom = addClamped(r.top, d.height());
    return out;
}

FormRect centredIn(const FormRect& r, int formPixelWidth, int formPixelHeight, Axis axis) {
    FormRect out = r;
    if (axis == Axis::Horizontal)
        out.moveTo(formPixelWidth / 2 - r.width() / 2, r.top);
    else
        out.moveTo(r.left, formPixelHeight / 2 - r.height() / 2);
    return out;
}

std::vector<FormRect> spacedEvenly(std::vector<FormRect> rects, Axis axis) {
    const std::size_t n = rects.size();
    if (n < 3) return rects;
    const bool across = axis == Axis::Horizontal;
    auto start = [&](const FormRect& r) -> long long { return across ? r.left : r.top; };
    auto end = [&](const FormRect& r) -> long long { return across ? r.right : r.bottom; };
    long long total = 0;
    for (const FormRect& r : rects) total += end(r) - start(r);
    const long long gap = (end(rects.back()) - start(rects.front()) - total) / static_cast<long long>(n - 1);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const int from = clampToInt(end(rects[i - 1]) + gap);
        if (across)
            rects[i].moveTo(from, rects[i].top);
        else
            rects[i].moveTo(rects[i].left, from);
    }
    return rects;
}

}  // namespace varn
