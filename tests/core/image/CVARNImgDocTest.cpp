// The image document: new documents, the icon check on open, registration on
// save, the changed flags with undo, paste, and the two bitmap types.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ImageTestSupport.h"
#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "image/CVARNImgDoc.h"

namespace varn {
namespace {

using test::FakeImageProject;
using Texts = std::vector<std::string>;

ImageProjectSettings form(int w, int h) {
    ImageProjectSettings s;
    s.formWidth = w;
    s.formHeight = h;
    return s;
}

struct NewCase {
    std::string name;
    ImageDocType type;
    Answer answer;  // to the icon question
    ImageProjectSettings settings;
    ImageDescriptor image;  // width 0: refused
    IconKind kind;
};
void PrintTo(const NewCase& c, std::ostream* os) { *os << c.name; }

class NewImageDocument : public ::testing::TestWithParam<NewCase> {};

TEST_P(NewImageDocument, HasOneWhiteImageOfItsKind) {
    const NewCase& c = GetParam();
    CVARNImgDoc doc(c.type);
    RecordingUi ui;
    ui.answers.push_back(c.answer);
    ASSERT_EQ(doc.newDocument(ui, c.settings), c.image.width > 0);
    Texts expected;
    if (c.type == ImageDocType::Icon)
        expected.push_back("Is this a desktop icon? If not then it will be set as a list icon.");
    if (c.image.width == 0) expected.push_back("Width/height must be in the range of 1-1000");
    EXPECT_EQ(ui.texts(), expected);
    EXPECT_EQ(doc.iconKind(), c.kind);
    if (c.image.width == 0) return;
    EXPECT_EQ(doc.images().at(0).descriptor, c.image);
    EXPECT_TRUE(*doc.surface() == PixelBuffer(c.image.width, c.image.height, kWhite));
}

ImageProjectSettings lastBitmap(int w, int h, int depth) {
    ImageProjectSettings s;
    s.lastBitmapWidth = w;
    s.lastBitmapHeight = h;
    s.lastBitmapColorDepth = depth;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NewImageDocument,
    ::testing::Values(
        NewCase{"desktop_icon_160", ImageDocType::Icon, Answer::Yes, form(160, 160), {22, 22, 1}, IconKind::Desktop},
        NewCase{"list_icon_160", ImageDocType::Icon, Answer::No, form(160, 160), {15, 9, 1}, IconKind::List},
        NewCase{"desktop_icon_320", ImageDocType::Icon, Answer::Yes, form(320, 320), {44, 44, 1}, IconKind::Desktop},
        NewCase{"list_icon_320", ImageDocType::Icon, Answer::No, form(320, 320), {30, 18, 1}, IconKind::List},
        NewCase{"bitmap_colour", ImageDocType::Bitmap, Answer::Yes, {}, {32, 22, 24}, IconKind::NotIcon},
        NewCase{"bitmap_mono", ImageDocType::Bitmap, Answer::Yes, lastBitmap(40, 7, 1), {40, 7, 1}, IconKind::NotIcon},
        NewCase{"bitmap_too_wide",
                ImageDocType::Bitmap,
                Answer::Yes,
                lastBitmap(1001, 7, 0),
                {0, 0, 0},
                IconKind::NotIcon}),
    [](const auto& info) { return info.param.name; });

struct IconOpenCase {
    int formWidth, formHeight, width, height;
    std::optional<IconKind> kind;  // none: the size message
};

class IconOpen : public ::testing::TestWithParam<IconOpenCase> {};

TEST_P(IconOpen, TakesTheKindFromTheWidthOrSaysWhatFits) {
    const IconOpenCase& c = GetParam();
    test::TempDir dir;
    test::BmpBlock block;
    block.width = c.width;
    block.height = c.height;
    block.bpp = 1;
    test::writeBytes(dir.file("i.vic"), block.bytes());
    CVARNImgDoc doc(ImageDocType::Icon);
    RecordingUi ui;
    ASSERT_TRUE(doc.open(dir.file("i.vic"), ui, form(c.formWidth, c.formHeight)));
    EXPECT_EQ(doc.iconKind(), c.kind.value_or(IconKind::NotIcon));
    if (c.kind) {
        EXPECT_TRUE(ui.messages.empty());
        return;
    }
    auto n = [](int v) { return std::to_string(v); };
    EXPECT_EQ(ui.texts(),
              Texts{"The icon size is not valid for the current project runtime formsize\n"
                    "The current formsize is " +
                    n(c.formWidth) + "x" + n(c.formHeight) + " and the icon size is " + n(c.width) + "x" + n(c.height) +
                    "\nFor a form size of 160x160 a desktop icon is 22x22 and a list icon is 15x9\n"
                    "For a form size of 320x320 a desktop icon is 44x44 and a list icon is 30x18"});
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, IconOpen,
    ::testing::Values(IconOpenCase{160, 160, 22, 22, IconKind::Desktop}, IconOpenCase{160, 160, 15, 9, IconKind::List},
                      IconOpenCase{160, 160, 22, 5, IconKind::Desktop},  // height not compared
                      IconOpenCase{160, 160, 44, 44, std::nullopt}, IconOpenCase{320, 320, 44, 44, IconKind::Desktop},
                      IconOpenCase{320, 320, 30, 18, IconKind::List}, IconOpenCase{320, 320, 22, 22, std::nullopt},
                      IconOpenCase{240, 240, 22, 22, std::nullopt}));

struct SaveCase {
    std::string name;
    std::string fileName;
    IconKind kind;
    std::string existing;  // path of a project image with the same base name
    bool ok;
    Texts messages;
    Texts calls;  // "$" stands for the saved path
};
void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

const char kBitmapName[] = "Bitmap file names must follow VARN variable naming rules.";
const char kIconName[] = "Icon file names must follow VARN variable naming rules.";
const char kIconClash[] =
    "An Icon file already exists with this name. Please use another bitmap name or remove the Icon.";
const char kBitmapClash[] =
    "A bitmap file already exists with this name. Please use another icon name or remove the bitmap.";
const Texts kBitmapAdded{"bitmap $", "modified"};

class ImageSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(ImageSave, WritesThenRegistersByTheNameRules) {
    const SaveCase& c = GetParam();
    test::TempDir dir;
    CVARNImgDoc doc(CVARNImgDoc::typeForPath(c.fileName));
    RecordingUi ui;
    ASSERT_TRUE(doc.replaceWithNewImage(3, 2, 24, ui));
    doc.setIconKind(c.kind);
    FakeImageProject project;
    if (!c.existing.empty()) project.images.push_back(c.existing);
    const std::string path = dir.file(c.fileName);
    EXPECT_EQ(doc.save(path, ui, project), c.ok);
    EXPECT_EQ(ui.texts(), c.messages);
    Texts calls;
    for (std::string call : c.calls) {
        if (call.back() == '$') call = call.substr(0, call.size() - 1) + path;
        calls.push_back(call);
    }
    EXPECT_EQ(project.calls, calls);
    EXPECT_EQ(test::readBytes(path).size(), 14u + 40u + 12u * 2u);  // written either way
    EXPECT_FALSE(doc.hasUnsavedChanges());
    EXPECT_EQ(doc.path(), c.ok ? path : std::string());
}

INSTANTIATE_TEST_SUITE_P(
    Names, ImageSave,
    ::testing::Values(
        SaveCase{"bitmap", "Logo.vbm", IconKind::NotIcon, "", true, {}, kBitmapAdded},
        SaveCase{"upper_extension", "Logo.VBM", IconKind::NotIcon, "", true, {}, kBitmapAdded},
        SaveCase{"leading_digit", "9lives.vbm", IconKind::NotIcon, "", true, {}, kBitmapAdded},
        SaveCase{"outer_blanks", " Logo .vbm", IconKind::NotIcon, "", true, {}, kBitmapAdded},
        SaveCase{"inner_blank", "my logo.vbm", IconKind::NotIcon, "", false, {kBitmapName}, {}},
        SaveCase{"inner_dot", "a.b.vbm", IconKind::NotIcon, "", false, {kBitmapName}, {}},
        SaveCase{"unicode", "caf\xC3\xA9.vbm", IconKind::NotIcon, "", false, {kBitmapName}, {}},
        SaveCase{"no_name", ".vbm", IconKind::NotIcon, "", false, {kBitmapName}, {}},
        SaveCase{"bitmap_after_icon", "Logo.vbm", IconKind::NotIcon, "/p/LOGO.vic", false, {kIconClash}, {}},
        SaveCase{"bitmap_after_bitmap", "Logo.vbm", IconKind::NotIcon, "/q/logo.vbm", true, {}, kBitmapAdded},
        SaveCase{"desktop_icon", "App.vic", IconKind::Desktop, "", true, {}, {"large $", "modified"}},
        SaveCase{"list_icon", "App.vic", IconKind::List, "/p/App.vic", true, {}, {"small $", "modified"}},
        SaveCase{"icon_of_no_kind", "App.vic", IconKind::NotIcon, "", true, {}, {}},
        SaveCase{"icon_inner_blank", "my icon.vic", IconKind::Desktop, "", false, {kIconName}, {}},
        SaveCase{"icon_after_bitmap", "App.vic", IconKind::Desktop, "/p/app.VBM", false, {kBitmapClash}, {}},
        SaveCase{"other_extension", "Logo.bmp", IconKind::NotIcon, "", false, {}, {}}),
    [](const auto& info) { return info.param.name; });

TEST(ImageSaveFailure, ReadOnlyIsRefusedAsSavedAndAMissingFolderFails) {
    test::TempDir dir;
    const std::string path = dir.file("Logo.vbm");
    test::writeBytes(path, "old bytes");
    ::chmod(path.c_str(), 0444);
    CVARNImgDoc doc;
    RecordingUi ui;
    FakeImageProject project;
    ASSERT_TRUE(doc.replaceWithNewImage(3, 2, 24, ui));
    EXPECT_TRUE(doc.prepareSavePrompt());
    EXPECT_TRUE(doc.save(path, ui, project));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(test::readBytes(path), "old bytes");
    EXPECT_FALSE(doc.save(dir.file("no/such/Logo.vbm"), ui, project));
    EXPECT_EQ(ui.texts(), (Texts{"The file can not be saved because it is marked read-only", "Can not create file"}));
    EXPECT_TRUE(project.calls.empty());
}

TEST(ImageOpen, BrokenFileKeepsNothingAndEmptyFileOpensAsNew) {
    test::TempDir dir;
    const std::string good = test::BmpBlock{}.bytes();
    test::writeBytes(dir.file("b.vbm"), good + good.substr(0, 14) + std::string(40, '\0'));
    test::writeBytes(dir.file("e.vic"), "");
    CVARNImgDoc broken, empty(ImageDocType::Icon);
    RecordingUi ui;
    ASSERT_TRUE(broken.replaceWithNewImage(4, 4, 24, ui));
    EXPECT_FALSE(broken.open(dir.file("b.vbm"), ui, {}));
    EXPECT_EQ(broken.imageCount(), 0);
    EXPECT_EQ(broken.surface(), nullptr);
    ASSERT_TRUE(empty.open(dir.file("e.vic"), ui, form(320, 320)));
    EXPECT_EQ(empty.images().at(0).descriptor, (ImageDescriptor{44, 44, 1}));
    EXPECT_EQ(empty.iconKind(), IconKind::Desktop);
    EXPECT_EQ(ui.texts(), Texts{"Bad bitmap file"});
}

TEST(ImageEditing, FlagsUndoClearAndRestore) {
    const Rgb red{0xFF, 0, 0};
    CVARNImgDoc doc;
    RecordingUi ui;
    FakeImageProject project;
    test::TempDir dir;
    ASSERT_TRUE(doc.replaceWithNewImage(6, 4, 24, ui));
    EXPECT_TRUE(doc.surfaceChanged());  // new bitmap properties count as a change
    doc.surface()->set(0, 0, red);
    doc.capture();
    EXPECT_FALSE(doc.surfaceChanged());
    EXPECT_TRUE(doc.storedChanged());
    ASSERT_TRUE(doc.save(dir.file("F.vbm"), ui, project));
    EXPECT_FALSE(doc.prepareSavePrompt());

    doc.clear();  // snapshot, then white; the flag is left alone
    EXPECT_TRUE(*doc.surface() == PixelBuffer(6, 4));
    EXPECT_FALSE(doc.prepareSavePrompt());
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.surface()->at(0, 0), red);
    EXPECT_TRUE(doc.prepareSavePrompt());
    EXPECT_FALSE(doc.undo());  // one level only

