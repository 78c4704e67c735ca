// The cell lookup gives exactly the full scan's answer.
#include <gtest/gtest.h>

#include "image/DevicePalette.h"
#include "image/NearestPaletteIndex.h"

using namespace varn;

TEST(NearestPaletteIndex, AgreesWithTheFullScanEverywhere) {
    const DevicePalette& palette = DevicePalette::palm();
    NearestPaletteIndex lookup(palette.entries());
    // Every colour on a grid of step 3 (about 600,000 colours), cell edges included.
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 3)
            for (int b = 0; b < 256; b += 3) {
                Rgb c{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
                ASSERT_EQ(lookup(c), palette.nearestIndex(c)) << r << "," << g << "," << b;
            }
}

TEST(NearestPaletteIndex, TiesGoToTheLowestIndex) {
    std::array<Rgb, 256> entries;
    entries.fill(Rgb{200, 200, 200});
    entries[7] = Rgb{10, 10, 10};
    entries[3] = Rgb{30, 10, 10};  // as near to (20, 10, 10) as entry 7
    NearestPaletteIndex lookup(entries);
    EXPECT_EQ(lookup(Rgb{20, 10, 10}), 3);
    EXPECT_EQ(lookup(Rgb{250, 250, 250}), 0);  // 250 entries alike: the first
}
