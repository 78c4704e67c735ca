// Bitmap data lines checked against records worked out by hand.
#include <gtest/gtest.h>

#include "build/BitmapDataLine.h"
#include "image/DevicePalette.h"

using namespace varn;

TEST(BitmapDataLine, MonochromeRecordByHand) {
    // 3 × 2: row 0 black, white, black; row 1 all white. Row bytes 2 (one 16-bit word).
    PixelBuffer p(3, 2, kWhite);
    p.set(0, 0, kBlack);
    p.set(2, 0, kBlack);
    BitmapDataLine d;
    int t = DevicePalette::palm().nearestIndex(Rgb{0, 128, 128});
    std::vector<std::uint8_t> expected = {0, 3, 0, 2, 0, 2, 0, 0, 1, 2, 0, 0, static_cast<std::uint8_t>(t), 0, 0, 0,
                                          0xA0, 0, 0, 0};
    EXPECT_EQ(d.monochromeRecord(p), expected);
}

TEST(BitmapDataLine, ColourThenMonochromeLine) {
    // 1 × 1 colour pixel of pure red, then a 1 × 1 black monochrome image.
    BitmapDataLine d;
    const DevicePalette& pal = DevicePalette::palm();
    int red = pal.nearestIndex(Rgb{255, 0, 0});
    int t = pal.nearestIndex(Rgb{0, 128, 128});
    ASSERT_EQ(pal.entry(red), (Rgb{255, 0, 0}));
    BitmapDataLine::Images images;
    images.colour = PixelBuffer(1, 1, Rgb{255, 0, 0});
    images.monochrome = PixelBuffer(1, 1, kBlack);
    // Colour: header 16 bytes, one row of 2 bytes, padded to 20; next offset (2*1+3)/4+4 = 5.
    std::string colour = "0,1,0,1,0,2,32,0,8,2,0,5," + std::to_string(t) + ",0,0,0," + std::to_string(red) + ",0,0,0,";
    std::string mono = "0,1,0,1,0,2,0,0,1,2,0,0," + std::to_string(t) + ",0,0,0,128,0,0,0,";
    EXPECT_EQ(d.encode(images), "[000041]=$" + colour + mono + "0");
}

TEST(BitmapDataLine, MissingImagesGiveTheEmptyLine) {
    BitmapDataLine d;
    EXPECT_EQ(d.encode({}), "[000001]=$0");
    EXPECT_EQ(d.encode(BitmapDataLine::load("/nonexistent/x.vbm")), "[000001]=$0");
}

TEST(BitmapDataLine, ScalingRules) {
    BitmapDataLine::Images images;
    images.colour = PixelBuffer(32, 22);
    images.monochrome = PixelBuffer(15, 9);
    auto half = BitmapDataLine::scaled(images, 80, 160, 80, 160);
    EXPECT_EQ(half.colour->width(), 16);
    EXPECT_EQ(half.colour->height(), 11);
    EXPECT_EQ(half.monochrome->width(), 7);
    auto tiny = BitmapDataLine::scaled(images, 160, 320 * 100, 160, 240 * 100);
    EXPECT_EQ(tiny.colour->width(), 1);  // below 1 becomes 1
    EXPECT_EQ(tiny.colour->height(), 1);
    auto wide = BitmapDataLine::scaled(images, 320, 160, 320, 240);
    EXPECT_EQ(wide.colour->width(), 64);
    EXPECT_EQ(wide.colour->height(), 29);
}
