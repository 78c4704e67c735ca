// One image of an image document: its descriptor (size and depth) and its
// stored bitmap, the bytes of one image block from the information header on
// (header, full colour table, bottom-up pixel rows).
#pragma once

#include <cstdint>
#include <vector>

#include "image/ImageGeometry.h"

namespace varn {

struct ImageDescriptor {
    int width = 0;
    int height = 0;
    int depth = 24;  // 1, 4, 8 or 24

    bool inRange() const {
        return width >= 1 && width <= kMaxImageDimension && height >= 1 && height <= kMaxImageDimension;
    }
    std::int64_t stride() const { return rowStride(width, depth); }
    std::int64_t tableBytes() const { return colourTableBytes(depth); }
    std::int64_t storedSize() const { return storedBitmapSize(width, height, depth); }

    friend bool operator==(const ImageDescriptor&, const ImageDescriptor&) = default;
};

struct ImageRecord {
    ImageDescriptor descriptor;
    // Empty until the image is first captured; else exactly descriptor.storedSize() bytes.
    std::vector<std::uint8_t> stored;

    int width() const { return descriptor.width; }
    int height() const { return descriptor.height; }
    int depth() const { return descriptor.depth; }
    bool isMonochrome() const { return descriptor.depth == 1; }
};

}  // namespace varn
