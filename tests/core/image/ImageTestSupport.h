// Helpers of the image tests: pixel patterns, and the reading of the output of
// netpbm's bmptopnm, the independent BMP reader.
#pragma once

#include <cctype>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "ImageFiles.h"
#include "image/PixelBuffer.h"
#include "image/Rgb.h"

namespace varn::test {

// A surface whose pixels are all different where the palette allows.
inline PixelBuffer patternSurface(int w, int h, const std::vector<Rgb>& colours) {
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.set(x, y, colours[static_cast<std::size_t>(x * 7 + y * 3) % colours.size()]);
    return p;
}

// The pixels netpbm's bmptopnm reads from a BMP file, or an error text.
inline std::variant<PixelBuffer, std::string> bmptopnmPixels(const std::string& bmpPath) {
    ProcessOutput out = runCommand("bmptopnm " + shellQuote(bmpPath) + " | pnmtoplainpnm");
    if (out.status != 0) return out.err;
    std::istringstream in(out.out);
    std::string magic;
    int w = 0, h = 0, maxval = 1;
    in >> magic >> w >> h;
    if (magic != "P1") in >> maxval;
    if (!in || (magic != "P1" && maxval != 255)) return "unexpected output: " + out.out.substr(0, 40);
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (magic == "P1") {
                char bit = '0';
                in >> bit;  // bits need not be separated
                p.set(x, y, bit == '1' ? kBlack : kWhite);
                continue;
            }
            int r = 0, g = 0, b = 0;
            in >> r;
            if (magic == "P3")
                in >> g >> b;
            else
                g = b = r;
            p.set(x, y, Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)});
        }
    if (!in) return "short output";
    return p;
}

inline bool haveBmptopnm() { return runCommand("command -v bmptopnm && command -v pnmtoplainpnm").status == 0; }

inline ::testing::AssertionResult bmptopnmSees(const std::string& bmpPath, const PixelBuffer& expected) {
    auto seen = bmptopnmPixels(bmpPath);
    if (auto* error = std::get_if<std::string>(&seen)) return ::testing::AssertionFailure() << *error;
    if (!(std::get<PixelBuffer>(seen) == expected)) return ::testing::AssertionFailure() << "other pixels read";
    return ::testing::AssertionSuccess();
}

}  // namespace varn::test
