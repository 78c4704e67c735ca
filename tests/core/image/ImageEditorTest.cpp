// The image view's rules without a window: zoom fitting, snapping, the tools'
// press, move and release on a document with their undo moments, the status
// text, the drawing colours and the enabling of the Image menu.
#include <gtest/gtest.h>

#include "app/RecordingUi.h"
#include "image/DevicePalette.h"
#include "image/ImageEditor.h"

namespace varn {
namespace {

constexpr Rgb kRed{0xFF, 0, 0};

struct Editor {
    RecordingUi ui;
    CVARNImgDoc doc;
    ImageColours colours;
    std::uint32_t savedFg = Rgb{0xFF, 0, 0}.packed(), savedBg = kWhite.packed();
    ImageEditor editor{doc, colours};

    explicit Editor(int w = 8, int h = 8, int depth = 24, int zoom = 10) {
        doc.addImage(w, h, depth, ui);
        colours.bind(&savedFg, &savedBg);
        colours.activate(depth == 1);
        editor.setZoom(zoom);
    }
    // A drag in view coordinates through the points given, first pressed, last released.
    void drag(std::initializer_list<ViewPoint> points, ColourSide side = ColourSide::Foreground) {
        auto it = points.begin();
        editor.move(*it);
        editor.press(*it, side);
        for (++it; it != points.end(); ++it) editor.move(*it);
        editor.release(*(points.end() - 1));
    }
    std::vector<PixelPoint> painted() const {
        std::vector<PixelPoint> out;
        const PixelBuffer& s = *doc.surface();
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                if (s.at(x, y) != kWhite) out.push_back({x, y});
        return out;
    }
};

TEST(ImageEditor, ZoomFitsTheSmallerRatioAndIsAtLeastOne) {
    struct Case {
        int cw, ch, iw, ih, zoom;
    } cases[] = {
        {640, 480, 32, 22, 20}, {300, 100, 22, 22, 4}, {10, 10, 32, 22, 1}, {0, 0, 1, 1, 1}, {1400, 900, 320, 320, 2}};
    for (const auto& c : cases) EXPECT_EQ(ImageEditor::fitZoom(c.cw, c.ch, c.iw, c.ih), c.zoom) << c.cw << "x" << c.ch;
}

TEST(ImageEditor, ViewPointsSnapToCellsOnTheImage) {
    Editor e(8, 4, 24, 10);
    struct Case {
        ViewPoint in, snapped;
    } cases[] = {{{0, 0}, {0, 0}},    {{9, 9}, {0, 0}},       {{10, 19}, {10, 10}},
                 {{-5, 35}, {0, 30}}, {{500, 500}, {70, 30}}, {{79, 39}, {70, 30}}};
    for (const auto& c : cases) {
        EXPECT_EQ(e.editor.snap(c.in), c.snapped) << c.in.x << "," << c.in.y;
        EXPECT_EQ(e.editor.pixelOf(c.in).x, c.snapped.x / 10);
    }
}

TEST(ImageEditor, PencilDragPlotsTheSteppedLineBetweenReportedPixels) {
    Editor e;
    // Pressed in cell (0,0); the next move is reported in cell (3,1).
    e.drag({{5, 5}, {35, 15}});
    EXPECT_EQ(e.painted(), (std::vector<PixelPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_TRUE(e.doc.surfaceChanged());
    EXPECT_EQ(e.doc.surface()->at(0, 0), kRed);
}

TEST(ImageEditor, BrushOfTheChosenSizeAndTheBackgroundOnTheRightButton) {
    Editor e;
    e.editor.setTool(ImageTool::Brush);
    e.editor.setBrushSize(9);
    EXPECT_EQ(e.editor.brushSize(), ImageEditor::kMaxBrush);
    e.editor.setBrushSize(3);
    e.drag({{55, 55}});
    EXPECT_EQ(e.painted().size(), 9u);
    e.drag({{55, 55}}, ColourSide::Background);
    EXPECT_TRUE(e.painted().empty()) << "the background colour is white";
}

TEST(ImageEditor, BandToolsDrawOnReleaseBetweenPressAndReleaseCells) {
    Editor e;
    e.editor.setTool(ImageTool::HollowRectangle);
    e.editor.move({55, 55});
    e.editor.press({55, 55}, ColourSide::Foreground);
    e.editor.move({25, 25});
    ASSERT_TRUE(e.editor.band());
    EXPECT_EQ(e.editor.band()->shape, BandShape::Rectangle);
    EXPECT_EQ(e.editor.band()->to, (ViewPoint{20, 20}));
    EXPECT_TRUE(e.painted().empty()) << "nothing is drawn before the release";
    EXPECT_EQ(e.editor.takeStatus(), "Posn 2,2 Size 4x4");
    e.editor.release({25, 25});
    EXPECT_FALSE(e.editor.band());
    EXPECT_EQ(e.painted().size(), 12u);  // the outline of 2..5 in both directions
    EXPECT_EQ(e.editor.takeStatus(), "Posn 2,2");
    EXPECT_EQ(e.editor.takeStatus(), std::nullopt) << "unchanged numbers keep the text";
    EXPECT_EQ(e.editor.takeStatus(true), "Posn 2,2");
}

TEST(ImageEditor, UndoSnapshotsAtEachToolsMoment) {
    struct Case {
        ImageTool tool;
        bool undoRestoresWhite;  // after one drag on a white image and the tool's own drag
    } cases[] = {{ImageTool::Pencil, true}, {ImageTool::Line, true},    {ImageTool::SolidEllipse, true},
                 {ImageTool::Fill, true},   {ImageTool::Select, false}, {ImageTool::Dropper, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.tool));
        Editor e;
        // A first pencil stroke takes its own snapshot of the white image.
        e.drag({{5, 5}, {35, 5}});
        e.editor.setTool(c.tool);
        e.drag({{15, 45}, {45, 75}});
        ASSERT_TRUE(e.doc.undo());
        // Select and the dropper take none: undo still goes back before the stroke.
        EXPECT_EQ(e.painted().empty(), !c.undoRestoresWhite);
    }
}

TEST(ImageEditor, SelectSetsTheOrderedSelectionAndDropperPicksColours) {
    Editor e;
    e.editor.setTool(ImageTool::Select);
    e.drag({{65, 45}, {15, 15}});
    EXPECT_EQ(e.doc.selection(), (SelectionRect{1, 1, 6, 4}));

    e.doc.surface()->set(3, 3, Rgb{0x00, 0x99, 0x99});
    e.editor.setTool(ImageTool::Dropper);
    e.drag({{35, 35}}, ColourSide::Background);
    EXPECT_EQ(e.colours.background(), (Rgb{0x00, 0x99, 0x99}));
    EXPECT_EQ(e.savedBg, (Rgb{0x00, 0x99, 0x99}).packed()) << "a colour image saves its colours";
}

TEST(ImageEditor, MonochromeDrawsBlackOnWhiteWithoutTheDropper) {
    Editor e(8, 8, 1);
    EXPECT_EQ(e.colours.foreground(), kBlack);
    EXPECT_EQ(e.colours.background(), kWhite);
    EXPECT_FALSE(e.editor.toolEnabled(ImageTool::Dropper));
    EXPECT_TRUE(e.editor.toolEnabled(ImageTool::Fill));
    e.editor.setTool(ImageTool::Dropper);
    EXPECT_FALSE(e.editor.press({5, 5}, ColourSide::Foreground));
    e.colours.pick(Rgb{0, 0, 0xFF}, ColourSide::Foreground);
    EXPECT_EQ(e.savedFg, kRed.packed()) << "monochrome never changes the saved colours";
    e.colours.activate(false);
    EXPECT_EQ(e.colours.foreground(), kRed);
}

TEST(ImageEditor, PickedColoursSnapToThePalette) {
    Editor e;
    e.colours.pick(Rgb{0x12, 0xF0, 0x07}, ColourSide::Foreground);
    EXPECT_EQ(e.colours.foreground(), (Rgb{0x00, 0xFF, 0x00}));
    for (int entry : ImageColours::kBarEntries)
        EXPECT_EQ(DevicePalette::palm().snap(DevicePalette::palm().entry(entry)), DevicePalette::palm().entry(entry));
}

TEST(ImageEditor, KeyboardCellMovesFromTheMousePixelAndClicksTheTool) {
    Editor e(4, 3);
    e.editor.move({25, 15});
    ASSERT_TRUE(e.editor.moveKeyCell(1, 0));
    EXPECT_EQ(e.editor.keyCell(), (PixelPoint{3, 1}));
    e.editor.moveKeyCell(5, 5);
    EXPECT_EQ(e.editor.keyCell(), (PixelPoint{3, 2})) << "kept on the image";
    EXPECT_EQ(e.editor.takeStatus(), "Posn 3,2");
    EXPECT_TRUE(e.editor.clickAtKeyCell(ColourSide::Foreground));
    EXPECT_EQ(e.painted(), (std::vector<PixelPoint>{{3, 2}}));
    EXPECT_FALSE(e.editor.buttonDown());
    e.editor.move({0, 0});
    EXPECT_FALSE(e.editor.keyCell()) << "the mouse takes over";
}

TEST(ImageEditor, BitmapTypeCommandsFollowTheImageCount) {
    Editor e(15, 9, 24);
    EXPECT_EQ(ImageEditor::typeLabel(e.doc.images()[0]), "Color 15x9");
    EXPECT_TRUE(e.editor.canAddBitmapType());
    EXPECT_FALSE(e.editor.canDeleteBitmapType());
    ASSERT_EQ(e.doc.addBitmapType(e.ui), 1);
    EXPECT_EQ(ImageEditor::typeLabel(e.doc.images()[1]), "Monochrome 15x9");
    EXPECT_FALSE(e.editor.canAddBitmapType());
    EXPECT_TRUE(e.editor.canDeleteBitmapType());
    EXPECT_TRUE(e.editor.currentIsMonochrome());
}

}  // namespace
}  // namespace varn
