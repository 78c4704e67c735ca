// The block reader over good and broken files: every check, its message and
// icon, in the order they are met, and what is kept of the file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "ImageTestSupport.h"
#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "image/ImageBlockReader.h"
#include "image/ImageCodec.h"

namespace varn {
namespace {

using Block = test::BmpBlock;

struct Shown {
    MsgIcon icon;
    std::string text;
    friend bool operator==(const Shown&, const Shown&) = default;
    friend std::ostream& operator<<(std::ostream& o, const Shown& s) {
        return o << static_cast<int>(s.icon) << ":" << s.text;
    }
};

struct ReaderCase {
    std::string name;
    std::string bytes;
    bool ok;
    std::vector<Shown> messages;
    std::size_t records = 0;
};

void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }

Block with(std::function<void(Block&)> change) {
    Block b;
    change(b);
    return b;
}

const Shown kFormat{MsgIcon::Error, "Bitmap file format error"};
const Shown kBadFile{MsgIcon::Error, "Bad bitmap file"};
const Shown kBadSize{MsgIcon::Error, "Bad bitmap size"};
const Shown kRange{MsgIcon::None, "Width/height must be in the range of 1-1000"};
Shown lengthWrong(int expecting, int read) {
    return {MsgIcon::Warning,
            "File length is wrong. Expecting " + std::to_string(expecting) + " but read " + std::to_string(read) + "."};
}

std::vector<ReaderCase> readerCases() {
    const std::string good = Block{}.bytes();
    const std::string mono = with([](Block& b) {
                                 b.bpp = 1;
                                 b.width = 5;
                                 b.height = 3;
                             }).bytes();
    std::string truncated = with([](Block& b) {
                                b.width = 2;
                                b.height = 2;
                            }).bytes();
    truncated.resize(truncated.size() - 3);
    return {
        {"empty_file", "", true, {}, 0},
        {"one_colour_block", good, true, {}, 1},
        {"colour_then_mono", good + mono, true, {}, 2},
        {"bad_signature", with([](Block& b) { b.signature = 0x4D41; }).bytes(), false, {kFormat}},
        {"header_size_12", with([](Block& b) { b.headerSize = 12; }).bytes(), false, {kBadFile}},
        {"two_planes", with([](Block& b) { b.planes = 2; }).bytes(), false, {kBadFile}},
        {"bpp_16", with([](Block& b) { b.bpp = 16; }).bytes(), false, {kBadFile}},
        {"bpp_32", with([](Block& b) { b.bpp = 32; }).bytes(), false, {kBadFile}},
        {"image_size_off_by_one", with([](Block& b) { b.imageSize = 5; }).bytes(), false, {kBadFile}},
        {"image_size_zero_accepted", with([](Block& b) { b.imageSize = 0; }).bytes(), true, {}, 1},
        {"bad_file_before_bad_size",
         with([](Block& b) {
             b.width = 5000;
             b.planes = 0;
         }).bytes(),
         false,
         {kBadFile}},
        {"width_1000",
         with([](Block& b) {
             b.width = 1000;
             b.bpp = 1;
         }).bytes(),
         true,
         {},
         1},
        {"width_1001", with([](Block& b) { b.width = 1001; }).bytes(), false, {kBadSize}},
        {"width_huge",
         with([](Block& b) {
             b.width = 0x7FFFFFFF;
             b.imageSize = 0;
         }).bytes(),
         false,
         {kBadSize}},
        {"height_zero", with([](Block& b) { b.height = 0; }).bytes(), false, {kRange}},
        {"top_down_rows",
         with([](Block& b) {
             b.height = -1;
             b.imageSize = 0;
             b.pixels = "";
         }).bytes(),
         false,
         {kRange}},
        {"negative_size_overflows",
         with([](Block& b) {
             b.width = b.height = -2021161081;
             b.imageSize = 4;
         }).bytes(),
         false,
         {kBadFile}},
        {"width_most_negative",
         with([](Block& b) {
             b.width = INT32_MIN;
             b.imageSize = 0;
         }).bytes(),
         false,
         {kRange}},
        {"block_size_zero", with([](Block& b) { b.blockSize = 0; }).bytes(), false, {kFormat}},
        {"block_size_past_end", with([](Block& b) { b.blockSize = 0xFFFFFFFF; }).bytes() + "trailing", true, {}, 1},
        // The next block is looked for inside the pixel rows of the first.
        {"block_size_too_small", with([](Block& b) { b.blockSize = 54; }).bytes() + good, false, {kFormat}},
        {"truncated_last_block", good + truncated, true, {lengthWrong(56, 53)}, 2},
        {"truncated_info_header", good.substr(0, 20), false, {lengthWrong(40, 6), kBadFile}},
        {"only_signature", "BM", false, {lengthWrong(14, 2), kFormat}},
        {"garbage_after_block", good + "xyz", false, {lengthWrong(14, 3), kFormat}},
        {"not_an_image", "GIF89a, not a bitmap at all", false, {kFormat}},
        // A short colour table is read as if full: the pixels come from the wrong place.
        {"short_colour_table",
         with([](Block& b) {
             b.bpp = 8;
             b.coloursUsed = 2;
             b.tableEntries = 2;
             b.table = {{0xFF, 0, 0}, {0, 0xFF, 0}};
             b.pixels = std::string("\x01\0\0\0", 4);
         }).bytes(),
         true,
         {lengthWrong(40 + 1024 + 4, 40 + 8 + 4)},
         1},
    };
}

class ImageBlockReaderTable : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ImageBlockReaderTable, GivesItsMessagesInOrder) {
    const ReaderCase& c = GetParam();
    RecordingUi ui;
    MemoryByteSource in(c.bytes);
    auto result = ImageBlockReader(ui).read(in);
    std::vector<Shown> shown;
    for (const Message& m : ui.messages) shown.push_back({m.icon, m.text});
    EXPECT_EQ(shown, c.messages);
    ASSERT_EQ(result.ok(), c.ok);
    if (c.ok) {
        EXPECT_EQ(result->size(), c.records);
    } else {
        EXPECT_EQ(result.error().message, c.messages.back().text);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ImageBlockReaderTable, ::testing::ValuesIn(readerCases()),
                         [](const auto& info) { return info.param.name; });

TEST(ImageBlockReader, TruncatedBlockKeepsWhatWasReadAndZeroFillsTheRest) {
    std::string bytes = with([](Block& b) {
                            b.width = 2;
                            b.height = 2;
                            b.pixels = std::string(16, '\x7F');
                        }).bytes();
    bytes.resize(bytes.size() - 3);
    RecordingUi ui;
    MemoryByteSource in(bytes);
    auto result = ImageBlockReader(ui).read(in);
    ASSERT_TRUE(result.ok());
    const std::vector<std::uint8_t>& stored = result->front().stored;
    ASSERT_EQ(stored.size(), 56u);
    EXPECT_EQ(std::vector<std::uint8_t>(stored.begin() + 40, stored.begin() + 53), std::vector<std::uint8_t>(13, 0x7F));
    EXPECT_EQ(std::vector<std::uint8_t>(stored.begin() + 53, stored.end()), std::vector<std::uint8_t>(3, 0));
}

TEST(ImageBlockReader, ShortColourTableShiftsThePixels) {
    std::string bytes = readerCases().back().bytes;
    RecordingUi ui;
    MemoryByteSource in(bytes);
    auto result = ImageBlockReader(ui).read(in);
    ASSERT_TRUE(result.ok());
    // The pixel's index byte was taken as table entry 2; the pixel itself reads as index 0.
    EXPECT_EQ(decodeImage(result->front()).at(0, 0), (Rgb{0xFF, 0, 0}));
}

TEST(ImageBlockReader, ManyLargeBlocksRunOutOfTheMemoryBudget) {
    // Headers of full-size colour images, each claiming to end right after its header.
    std::string bytes;
    for (int i = 0; i < 6; ++i)
        bytes += with([](Block& b) {
                     b.width = b.height = 1000;
                     b.imageSize = 0;
                     b.blockSize = 54;
                     b.pixels = "";
                 })
                     .bytes()
                     .substr(0, 54);
    RecordingUi ui;
    MemoryByteSource in(bytes);
    auto result = ImageBlockReader(ui, 10u << 20).read(in);
    ASSERT_FALSE(result.ok());
    ASSERT_EQ(ui.messages.size(), 4u);  // three short reads, then the refusal
    EXPECT_EQ(ui.messages.back().text, "Out of memory");
    EXPECT_EQ(ui.messages.back().icon, MsgIcon::Error);
}

TEST(ImageBlockReader, FilesThatCannotBeOpenedOrRead) {
    test::TempDir dir;
    ::mkdir(dir.file("folder.vbm").c_str(), 0755);
    RecordingUi ui;
    EXPECT_FALSE(ImageBlockReader(ui).readFile(dir.file("missing.vbm")).ok());
    EXPECT_FALSE(ImageBlockReader(ui).readFile(dir.file("folder.vbm")).ok());
    ASSERT_EQ(ui.texts(), (std::vector<std::string>{"Could not open file", "File read error"}));
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[1].icon, MsgIcon::Error);
}

}  // namespace
}  // namespace varn
