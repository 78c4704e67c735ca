// Ties in the cell lookup; its agreement with the full scan is checked by
// fuzz/fuzz_nearest_palette.cpp.
#include <gtest/gtest.h>

#include "image/DevicePalette.h"
#include "image/NearestPaletteIndex.h"

using namespace varn;

TEST(NearestPaletteIndex, TiesGoToTheLowestIndex) {
    std::array<Rgb, 256> entries;
    entries.fill(Rgb{200, 200, 200});
    entries[7] = Rgb{10, 10, 10};
    entries[3] = Rgb{30, 10, 10};  // as near to (20, 10, 10) as entry 7
    NearestPaletteIndex lookup(entries);
    EXPECT_EQ(lookup(Rgb{20, 10, 10}), 3);
    EXPECT_EQ(lookup(Rgb{250, 250, 250}), 0);  // 250 entries alike: the first
}
