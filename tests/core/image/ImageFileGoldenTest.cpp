// Whole image files as the document writes them, compared with golden files
// (which pin every header field), and read back block by block by netpbm's
// bmptopnm and by the document itself.

#include <gtest/gtest.h>

#include <functional>

#include "ImageTestSupport.h"
#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "image/CVARNImgDoc.h"

namespace varn {
namespace {

using test::FakeImageProject;

// Splits a file into its blocks by their block-size fields.
std::vector<std::string> splitBlocks(const std::string& file) {
    std::vector<std::string> blocks;
    for (std::size_t at = 0; at + 6 <= file.size();) {
        std::uint32_t size = test::le32(file, at + 2);
        if (size == 0) break;
        blocks.push_back(file.substr(at, size));
        at += size;
    }
    return blocks;
}


struct GoldenCase {
    std::string name;
    std::string fileName;
    ImageDocType type;
    std::function<void(CVARNImgDoc&, RecordingUi&)> build;
    std::vector<PixelBuffer> blocks;  // what any BMP reader must see of each block
    int formWidth = 160;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

PixelBuffer iconPattern() {
    PixelBuffer p(22, 22);
    for (int i = 0; i < 22; ++i) {
        p.set(i, 0, kBlack);
        p.set(0, i, kBlack);
        p.set(i, i, kBlack);
    }
    p.set(21, 21, kWhite);
    return p;
}

PixelBuffer colourPattern() {
    PixelBuffer p(5, 3);
    const Rgb colours[] = {{0xFF, 0, 0}, {0, 0x99, 0}, {0, 0, 0xCC},      {0x12, 0x34, 0x56},
                           kBlack,       kWhite,       {0x80, 0x80, 0x80}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) p.set(x, y, colours[(x + 2 * y) % 7]);
    return p;
}

PixelBuffer monoPattern() {
    PixelBuffer p(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) p.set(x, y, (x + y) % 2 ? kBlack : kWhite);
    return p;
}

std::vector<GoldenCase> goldenCases() {
    ImageProjectSettings settings;
    return {
        {"icon_desktop_1bit",
         "Desk.vic",
         ImageDocType::Icon,
         [settings](CVARNImgDoc& doc, RecordingUi& ui) {
             ui.answers.push_back(Answer::Yes);
             ASSERT_TRUE(doc.newDocument(ui, settings));
             doc.surface()->draw(iconPattern(), 0, 0);
         },
         {iconPattern()}},
        {"bitmap_1x1_24bit",
         "One.vbm",
         ImageDocType::Bitmap,
         [](CVARNImgDoc& doc, RecordingUi& ui) {
             ASSERT_TRUE(doc.replaceWithNewImage(1, 1, 24, ui));
             doc.surface()->set(0, 0, Rgb{0x12, 0x34, 0x56});
         },
         {PixelBuffer(1, 1, Rgb{0x12, 0x34, 0x56})}},
        {"bitmap_two_blocks",
         "Two.vbm",
         ImageDocType::Bitmap,
         [](CVARNImgDoc& doc, RecordingUi& ui) {
             ASSERT_TRUE(doc.replaceWithNewImage(5, 3, 24, ui));
             doc.surface()->draw(colourPattern(), 0, 0);
             ASSERT_EQ(doc.addBitmapType(ui), 1);
             doc.surface()->draw(monoPattern(), 0, 0);
         },
         {colourPattern(), monoPattern()}},
        {"icon_list_320",
         "Small.vic",
         ImageDocType::Icon,
         [](CVARNImgDoc& doc, RecordingUi& ui) {
             ui.answers.push_back(Answer::No);
             ImageProjectSettings wide;
             wide.formWidth = wide.formHeight = 320;
             ASSERT_TRUE(doc.newDocument(ui, wide));
             doc.surface()->fillRect(3, 2, 20, 10, kBlack);
         },
         {[] {
             PixelBuffer p(30, 18);
             p.fillRect(3, 2, 20, 10, kBlack);
             return p;
         }()},
         320},
    };
}

class ImageFileGolden : public ::testing::TestWithParam<GoldenCase> {
protected:
    std::string writeCase() {
        const GoldenCase& c = GetParam();
        CVARNImgDoc doc(c.type);
        RecordingUi ui;
        c.build(doc, ui);
        FakeImageProject project;
        std::string path = dir_.file(c.fileName);
        EXPECT_TRUE(doc.save(path, ui, project));
        EXPECT_EQ(ui.messages.size(), c.type == ImageDocType::Icon ? 1u : 0u) << ui.lastText();
        return test::readBytes(path);
    }
    test::TempDir dir_;
};

TEST_P(ImageFileGolden, MatchesGoldenFile) {
    const GoldenCase& c = GetParam();
    std::string ext = c.fileName.substr(c.fileName.size() - 3);
    EXPECT_TRUE(test::matchesGolden(writeCase(), "image/" + c.name + "/expected." + ext));
}

TEST_P(ImageFileGolden, EachBlockReadsBackThroughBmptopnm) {
    if (!test::haveBmptopnm()) GTEST_SKIP() << "netpbm is not installed";
    const GoldenCase& c = GetParam();
    std::vector<std::string> blocks = splitBlocks(writeCase());
    ASSERT_EQ(blocks.size(), c.blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        // Every block carries its own 14-byte file header: it is a BMP file as it stands.
        std::string bmp = dir_.file("block" + std::to_string(i) + ".bmp");
        test::writeBytes(bmp, blocks[i]);
        EXPECT_TRUE(test::bmptopnmSees(bmp, c.blocks[i])) << "block " << i;
    }
}

TEST_P(ImageFileGolden, ReopensToTheSamePixelsAndRewritesTheSameBytes) {
    const GoldenCase& c = GetParam();
    std::string first = writeCase();
    std::string path = dir_.file(c.fileName);
    CVARNImgDoc doc(c.type);
    RecordingUi ui;
    ImageProjectSettings settings;
    settings.formWidth = settings.formHeight = c.formWidth;
    ASSERT_TRUE(doc.open(path, ui, settings));
    EXPECT_TRUE(ui.messages.empty()) << ui.lastText();
    ASSERT_EQ(doc.imageCount(), static_cast<int>(c.blocks.size()));
    for (int i = 0; i < doc.imageCount(); ++i) {
        ASSERT_TRUE(doc.switchImage(i));
        EXPECT_TRUE(*doc.surface() == c.blocks[static_cast<std::size_t>(i)]) << "image " << i;
    }
    FakeImageProject project;
    std::string again = dir_.file("again_" + c.fileName);
    ASSERT_TRUE(doc.save(again, ui, project));
    EXPECT_EQ(test::readBytes(again), first);
}

INSTANTIATE_TEST_SUITE_P(Files, ImageFileGolden, ::testing::ValuesIn(goldenCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace varn
