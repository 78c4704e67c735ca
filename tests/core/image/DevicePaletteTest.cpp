// The Palm OS system palette's layout at the seams of its parts (the cube,
// its second half, the greys and extras), and the snapping of colours to it.

#include <gtest/gtest.h>

#include <set>

#include "image/DevicePalette.h"

namespace varn {
namespace {

struct Entry {
    int index;
    std::uint32_t hex;  // 0xRRGGBB
};

class DevicePaletteEntries : public ::testing::TestWithParam<Entry> {};

TEST_P(DevicePaletteEntries, HoldsItsColour) {
    EXPECT_EQ(DevicePalette::palm().entry(GetParam().index).hex(), GetParam().hex) << "entry " << GetParam().index;
}

INSTANTIATE_TEST_SUITE_P(Layout, DevicePaletteEntries,
                         ::testing::Values(
                             // the cube: green varies fastest, then blue, then red
                             Entry{0, 0xFFFFFF}, Entry{1, 0xFFCCFF}, Entry{6, 0xFFFFCC}, Entry{18, 0xCCFFFF},
                             Entry{125, 0xFF0000},
                             // the second half starts with blue 66 and ends one short of black
                             Entry{108, 0xFFFF66}, Entry{214, 0x003300},
                             // greys and the extra colours
                             Entry{215, 0x111111}, Entry{224, 0xEEEEEE}, Entry{225, 0xC0C0C0}, Entry{229, 0x008080},
                             Entry{230, 0x000000}));

TEST(DevicePalette, FirstTwoHundredThirtyEntriesAreDistinctAndTheRestBlack) {
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 230; ++i) seen.insert(DevicePalette::palm().entry(i).hex());
    EXPECT_EQ(seen.size(), 230u);
    EXPECT_EQ(seen.count(0x000000), 0u);
    for (int i = 230; i < 256; ++i) EXPECT_EQ(DevicePalette::palm().entry(i), kBlack) << i;
}

struct Snap {
    std::uint32_t in;  // 0xRRGGBB
    int index;
};

class DevicePaletteSnapping : public ::testing::TestWithParam<Snap> {};

TEST_P(DevicePaletteSnapping, PicksTheNearestEntry) {
    EXPECT_EQ(DevicePalette::palm().nearestIndex(Rgb::fromHex(GetParam().in)), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Colours, DevicePaletteSnapping,
                         ::testing::Values(Snap{0xFFFFFF, 0}, Snap{0xFEFEFE, 0},
                                           Snap{0x000000, 230},  // first black wins
                                           Snap{0x008080, 229}, Snap{0x017F81, 229}, Snap{0xC1C1C1, 225},
                                           Snap{0xCBCBCB, 25}, Snap{0x810000, 226}, Snap{0x101010, 215},
                                           Snap{0xF00000, 125}, Snap{0x123456, 202}));

TEST(DevicePalette, SnapsPackedProjectColours) {
    // 0x00BBGGRR: red 0xF1, green 0x02, blue 0x03 becomes pure red.
    EXPECT_EQ(DevicePalette::palm().snapPacked(0x000302F1u), 0x000000FFu);
    EXPECT_EQ(DevicePalette::palm().snapPacked(0x00808000u), 0x00808000u);  // 008080 is an entry
}

}  // namespace
}  // namespace varn
