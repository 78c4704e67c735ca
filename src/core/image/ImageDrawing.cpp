#include "image/ImageDrawing.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace varn {

namespace {

struct Box {
    int left, top, right, bottom;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Box ordered(PixelPoint a, PixelPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Whether the centre of pixel (x, y) lies inside the ellipse inscribed in the
// box; computed in integers scaled by 2 so that even and odd sizes stay exact.
bool insideEllipse(const Box& b, int x, int y) {
    const long long w = b.width(), h = b.height();
    const long long dx = 2LL * (x - b.left) + 1 - w;  // 2·(centre distance)
    const long long dy = 2LL * (y - b.top) + 1 - h;
    // (dx/w)² + (dy/h)² ≤ 1
    return dx * dx * h * h + dy * dy * w * w <= w * w * h * h;
}

}  // namespace

void plotSquare(PixelBuffer& surface, PixelPoint p, int n, Rgb c) {
    if (!surface.contains(p.x, p.y)) return;
    surface.fillRect(p.x - n / 2, p.y - n / 2, n, n, c);
}

std::vector<PixelPoint> linePixels(PixelPoint from, PixelPoint to) {
    const int dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
    const int sx = to.x < from.x ? -1 : 1, sy = to.y < from.y ? -1 : 1;
    const bool xMajor = dx >= dy;
    const int major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    std::vector<PixelPoint> out;
    out.reserve(static_cast<std::size_t>(major) + 1);
    PixelPoint p = from;
    out.push_back(p);
    int error = 2 * minor - major;
    for (int i = 0; i < major; ++i) {
        if (error >= 0) {
            (xMajor ? p.y : p.x) += xMajor ? sy : sx;
            error += 2 * (minor - major);
        } else {
            error += 2 * minor;
        }
        (xMajor ? p.x : p.y) += xMajor ? sx : sy;
        out.push_back(p);
    }
    return out;
}

void plotLine(PixelBuffer& surface, PixelPoint from, PixelPoint to, int n, Rgb c) {
    for (PixelPoint p : linePixels(from, to)) plotSquare(surface, p, n, c);
}

void drawLine(PixelBuffer& surface, PixelPoint from, PixelPoint to, Rgb c) {
    for (PixelPoint p : linePixels(from, to)) surface.plot(p.x, p.y, c);
}

void drawRectangle(PixelBuffer& surface, PixelPoint a, PixelPoint b, Rgb c, bool solid) {
    const Box r = ordered(a, b);
    if (solid) {
        surface.fillRect(r.left, r.top, r.width(), r.height(), c);
        return;
    }
    surface.fillRect(r.left, r.top, r.width(), 1, c);
    surface.fillRect(r.left, r.bottom, r.width(), 1, c);
    surface.fillRect(r.left, r.top, 1, r.height(), c);
    surface.fillRect(r.right, r.top, 1, r.height(), c);
}

void drawEllipse(PixelBuffer& surface, PixelPoint a, PixelPoint b, Rgb c, bool solid) {
    const Box r = ordered(a, b);
    // Only the rows and columns on the surface are visited.
    const int y0 = std::max(r.top, 0), y1 = std::min(r.bottom, surface.height() - 1);
    const int x0 = std::max(r.left, 0), x1 = std::min(r.right, surface.width() - 1);
    auto inside = [&](int x, int y) {
        return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom && insideEllipse(r, x, y);
    };
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            if (!inside(x, y)) continue;
            // The outline: inside pixels with a neighbour outside the ellipse.
            if (solid || !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1))
                surface.set(x, y, c);
        }
}

bool floodFill(PixelBuffer& surface, PixelPoint seed, Rgb c) {
    if (!surface.contains(seed.x, seed.y)) return false;
    const Rgb target = surface.at(seed.x, seed.y);
    if (target == c) return true;
    const int w = surface.width(), h = surface.height();
    // Scan-line fill: each popped point paints its whole run on the row and
    // queues one point for every run of the target colour above and below it.
    std::vector<PixelPoint> stack{seed};
    while (!stack.empty()) {
        PixelPoint p = stack.back();
        stack.pop_back();
        Rgb* row = surface.row(p.y);
        if (row[p.x] != target) continue;
        int left = p.x, right = p.x;
        while (left > 0 && row[left - 1] == target) --left;
        while (right < w - 1 && row[right + 1] == target) ++right;
        std::fill(row + left, row + right + 1, c);
        for (int ny : {p.y - 1, p.y + 1}) {
            if (ny < 0 || ny >= h) continue;
            const Rgb* next = surface.row(ny);
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool match = next[x] == target;
                if (match && !inRun) stack.push_back({x, ny});
                inRun = match;
            }
        }
    }
    return true;
}

}  // namespace varn
