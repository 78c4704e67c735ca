// Sizes of the parts of an image block: row stride, colour table and stored
// bitmap, all derived from width, height and bits per pixel. Computed in
// 64 bits so that the unchecked fields of a broken file cannot overflow.
#pragma once

#include <cstdint>

namespace varn {

inline constexpr int kMaxImageDimension = 1000;
inline constexpr int kBlockHeaderBytes = 14;  // "BM", block size, reserved, pixel offset
inline constexpr int kInfoHeaderBytes = 40;
inline constexpr std::uint16_t kBlockSignature = 0x4D42;  // "BM"

inline constexpr bool isImageDepth(std::int64_t bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24; }

// Bytes per pixel row, padded to a multiple of 4.
inline constexpr std::int64_t rowStride(std::int64_t width, std::int64_t bpp) { return ((width * bpp + 31) / 32) * 4; }

// The colour table always holds the full 2^bpp entries of 4 bytes; 24-bit images have none.
inline constexpr std::int64_t colourTableBytes(std::int64_t bpp) {
    return bpp == 24 ? 0 : 4 * (std::int64_t{1} << bpp);
}

inline constexpr std::int64_t pixelBytes(std::int64_t width, std::int64_t height, std::int64_t bpp) {
    return rowStride(width, bpp) * height;
}

// Information header + colour table + pixel rows.
inline constexpr std::int64_t storedBitmapSize(std::int64_t width, std::int64_t height, std::int64_t bpp) {
    return kInfoHeaderBytes + colourTableBytes(bpp) + pixelBytes(width, height, bpp);
}

// Offset of the pixel rows from the start of a block.
inline constexpr std::int64_t pixelOffset(std::int64_t bpp) {
    return kBlockHeaderBytes + kInfoHeaderBytes + colourTableBytes(bpp);
}

}  // namespace varn
