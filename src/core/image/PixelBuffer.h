// The 24-bit working surface of the image editor: a plain width × height
// array of colours, top row first. Drawing, undo and clipboard exchange all
// work on it; the stored bitmap of an image is refreshed from it by a capture.
#pragma once

#include <cstddef>
#include <vector>

#include "image/Rgb.h"

namespace varn {

class PixelBuffer {
public:
    PixelBuffer() = default;
    // Negative sizes count as 0.
    PixelBuffer(int width, int height, Rgb fill = kWhite);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Unchecked access; (x, y) must lie inside.
    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, Rgb c) { pixels_[index(x, y)] = c; }
    // Checked: outside points read as white and are not written.
    Rgb pixel(int x, int y) const { return contains(x, y) ? at(x, y) : kWhite; }
    void plot(int x, int y, Rgb c) {
        if (contains(x, y)) set(x, y, c);
    }

    // The pixels of row y (inside), left to right.
    Rgb* row(int y) { return pixels_.data() + index(0, y); }
    const Rgb* row(int y) const { return pixels_.data() + index(0, y); }

    void fill(Rgb c);
    // Fills the rectangle clipped to the buffer.
    void fillRect(int x, int y, int w, int h, Rgb c);

    // The part of the rectangle that lies inside the buffer, as a new buffer.
    PixelBuffer region(int x, int y, int w, int h) const;
    // Copies src onto this buffer with its top-left corner at (x, y), clipped.
    void draw(const PixelBuffer& src, int x, int y);
    // The whole buffer scaled to w × h by dropping or repeating rows and
    // columns (nearest pixel, no blending).
    PixelBuffer stretched(int w, int h) const;

    friend bool operator==(const PixelBuffer&, const PixelBuffer&) = default;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

}  // namespace varn
