// The .ico reader: image selection against icotool's files, and every broken
// header with its message.

#include <gtest/gtest.h>

#include "IconTestSupport.h"
#include "app/RecordingUi.h"
#include "installer/IconFile.h"

namespace varn::install {
namespace {

using test::le16;
using test::le32;
using test::setLe16;
using test::setLe32;

// A hand-made icon file: header and entries, then the images back to back.
struct IcoImage {
    int side;
    int bitCount;
    std::size_t size;  // bytes of the image (at least 40)
};

std::string handMadeIco(const std::vector<IcoImage>& images) {
    std::string b(6, '\0');
    setLe16(b, 2, 1);
    setLe16(b, 4, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    std::string data;
    for (const IcoImage& im : images) {
        std::string e(16, '\0');
        e[0] = static_cast<char>(im.side);
        e[1] = static_cast<char>(im.side);
        setLe16(e, 4, 1);
        setLe16(e, 6, static_cast<std::uint32_t>(im.bitCount));
        setLe32(e, 8, static_cast<std::uint32_t>(im.size));
        setLe32(e, 12, offset);
        b += e;
        std::string dib(im.size, static_cast<char>(0x5a));
        if (im.size >= 40) {
            setLe32(dib, 0, 40);
            setLe32(dib, 4, static_cast<std::uint32_t>(im.side));
            setLe32(dib, 8, static_cast<std::uint32_t>(im.side * 2));
            setLe16(dib, 12, 1);
            setLe16(dib, 14, static_cast<std::uint32_t>(im.bitCount));
        }
        data += dib;
        offset += static_cast<std::uint32_t>(im.size);
    }
    return b + data;
}

struct Read {
    std::optional<std::string> image;
    std::vector<std::string> messages;
};

Read readBytes(const std::string& bytes, bool small) {
    RecordingUi ui;
    Read r;
    r.image = readIconImageFromBytes(ui, bytes, small);
    r.messages = ui.texts();
    for (const Message& m : ui.messages) EXPECT_EQ(m.icon, MsgIcon::Error);
    return r;
}

TEST(IconFile, PicksBothSizesOfAnIcotoolFile) {
    VARN_NEED_TOOLS("icotool", "pnmtopng");
    test::TempDir dir;
    std::string path = test::makeIco(dir, "app.ico",
                                     {test::makePng(dir, 48, 1), test::makePng(dir, 16, 2), test::makePng(dir, 32, 3)}, 8);
    std::string ico = test::readBytes(path);
    RecordingUi ui;
    auto large = readIconImage(ui, path, false);
    auto small = readIconImage(ui, path, true);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(large && small);
    EXPECT_EQ(*large, test::icoImage(ico, 32));
    EXPECT_EQ(*small, test::icoImage(ico, 16));
    EXPECT_EQ(le32(*large, 4), 32u);
    EXPECT_EQ(le32(*small, 4), 16u);
    EXPECT_EQ(le16(*large, 14), 8u);
}

TEST(IconFile, TakesTheFirstImageOfTheSize) {
    std::string b = handMadeIco({{16, 4, 60}, {32, 4, 70}, {32, 8, 80}, {16, 1, 90}});
    Read r = readBytes(b, false);
    ASSERT_TRUE(r.image);
    EXPECT_EQ(r.image->size(), 70u);
    EXPECT_EQ(*r.image, b.substr(6 + 64 + 60, 70));
    r = readBytes(b, true);
    ASSERT_TRUE(r.image);
    EXPECT_EQ(*r.image, b.substr(6 + 64, 60));
}

// Hand-made files: the image taken, or none with the reader's one message.
TEST(IconFile, HeadersDescriptorsAndDepths) {
    const std::string good = handMadeIco({{32, 4, 100}});
    auto withHeader = [&](unsigned reserved, unsigned type, unsigned count) {
        std::string b = good;
        setLe16(b, 0, reserved);
        setLe16(b, 2, type);
        setLe16(b, 4, count);
        return b;
    };
    std::string oneOfThree = handMadeIco({{16, 4, 50}, {32, 4, 50}}).substr(0, 22);
    setLe16(oneOfThree, 4, 3);
    const std::string kHeader = "Invalid icon header", kColours = "Icons must use 256 or less colors",
                      kShort = "Could not read icon header", kDescriptors = "Could not read icon descriptors",
                      kDib = "Could not read icon DIB";
    const struct {
        std::string bytes;
        bool small, found;
        std::string message;  // "" for none
    } cases[] = {
        {handMadeIco({{32, 8, 40 + 1024 + 1024 + 128}}), false, true, ""},
        {handMadeIco({{32, 24, 40 + 32 * 32 * 3 + 128}}), false, false, kColours},
        {handMadeIco({{32, 9, 100}}), false, false, kColours},
        {handMadeIco({{48, 8, 100}}), false, false, ""},  // only a larger image: none, silently
        {handMadeIco({{48, 8, 100}}), true, false, ""},
        {handMadeIco(std::vector<IcoImage>(64, IcoImage{32, 4, 40})), false, true, ""},  // the most a file holds
        {std::string(), false, false, kShort},
        {std::string("\0\0\1\0\1", 5), false, false, kShort},
        {withHeader(1, 1, 1), false, false, kHeader},
        {withHeader(0, 2, 1), false, false, kHeader},
        {withHeader(0, 0, 1), false, false, kHeader},
        {withHeader(0, 1, 0), false, false, kHeader},
        {withHeader(0, 1, 65), false, false, kHeader},
        {withHeader(0xffff, 1, 1), false, false, kHeader},
        {handMadeIco({{16, 4, 50}, {32, 4, 50}}).substr(0, 6 + 16 + 15), false, false, kDescriptors},
        {oneOfThree, true, false, kDescriptors},
        {handMadeIco({{32, 4, 12}}), false, false, kDib},
        {handMadeIco({{32, 4, 0}}), false, false, kDib},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Read r = readBytes(cases[i].bytes, cases[i].small);
        EXPECT_EQ(r.image.has_value(), cases[i].found) << i;
        EXPECT_EQ(r.messages, cases[i].message.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{cases[i].message})
            << i;
    }
}

TEST(IconFile, DescriptorsMustTileTheFile) {
    const std::string good = handMadeIco({{16, 4, 60}, {32, 4, 70}});
    const std::string overlap = "Icon descriptors overlap";
    std::vector<std::string> broken;
    // A gap between the two images.
    std::string gap = good.substr(0, 6 + 32 + 60) + std::string(4, '\0') + good.substr(6 + 32 + 60);
    setLe32(gap, 6 + 16 + 12, le32(gap, 6 + 16 + 12) + 4);
    broken.push_back(gap);
    // A gap after the directory.
    std::string late = good + std::string(2, '\0');
    setLe32(late, 6 + 12, le32(late, 6 + 12) + 1);
    setLe32(late, 6 + 16 + 12, le32(late, 6 + 16 + 12) + 1);
    broken.push_back(late);
    // The images out of entry order.
    std::string swapped = good;
    setLe32(swapped, 6 + 12, 6 + 32 + 70);
    setLe32(swapped, 6 + 16 + 12, 6 + 32);
    broken.push_back(swapped);
    // The second image overlapping the first.
    std::string overlapping = good;
    setLe32(overlapping, 6 + 16 + 12, 6 + 32 + 30);
    broken.push_back(overlapping);
    // The last image running past the end of the file.
    broken.push_back(good.substr(0, good.size() - 1));
    // Sizes that wrap around 32 bits.
    std::string wrap = good;
    setLe32(wrap, 6 + 8, 0xffffffffu);
    broken.push_back(wrap);
    for (std::size_t i = 0; i < broken.size(); ++i) {
        Read r = readBytes(broken[i], false);
        EXPECT_FALSE(r.image) << i;
        EXPECT_EQ(r.messages, std::vector<std::string>{overlap}) << i;
    }
    // Bytes after the last image are allowed.
    EXPECT_TRUE(readBytes(good + "trailing", false).image);
}

TEST(IconFile, UnreadableFileGivesNoneSilently) {
    test::TempDir dir;
    RecordingUi ui;
    EXPECT_FALSE(readIconImage(ui, dir.file("missing.ico"), false));
    EXPECT_FALSE(readIconImage(ui, dir.path(), false));
    EXPECT_TRUE(ui.messages.empty());
    test::writeBytes(dir.file("empty.ico"), "");
    EXPECT_FALSE(readIconImage(ui, dir.file("empty.ico"), false));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Could not read icon header"});
}


}  // namespace
}  // namespace varn::install
