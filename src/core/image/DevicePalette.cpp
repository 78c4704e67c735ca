#include "image/DevicePalette.h"

namespace varn {

namespace {

constexpr std::uint8_t kLevels[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};

}  // namespace

DevicePalette::DevicePalette() {
    // 0..214: the colour cube, red outermost, then blue, green innermost; the
    // first half takes blue from FF, CC, 99, the second from 66, 33, 00. The
    // cube's last colour (black) is left out.
    std::size_t n = 0;
    for (int half = 0; half < 2; ++half)
        for (std::uint8_t r : kLevels)
            for (int bi = 0; bi < 3; ++bi)
                for (std::uint8_t g : kLevels) {
                    std::uint8_t b = kLevels[half * 3 + bi];
                    if (n < 215) entries_[n++] = Rgb{r, g, b};
                }
    const std::uint32_t rest[] = {0x111111, 0x222222, 0x444444, 0x555555, 0x777777, 0x888888, 0xAAAAAA, 0xBBBBBB,
                                  0xDDDDDD, 0xEEEEEE, 0xC0C0C0, 0x800000, 0x800080, 0x008000, 0x008080};
    for (std::uint32_t hex : rest) entries_[n++] = Rgb::fromHex(hex);
    while (n < kSize) entries_[n++] = kBlack;
}

const DevicePalette& DevicePalette::palm() {
    static const DevicePalette palette;
    return palette;
}

int DevicePalette::nearestIndex(Rgb c) const {
    int best = 0;
    int bestDistance = colourDistance(c, entries_[0]);
    for (int i = 1; i < kSize && bestDistance > 0; ++i) {
        int d = colourDistance(c, entries_[static_cast<std::size_t>(i)]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace varn