    doc.surface()->set(1, 0, red);
    doc.snapshot();
    ASSERT_TRUE(doc.restore());  // back to the last capture; the undo copy is gone
    EXPECT_EQ(doc.surface()->at(1, 0), kWhite);
    EXPECT_EQ(doc.surface()->at(0, 0), red);
    EXPECT_FALSE(doc.hasUndo());
    EXPECT_FALSE(doc.surfaceChanged());
}

struct PasteCase {
    std::string name;
    SelectionRect selection;  // corners given in any order
    PixelBuffer clip;
    std::optional<PasteFit> answer;  // none: cancel
    int depth;
    bool asked;
    std::vector<std::pair<int, int>> black;  // surface pixels that end up black, the rest white
};
void PrintTo(const PasteCase& c, std::ostream* os) { *os << c.name; }

PixelBuffer clipWith(int w, int h, std::vector<std::pair<int, int>> ink, Rgb colour = kBlack) {
    PixelBuffer p(w, h);
    for (auto [x, y] : ink) p.set(x, y, colour);
    return p;
}

class ImagePaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(ImagePaste, PlacesTheClipAtTheSelection) {
    const PasteCase& c = GetParam();
    CVARNImgDoc doc;
    RecordingUi ui;
    ASSERT_TRUE(doc.replaceWithNewImage(6, 4, c.depth, ui));
    doc.capture();
    doc.setSelection(c.selection.right, c.selection.bottom, c.selection.left, c.selection.top);
    bool asked = false;
    bool pasted = doc.paste({true, c.clip}, ui, [&] {
        asked = true;
        return c.answer;
    });
    EXPECT_EQ(asked, c.asked);
    PixelBuffer expected(6, 4);
    for (auto [x, y] : c.black) expected.set(x, y, kBlack);
    EXPECT_TRUE(*doc.surface() == expected);
    EXPECT_EQ(doc.surfaceChanged(), pasted);
    EXPECT_EQ(doc.selection(), (pasted ? SelectionRect{0, 0, 5, 3} : c.selection));
    if (pasted) {
        EXPECT_TRUE(doc.undo() && *doc.surface() == PixelBuffer(6, 4));
    }
    EXPECT_FALSE(doc.paste({false, c.clip}, ui, {}));
    EXPECT_FALSE(doc.paste({true, std::nullopt}, ui, {}));
    EXPECT_EQ(ui.texts(), (Texts{"Could not open clip board", "Could not find clip board format"}));
}

const PixelBuffer kChecker = clipWith(4, 4, {{0, 0}, {2, 0}, {1, 1}, {3, 1}, {0, 2}, {2, 2}, {1, 3}, {3, 3}});

INSTANTIATE_TEST_SUITE_P(
    Fits, ImagePaste,
    ::testing::Values(
        PasteCase{
            "same_size", {1, 1, 2, 2}, clipWith(2, 2, {{0, 0}, {1, 1}}), PasteFit::Clip, 24, false, {{1, 1}, {2, 2}}},
        // Stretching drops every other row and column.
        PasteCase{"shrink", {0, 0, 1, 1}, kChecker, PasteFit::Stretch, 24, true, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        PasteCase{"clip_larger", {3, 1, 4, 2}, kChecker, PasteFit::Clip, 24, true, {{3, 1}, {4, 2}}},
        PasteCase{"stretch_smaller",
                  {1, 0, 3, 1},
                  clipWith(1, 1, {{0, 0}}),
                  PasteFit::Stretch,
                  24,
                  true,
                  {{1, 0}, {2, 0}, {3, 0}, {1, 1}, {2, 1}, {3, 1}}},
        PasteCase{"clip_smaller", {1, 0, 3, 1}, clipWith(1, 1, {{0, 0}}), PasteFit::Clip, 24, true, {{1, 0}}},
        PasteCase{"cancelled", {0, 0, 1, 1}, kChecker, std::nullopt, 24, true, {}},
        PasteCase{"mono_takes_colour_as_black",
                  {0, 0, 5, 3},
                  clipWith(6, 4, {{5, 3}, {0, 0}}, Rgb{0xFE, 0xFF, 0xFF}),
                  PasteFit::Stretch,
                  1,
                  false,
                  {{5, 3}, {0, 0}}}),
    [](const auto& info) { return info.param.name; });

TEST(ImageBitmapTypes, SecondTypeHasTheOtherDepthAndSurvivesSaveAndOpen) {
    test::TempDir dir;
    CVARNImgDoc doc, again;
    RecordingUi ui;
    FakeImageProject project;
    ASSERT_TRUE(doc.replaceWithNewImage(8, 5, 24, ui));
    doc.surface()->set(0, 0, Rgb{0xFF, 0, 0});
    ASSERT_EQ(doc.addBitmapType(ui), 1);
    EXPECT_EQ(doc.addBitmapType(ui), -1);  // two at most
    EXPECT_EQ(doc.images()[1].descriptor, (ImageDescriptor{8, 5, 1}));
    doc.surface()->set(7, 4, kBlack);
    ASSERT_TRUE(doc.switchImage(0));
    EXPECT_EQ(doc.surface()->at(0, 0), (Rgb{0xFF, 0, 0}));
    ASSERT_TRUE(doc.save(dir.file("Two.vbm"), ui, project));

    ASSERT_TRUE(again.open(dir.file("Two.vbm"), ui, {}));
    ASSERT_EQ(again.imageCount(), 2);
    EXPECT_EQ(again.currentIndex(), 0);
    ASSERT_TRUE(again.switchImage(1));
    EXPECT_TRUE(*again.surface() == clipWith(8, 5, {{7, 4}}));
    ASSERT_TRUE(again.deleteBitmapType());
    EXPECT_EQ(again.images().at(0).depth(), 24);
    EXPECT_EQ(again.currentIndex(), 0);
    EXPECT_TRUE(again.surfaceChanged());
    EXPECT_TRUE(ui.messages.empty()) << ui.lastText();
}

// The recovery journal's copy is what the save would write, drawing included,
// without changing the document; taken back, it gives the same images, unsaved.
TEST(ImageRecovery, TheCopyIsTheSavedFileAndComesBackUnsaved) {
    test::TempDir dir;
    CVARNImgDoc doc, recovered;
    RecordingUi ui;
    FakeImageProject project;
    ASSERT_TRUE(doc.replaceWithNewImage(8, 5, 24, ui));
    ASSERT_EQ(doc.addBitmapType(ui), 1);
    ASSERT_TRUE(doc.switchImage(0));
    doc.surface()->set(3, 2, Rgb{0, 0xFF, 0});
    doc.markSurfaceChanged();
    const std::string copy = doc.fileBytes();
    EXPECT_TRUE(doc.surfaceChanged());  // still the drawing, not yet captured
    ASSERT_TRUE(doc.save(dir.file("Two.vbm"), ui, project));
    EXPECT_EQ(test::readBytes(dir.file("Two.vbm")), copy);

    EXPECT_FALSE(recovered.takeRecovered("not an image", ui));
    ui.clear();
    ASSERT_TRUE(recovered.takeRecovered(copy, ui));
    EXPECT_TRUE(recovered.hasUnsavedChanges());
    ASSERT_EQ(recovered.imageCount(), 2);
    EXPECT_EQ(recovered.surface()->at(3, 2), (Rgb{0, 0xFF, 0}));
    EXPECT_EQ(recovered.fileBytes(), copy);
}

}  // namespace
}  // namespace varn
