#include "image/PixelBuffer.h"

#include <algorithm>

namespace varn {

PixelBuffer::PixelBuffer(int width, int height, Rgb fill) : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    if (width_ == 0 || height_ == 0) width_ = height_ = 0;
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill);
}

void PixelBuffer::fill(Rgb c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void PixelBuffer::fillRect(int x, int y, int w, int h, Rgb c) {
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min<long long>(static_cast<long long>(x) + w, width_);
    int y1 = std::min<long long>(static_cast<long long>(y) + h, height_);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) set(xx, yy, c);
}

PixelBuffer PixelBuffer::region(int x, int y, int w, int h) const {
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min<long long>(static_cast<long long>(x) + w, width_);
    int y1 = std::min<long long>(static_cast<long long>(y) + h, height_);
    if (x1 <= x0 || y1 <= y0) return {};
    PixelBuffer out(x1 - x0, y1 - y0);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) out.set(xx - x0, yy - y0, at(xx, yy));
    return out;
}

void PixelBuffer::draw(const PixelBuffer& src, int x, int y) {
    for (int sy = 0; sy < src.height(); ++sy) {
        long long dy = static_cast<long long>(y) + sy;
        if (dy < 0 || dy >= height_) continue;
        for (int sx = 0; sx < src.width(); ++sx) {
            long long dx = static_cast<long long>(x) + sx;
            if (dx < 0 || dx >= width_) continue;
            set(static_cast<int>(dx), static_cast<int>(dy), src.at(sx, sy));
        }
    }
}

PixelBuffer PixelBuffer::stretched(int w, int h) const {
    if (empty() || w <= 0 || h <= 0) return PixelBuffer(w, h);
    PixelBuffer out(w, h);
    for (int dy = 0; dy < h; ++dy) {
        int sy = static_cast<int>(static_cast<long long>(dy) * height_ / h);
        for (int dx = 0; dx < w; ++dx) {
            int sx = static_cast<int>(static_cast<long long>(dx) * width_ / w);
            out.set(dx, dy, at(sx, sy));
        }
    }
    return out;
}

}  // namespace varn
