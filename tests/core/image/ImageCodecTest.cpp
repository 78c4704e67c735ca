// Capture and load round trips at each depth: what the working surface looks
// like after its pixels went through a stored bitmap of 1, 4, 8 or 24 bits,
// cross-checked with netpbm's bmptopnm reading the same bytes.

#include <gtest/gtest.h>

#include "ImageTestSupport.h"
#include "TestSupport.h"
#include "image/DevicePalette.h"
#include "image/ImageBlockWriter.h"
#include "image/ImageCodec.h"

namespace varn {
namespace {

std::vector<std::uint8_t> storedWithTable(int depth, const std::vector<Rgb>& table) {
    // A stored bitmap as a loaded file would have it: only the table matters here.
    ImageDescriptor d{1, 1, depth};
    std::vector<std::uint8_t> stored(static_cast<std::size_t>(d.storedSize()), 0);
    for (std::size_t i = 0; i < table.size(); ++i) {
        stored[40 + 4 * i] = table[i].b;
        stored[40 + 4 * i + 1] = table[i].g;
        stored[40 + 4 * i + 2] = table[i].r;
    }
    return stored;
}

std::vector<Rgb> greyRamp(int entries) {
    std::vector<Rgb> t;
    for (int i = 0; i < entries; ++i) {
        auto v = static_cast<std::uint8_t>(i * 255 / (entries - 1));
        t.push_back({v, v, v});
    }
    return t;
}

struct RoundTrip {
    std::string name;
    int depth;
    int width, height;
    std::vector<Rgb> previousTable;  // empty: the record had no stored bitmap
    std::vector<Rgb> in;             // colours drawn, cycled over the pixels
    std::vector<Rgb> out;            // the colour each one comes back as
};

void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

std::vector<RoundTrip> roundTrips() {
    const Rgb red{0xFF, 0, 0}, teal{0, 0x80, 0x80}, odd{0x12, 0x34, 0x56};
    const std::vector<Rgb> vivid = {red, teal, odd, kBlack, kWhite, {1, 2, 3}};
    return {
        {"colour_1x1", 24, 1, 1, {}, vivid, vivid},
        {"colour_padded_rows", 24, 3, 5, {}, vivid, vivid},
        {"colour_wide", 24, 33, 2, {}, vivid, vivid},
        {"mono_black_white", 1, 9, 3, {}, {kBlack, kWhite}, {kBlack, kWhite}},
        {"mono_nearest",
         1,
         33,
         4,
         {},
         {{0x40, 0x40, 0x40}, {0xC0, 0xC0, 0xC0}, red, {0x80, 0x80, 0x80}, {0x7F, 0x7F, 0x7F}},
         {kBlack, kWhite, kBlack, kWhite, kBlack}},
        // A loaded monochrome image with an inverted table is written back black, white.
        {"mono_inverted_table", 1, 8, 1, {kWhite, kBlack}, {kBlack, kWhite}, {kBlack, kWhite}},
        {"palette_colours_kept",
         8,
         7,
         3,
         {},
         {DevicePalette::palm().entry(0), DevicePalette::palm().entry(161), DevicePalette::palm().entry(229)},
         {DevicePalette::palm().entry(0), DevicePalette::palm().entry(161), DevicePalette::palm().entry(229)}},
        {"palette_nearest",
         8,
         5,
         2,
         {},
         {{0x10, 0x10, 0x10}, {0xFE, 0x01, 0x02}, odd},
         {Rgb::fromHex(0x111111), Rgb::fromHex(0xFF0000), Rgb::fromHex(0x003366)}},
        {"own_256_table", 8, 4, 4, greyRamp(256), {{100, 100, 100}, {100, 0, 200}}, {{100, 100, 100}, {100, 100, 100}}},
        {"own_16_table",
         4,
         5,
         3,
         greyRamp(16),
         {kWhite, kBlack, {0x88, 0x88, 0x88}, {0x80, 0x90, 0x80}},
         {kWhite, kBlack, {0x88, 0x88, 0x88}, {0x88, 0x88, 0x88}}},
        {"default_16_table",
         4,
         3,
         3,
         {},
         {red, teal, {0xF0, 0x10, 0x10}, {0xC0, 0xC0, 0xC0}},
         {red, teal, red, {0xC0, 0xC0, 0xC0}}},
    };
}

class ImageCodecRoundTrip : public ::testing::TestWithParam<RoundTrip> {
protected:
    ImageRecord capture() const {
        const RoundTrip& c = GetParam();
        ImageRecord r{{c.width, c.height, c.depth}, {}};
        std::vector<std::uint8_t> previous;
        if (!c.previousTable.empty()) previous = storedWithTable(c.depth, c.previousTable);
        r.stored = encodeImage(test::patternSurface(c.width, c.height, c.in), r.descriptor, previous);
        return r;
    }
};

TEST_P(ImageCodecRoundTrip, ComesBackAsTheNearestStoredColour) {
    const RoundTrip& c = GetParam();
    ImageRecord r = capture();
    ASSERT_EQ(r.stored.size(), static_cast<std::size_t>(r.descriptor.storedSize()));
    EXPECT_TRUE(decodeImage(r) == test::patternSurface(c.width, c.height, c.out));
}

TEST_P(ImageCodecRoundTrip, BmptopnmSeesTheSamePixels) {
    if (!test::haveBmptopnm()) GTEST_SKIP() << "netpbm is not installed";
    const RoundTrip& c = GetParam();
    test::TempDir dir;
    test::writeBytes(dir.file("one.bmp"), encodeImageFile({capture()}));
    EXPECT_TRUE(test::bmptopnmSees(dir.file("one.bmp"), test::patternSurface(c.width, c.height, c.out)));
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageCodecRoundTrip, ::testing::ValuesIn(roundTrips()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace varn
