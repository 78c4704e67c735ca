// BMP import: the bytes of the BMP appended unchanged, the second bitmap type
// beside the first, replacing an image of the same kind, the project entry,
// every refusal with its message, and the result read back by the image
// editor's own block reader without a complaint.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "ImageFiles.h"
#include "app/RecordingUi.h"
#include "convert/BmpImport.h"
#include "convert/ConvertCommands.h"
#include "image/ImageBlockReader.h"
#include "platform/FileSystem.h"

namespace varn {
namespace {

using namespace test;

using Bmp = BmpBlock;

// A BMP of the depth, 32 x 22 unless said otherwise; the seed varies the pixels.
Bmp depth(int bpp, int seed = 1, int width = 32, int height = 22) {
    Bmp b;
    b.bpp = static_cast<std::uint16_t>(bpp);
    b.seed = seed;
    b.width = width;
    b.height = height;
    return b;
}

// The image editor's reader must open the file without a single message.
void expectEditorReads(const std::string& path, const std::vector<int>& depths) {
    RecordingUi ui;
    auto records = ImageBlockReader(ui).readFile(path);
    ASSERT_TRUE(records) << records.error().message;
    EXPECT_TRUE(ui.messages.empty()) << ui.lastText();
    ASSERT_EQ(records->size(), depths.size());
    for (std::size_t i = 0; i < depths.size(); ++i) EXPECT_EQ((*records)[i].depth(), depths[i]);
}

class BmpImportTest : public ::testing::Test {
protected:
    std::string bmp(const std::string& name, const Bmp& b) {
        std::string path = dir.file(name);
        writeBytes(path, b.bytes());
        return path;
    }
    bool import(const std::string& bmpPath, const std::string& image) {
        ui.clear();
        return importBmp(bmpPath, image, ui, &project);
    }
    void expectOnlyError(const std::string& text) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text);
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
        EXPECT_TRUE(project.calls.empty());
    }

    TempDir dir;
    RecordingUi ui;
    FakeImageProject project;
};

