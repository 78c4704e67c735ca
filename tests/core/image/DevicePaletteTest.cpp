// The Palm OS system palette entry by entry where its layout is known, and the
// snapping of arbitrary colours to it.

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
                             // first entries of the cube: green varies fastest, then blue
                             Entry{0, 0xFFFFFF}, Entry{1, 0xFFCCFF}, Entry{5, 0xFF00FF}, Entry{6, 0xFFFFCC},
                             Entry{18, 0xCCFFFF},
                             // the colour bar's twenty cells
                             Entry{161, 0x990000}, Entry{212, 0x009900}, Entry{158, 0x999900}, Entry{107, 0x000099},
                             Entry{53, 0x990099}, Entry{104, 0x009999}, Entry{25, 0xCCCCCC}, Entry{24, 0xCCFFCC},
                             Entry{37, 0x99CCFF}, Entry{50, 0x999999}, Entry{165, 0x666666}, Entry{125, 0xFF0000},
                             Entry{210, 0x00FF00}, Entry{120, 0xFFFF00}, Entry{95, 0x0000FF}, Entry{90, 0x00FFFF},
                             Entry{255, 0x000000},
                             // the second half starts with blue 66 and ends one short of black
                             Entry{108, 0xFFFF66}, Entry{214, 0x003300},
                             // greys and the extra colours
                             Entry{215, 0x111111}, Entry{216, 0x222222}, Entry{217, 0x444444}, Entry{218, 0x555555},
                             Entry{219, 0x777777}, Entry{220, 0x888888}, Entry{221, 0xAAAAAA}, Entry{222, 0xBBBBBB},
                             Entry{223, 0xDDDDDD}, Entry{224, 0xEEEEEE}, Entry{225, 0xC0C0C0}, Entry{226, 0x800000},
                             Entry{227, 0x800080}, Entry{228, 0x008000}, Entry{229, 0x008080}, Entry{230, 0x000000}));

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
