// An image file rendered as the text the compiler reads from the option file:
// "[nnnnnn]=$" and the colour and monochrome images as PalmOS BitmapType
// version 2 records, every byte in decimal followed by ",", then a final "0".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "image/NearestPaletteIndex.h"
#include "image/PixelBuffer.h"

namespace varn {

class BitmapDataLine {
public:
    // The images of a file, each drawn at the requested size before encoding.
    struct Images {
        std::optional<PixelBuffer> colour;
        std::optional<PixelBuffer> monochrome;
    };

    // Reads the colour (more than 1 bit) and monochrome image of a .vbm/.vic
    // file; an unreadable file gives neither.
    static Images load(const std::string& path);
    // Each image drawn at its size times numerator / denominator (sizes below 1 become 1).
    static Images scaled(const Images& images, int numeratorX, int denominatorX, int numeratorY, int denominatorY);

    // The whole data line for the images.
    std::string encode(const Images& images);
    // The record bytes of one image (header, rows, padding to 4 bytes).
    std::vector<std::uint8_t> colourRecord(const PixelBuffer& image, bool monochromeFollows);
    std::vector<std::uint8_t> monochromeRecord(const PixelBuffer& image);

    BitmapDataLine();

    // Index of the nearest system palette entry.
    std::uint8_t paletteIndex(Rgb c) { return nearest_(c); }
    std::uint8_t transparentIndex();

private:
    NearestPaletteIndex nearest_;
};

}  // namespace varn