TEST_F(BmpImportTest, ColourBmpIntoNewNameIsByteIdentical) {
    const std::string colour = bmp("photo.bmp", depth(24));
    const std::string image = dir.file("Photo.vbm");
    ASSERT_TRUE(import(colour, image)) << ui.lastText();
    EXPECT_EQ(readBytes(image), readBytes(colour));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Import complete.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(project.calls, (std::vector<std::string>{"bitmap " + image, "modified"}));
    expectEditorReads(image, {24});
    // Without a project only the file is written.
    ui.clear();
    ASSERT_TRUE(importBmp(colour, dir.file("Alone.vbm"), ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Import complete."});
}

// Several BMPs imported one after another into one image file.
struct Sequence {
    const char* name;
    std::vector<Bmp> imports;
    std::vector<int> kept;  // which imports the file holds at the end, in order
    std::vector<int> depths;
    std::string lastError;    // the last import's refusal, if any
    bool startEmpty = false;  // an empty image file exists before the first import
};

void PrintTo(const Sequence& c, std::ostream* os) { *os << c.name; }

class BmpSequence : public BmpImportTest, public ::testing::WithParamInterface<Sequence> {};

TEST_P(BmpSequence, KeepsOneImageOfEachKindColourFirst) {
    const Sequence& c = GetParam();
    const std::string image = dir.file("Image.vbm");
    if (c.startEmpty) writeBytes(image, "");
    std::vector<std::string> bytes;
    bool last = false;
    for (std::size_t i = 0; i < c.imports.size(); ++i) {
        const std::string path = bmp("in" + std::to_string(i) + ".bmp", c.imports[i]);
        bytes.push_back(readBytes(path));
        project.calls.clear();
        last = import(path, image);
        if (i + 1 < c.imports.size()) {
            ASSERT_TRUE(last) << i << ": " << ui.lastText();
        }
    }
    std::string expected;
    for (int k : c.kept) expected += bytes[k];
    EXPECT_EQ(readBytes(image), expected);
    if (c.lastError.empty()) {
        EXPECT_TRUE(last) << ui.lastText();
        expectEditorReads(image, c.depths);
    } else {
        EXPECT_FALSE(last);
        expectOnlyError(c.lastError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BmpSequence,
    ::testing::Values(Sequence{"MonochromeBesideColour", {depth(24), depth(1)}, {0, 1}, {24, 1}, ""},
                      Sequence{"ColourAfterMonochrome", {depth(1), depth(8)}, {0, 1}, {1, 8}, ""},
                      Sequence{"SecondColourReplaces", {depth(24), depth(4, 9)}, {1}, {4}, ""},
                      Sequence{"SecondMonochromeReplaces", {depth(1), depth(1, 5)}, {1}, {1}, ""},
                      Sequence{"EmptyFileCountsAsNew", {depth(24)}, {0}, {24}, "", true},
                      Sequence{"BothKindsAlready",
                               {depth(24), depth(1), depth(24)},
                               {0, 1},
                               {},
                               "VARN image file already has a color and monochrome image."},
                      Sequence{"SizeMismatch",
                               {depth(24), depth(1, 1, 16, 16)},
                               {0},
                               {},
                               "The imported image size (16x16) must be the same as the existing image size (32x22)."}),
    [](const ::testing::TestParamInfo<Sequence>& i) { return std::string(i.param.name); });

TEST_F(BmpImportTest, MissingImportFile) {
    const std::string missing = dir.file("none.bmp");
    EXPECT_FALSE(import(missing, dir.file("X.vbm")));
    expectOnlyError("Could not open import file " + missing);
    EXPECT_FALSE(fsys::exists(dir.file("X.vbm")));
}

// The name rule's cases are in the image document's test; here the import applies it.
TEST_F(BmpImportTest, ImageNameMustBeAnIdentifier) {
    EXPECT_FALSE(import(bmp("c.bmp", depth(24)), dir.file("a-b.vbm")));
    expectOnlyError("Bitmap file names must follow VARN variable naming rules.");
    EXPECT_FALSE(fsys::exists(dir.file("a-b.vbm")));
}

TEST_F(BmpImportTest, MissingExtensionBecomesVbm) {
    const std::string colour = bmp("c.bmp", depth(24));
    std::string written;
    ASSERT_TRUE(importBmpFile(colour, dir.file("Plain"), ui, &project, &written));
    EXPECT_EQ(written, dir.file("Plain.vbm"));
    EXPECT_EQ(readBytes(dir.file("Plain.vbm")), readBytes(colour));
    EXPECT_FALSE(fsys::exists(dir.file("Plain")));
    EXPECT_EQ(project.calls.front(), "bitmap " + dir.file("Plain.vbm"));
}

TEST_F(BmpImportTest, ReadOnlyImageFileIsNotTouched) {
    const std::string colour = bmp("c.bmp", depth(24));
    const std::string mono = bmp("m.bmp", depth(1));
    const std::string image = dir.file("Locked.vbm");
    ASSERT_TRUE(import(colour, image));
    ASSERT_EQ(::chmod(image.c_str(), 0444), 0);
    project.calls.clear();
    EXPECT_FALSE(import(mono, image));
    expectOnlyError("Could not write the VARN image file " + image + ".");
    EXPECT_EQ(readBytes(image), readBytes(colour));
}

struct Refusal {
    const char* name;
    Bmp bmp;
    std::string reason;
    std::string raw;  // used instead of bmp when not empty
};

std::vector<Refusal> refusals() {
    auto with = [](auto change) {
        Bmp b = depth(24);
        change(b);
        return b;
    };
    return {
        {"not_bmp", depth(24), "it is not a BMP file", "GIF89a this is not a bitmap at all, not at all, no....."},
        {"too_short", depth(24), "it is not a BMP file", "BM\x10"},
        {"v5_header", with([](Bmp& b) { b.headerSize = 124; }),
         "its information header must be the 40-byte Windows header", ""},
        {"two_planes", with([](Bmp& b) { b.planes = 2; }), "it must have one plane and 1, 4, 8 or 24 bits per pixel",
         ""},
        {"sixteen_bits", with([](Bmp& b) { b.bpp = 16; }), "it must have one plane and 1, 4, 8 or 24 bits per pixel",
         ""},
        {"rle8", with([](Bmp& b) {
             b.bpp = 8;
             b.compression = 1;
         }),
         "it must be uncompressed", ""},
        {"top_down", with([](Bmp& b) { b.height = -22; }),
         "it must be stored bottom-up and be 1 to 1000 pixels wide and high", ""},
        {"too_wide", with([](Bmp& b) {
             b.width = 1001;
             b.height = 1;
         }),
         "it must be stored bottom-up and be 1 to 1000 pixels wide and high", ""},
        {"short_palette", with([](Bmp& b) {
             b.bpp = 8;
             b.coloursUsed = 16;
             b.tableEntries = 16;
         }),
         "its colour table must hold all 2, 16 or 256 entries", ""},
        {"colour_table_on_24_bits", with([](Bmp& b) { b.tableEntries = 2; }), "it must have no colour table", ""},
        {"wrong_image_size", with([](Bmp& b) { b.imageSize = 5; }), "its image size field does not match its size", ""},
        {"block_size_zero", with([](Bmp& b) { b.blockSize = 0; }), "its length does not match its headers", ""},
        {"much_trailing_data", with([](Bmp& b) { b.trailing = std::string(5000, 'x'); }),
         "its length does not match its headers", ""},
    };
}

class BmpRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(BmpRefusal, IsRefusedWithItsReason) {
    TempDir dir;
    const Refusal& r = GetParam();
    const std::string path = dir.file("in.bmp");
    writeBytes(path, r.raw.empty() ? r.bmp.bytes() : r.raw);
    RecordingUi ui;
    FakeImageProject project;
    EXPECT_FALSE(importBmp(path, dir.file("Out.vbm"), ui, &project));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"The import file " + path +
                                                   " is not a BMP the image editor accepts: " + r.reason + "."});
    EXPECT_FALSE(fsys::exists(dir.file("Out.vbm")));
    EXPECT_TRUE(project.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BmpRefusal, ::testing::ValuesIn(refusals()),
                         [](const ::testing::TestParamInfo<Refusal>& i) { return i.param.name; });

TEST(BmpImportAccepts, ImageSizeZeroAndFullColoursUsedAndSmallPadding) {
    TempDir dir;
    Bmp b = depth(4);
    b.imageSize = 0;
    b.coloursUsed = 16;
    b.trailing = "\0\0";
    const std::string path = dir.file("ok.bmp");
    writeBytes(path, b.bytes());
    RecordingUi ui;
    ASSERT_TRUE(importBmp(path, dir.file("Ok.vbm"), ui)) << ui.lastText();
    expectEditorReads(dir.file("Ok.vbm"), {4});
}

TEST(BmpScan, FlagsSizesAndStop) {
    std::string two = depth(24).bytes() + depth(1, 1, 15, 9).bytes();
    MemoryByteSource in(two);
    ImageBlockScan s = scanImageBlocks(in);
    EXPECT_TRUE(s.hasColour);
    EXPECT_TRUE(s.hasMonochrome);
    EXPECT_EQ(s.blocks, 2);
    EXPECT_EQ(s.width, 15);  // the last block wins
    EXPECT_EQ(s.height, 9);

    Bmp zero = depth(24);
    zero.blockSize = 0;
    std::string stuck = zero.bytes();
    MemoryByteSource in2(stuck);
    EXPECT_EQ(scanImageBlocks(in2).blocks, 1);  // a block size of 0 ends the scan

    std::string shortFile = depth(24).bytes().substr(0, 50);
    MemoryByteSource in3(shortFile);
    EXPECT_EQ(scanImageBlocks(in3).blocks, 0);
}

TEST(BmpImportNames, DefaultImageFile) {
    EXPECT_EQ(defaultImageFileFor("/pics/Sunset.bmp"), "/pics/Sunset.vbm");
    EXPECT_EQ(defaultImageFileFor("Sunset.BMP"), "Sunset.vbm");
}

}  // namespace
}  // namespace varn
