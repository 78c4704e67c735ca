// The designer's commands over a form: selection and click-to-front, undo,
// delete, the clipboard block and paste, new controls, the enabling rules,
// Go to Invoker and the status text.
#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "form/FormDesigner.h"

namespace varn::test {
namespace {

// A designer on a 160 x 160 form at 160 pixels (one pixel a unit), with a frame.
struct Bench {
    RecordingUi ui;
    MemoryClipboard clipboard;
    FormDesigner designer{std::make_unique<CVARNfbDoc>(plainEnv()), ui};
    CVARNfbDoc& doc = designer.doc();

    Bench() {
        designer.setClipboard(&clipboard);
        addControl(doc, kind::Frame, "Main", 0, 0, 160, 160);
    }
    CVARNFBControl& add(int k, const std::string& name, int x, int y, int w = 20, int h = 10) {
        return addControl(doc, k, name, x, y, w, h);
    }
    void addArray(const std::string& name, int n, int x) {
        for (int i = 0; i < n; ++i) {
            CVARNFBControl& e = add(kind::Button, name, x + 25 * i, 50);
            e.arrayCount = n;
            e.arrayIndex = i;
        }
    }
    std::vector<std::string> names() const { return designer.objectSelectorEntries(); }
};

TEST(FormDesignerSelection, ClickToFrontShiftClickAndRubberBand) {
    Bench b;
    CVARNFBControl& ok = b.add(kind::Button, "Ok", 10, 10);
    b.add(kind::Text, "Name", 40, 10);
    b.addArray("Keys", 3, 0);
    EXPECT_TRUE(b.designer.click(ok, false).raised);
    EXPECT_EQ(b.names(), (std::vector<std::string>{"Main", "Name", "Keys[  0]", "Keys[  1]", "Keys[  2]", "Ok"}));
    // The file writes the clicked control last.
    const std::string text = writeText(b.doc);
    EXPECT_LT(text.find("button Keys[3],Main;\r\n  position"), text.find("button Ok,Main;\r\n  position"));

    EXPECT_TRUE(b.designer.click(*b.doc.controls()[3], true).raised);  // Keys[1] with Shift
    EXPECT_EQ(b.designer.selection().count(), 4) << "Ok and the three elements";
    EXPECT_EQ(b.designer.selection().dominant()->arrayIndex, 1);
    EXPECT_EQ(b.designer.selection().dominant()->tracker.style, DesignerSelection::kDominantStyle);
    EXPECT_EQ(ok.tracker.style, DesignerSelection::kSelectedStyle);
    EXPECT_TRUE(b.designer.click(*b.doc.controls()[0], false).onFrame);
    EXPECT_EQ(b.designer.selection().count(), 4) << "a click on the frame changes nothing";

    b.designer.rubberBand(FormRect{70, 0, 0, 30});  // drawn right to left
    EXPECT_EQ(b.designer.selection().count(), 2) << "Name and Ok; the frame is never taken";
    EXPECT_EQ(b.designer.selection().dominant()->name, "Name");
}

TEST(FormDesignerUndo, TheOldestRecordGoesAt201) {
    CVARNFBControl c(kind::Text);
    FormUndoList list;
    for (int i = 0; i < 201; ++i) {
        c.rect().left = i;
        list.push(CVARNfbUndo(CVARNfbUndo::Modified, c));
    }
    EXPECT_EQ(list.size(), 200u);
    EXPECT_EQ(list.at(0).record.rect().left, 200);
    EXPECT_EQ(list.at(199).record.rect().left, 1) << "record 0 was discarded";
}

TEST(FormDesignerUndo, DeleteTakesArraysWholeAndUndoRestoresTheOrder) {
    Bench b;
    b.add(kind::Label, "Title", 0, 0);
    b.addArray("Keys", 3, 0);
    CVARNFBControl& grid = b.add(kind::Grid, "Table", 0, 80, 90, 30);
    grid.displayRows = 2;
    CVARNFBControl column(kind::Text);
    column.name = "Col";
    column.columnWidth = 100;
    grid.appendGridColumn(column);
    const auto before = b.names();
    b.designer.click(*b.doc.controls()[3], false);  // Keys[1]
    b.designer.click(grid, true);
    b.designer.deleteSelected();
    EXPECT_EQ(b.names(), (std::vector<std::string>{"Main", "Title"}));
    EXPECT_EQ(b.designer.selection().dominant(), nullptr);
    // Two click records, then one delete record for each of the four.
    ASSERT_EQ(b.designer.undoList().size(), 6u);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(b.designer.undo());
    EXPECT_EQ(b.names(), (std::vector<std::string>{"Main", "Title", "Keys[  0]", "Keys[  2]", "Keys[  1]", "Table"}));
    EXPECT_EQ(b.doc.controls().back()->cells.size(), 2u) << "the grid comes back with its cells";
    EXPECT_NE(before, b.names()) << "the clicks had reordered the list";
    EXPECT_TRUE(b.designer.modified());
}

TEST(FormDesignerUndo, TrackingRecordsAndUndoesAMove) {
    Bench b;
    CVARNFBControl& ok = b.add(kind::Button, "Ok", 10, 10);
    b.designer.click(ok, false);
    b.designer.finishTrack(ok, ok.rect());
    EXPECT_TRUE(b.designer.undoList().empty()) << "a click that moved nothing leaves no record";
    b.designer.click(ok, false);
    b.designer.finishTrack(ok, FormRect{155, 30, 175, 40});
    EXPECT_EQ(ok.rect(), (FormRect{139, 30, 159, 40}));
    EXPECT_TRUE(b.designer.undo());
    EXPECT_EQ(ok.rect(), (FormRect{10, 10, 30, 20}));
    EXPECT_TRUE(ok.selected) << "undo keeps the selection";
}

TEST(FormDesignerCommands, EnablingRules) {
    using C = DesignerCommand;
    Bench b;
    CVARNFBControl& a = b.add(kind::Button, "A", 0, 20);
    CVARNFBControl& m = b.add(kind::Button, "M", 30, 20);
    CVARNFBControl& z = b.add(kind::Button, "Z", 90, 20);
    const struct {
        std::vector<CVARNFBControl*> selected;
        bool lockLast;
        C command;
        bool enabled;
    } cases[] = {
        {{}, false, C::Copy, false},
        {{&a}, false, C::Copy, true},
        {{&a}, false, C::AlignLeft, false},
        {{&a, &m}, false, C::AlignLeft, true},
        {{&a, &m}, false, C::SameBoth, true},
        {{&a, &m}, false, C::SpaceAcross, false},
        {{&a, &m, &z}, false, C::SpaceDown, true},
        {{&a, &m, &z}, true, C::SpaceAcross, false},
        {{&a}, true, C::CentreVertical, false},
        {{&a, &m}, true, C::CentreHorizontal, true},
        {{&a}, false, C::GoToInvoker, true},
        {{&a, &m}, false, C::GoToInvoker, false},
        {{}, false, C::Undo, false},
        {{}, false, C::Paste, false},
        {{}, false, C::SelectAll, true},
        {{}, false, C::SnapToGrid, false},
    };
    for (const auto& c : cases) {
        b.designer.selection().clear();
        for (CVARNFBControl* x : {&a, &m, &z}) x->locked = false;
        for (CVARNFBControl* x : c.selected) b.designer.selection().select(*x);
        if (c.lockLast) c.selected.back()->locked = true;
        EXPECT_EQ(b.designer.state(c.command).enabled, c.enabled)
            << FormDesigner::commandText(c.command) << " with " << c.selected.size();
    }
    EXPECT_TRUE(b.designer.state(C::ToggleFrame).checked);
    EXPECT_TRUE(b.designer.state(C::Deselect).checked);
    b.designer.run(C::AddGrid);
    EXPECT_TRUE(b.designer.state(C::AddGrid).checked);
    EXPECT_FALSE(b.designer.state(C::Deselect).checked);
}

TEST(FormDesignerCommands, SpaceEvenlyAndSameSizeOnTheForm) {
    Bench b;
    CVARNFBControl& a = b.add(kind::Button, "A", 0, 0);
    CVARNFBControl& m = b.add(kind::Button, "M", 25, 30);
    CVARNFBControl& z = b.add(kind::Button, "Z", 100, 60);
    b.designer.selectAll();
    b.designer.spaceEvenly(Axis::Horizontal);
    EXPECT_EQ(a.rect().left, 0);
    EXPECT_EQ(m.rect().left, 50);
    EXPECT_EQ(z.rect().left, 100);
    EXPECT_EQ(b.designer.undoList().size(), 1u) << "only the middle one moved";

    b.addArray("Keys", 3, 0);
    b.designer.selection().clear();
    b.designer.click(z, false);
    z.rect() = FormRect{100, 60, 140, 75};
    b.designer.selection().select(*b.doc.controls()[4]);  // Keys[0] only
    b.designer.makeSameSize(SameSize::Both);
    for (const auto& c : b.doc.controls())
        if (c->name == "Keys") {
            EXPECT_EQ(c->rect().width() * 100 + c->rect().height(), 4015) << c->arrayIndex;
        }
}

TEST(FormDesignerCommands, NudgeMovesTogetherOnlyInsideTheForm) {
    Bench b;
    CVARNFBControl& a = b.add(kind::Button, "A", 1, 10);
    CVARNFBControl& c = b.add(kind::Button, "C", 50, 10);
    CVARNFBControl& locked = b.add(kind::Button, "L", 0, 100);
    locked.locked = true;
    b.designer.selectAll();
    EXPECT_TRUE(b.designer.nudge(NudgeKey::Left));
    EXPECT_EQ(a.rect().left, 0);
    EXPECT_EQ(c.rect().left, 49);
    EXPECT_EQ(locked.rect().left, 0);
    EXPECT_FALSE(b.designer.nudge(NudgeKey::Home)) << "A would leave the form";
    EXPECT_EQ(c.rect().left, 49);
    EXPECT_TRUE(b.designer.undoList().empty());
}

TEST(FormDesignerCommands, ShiftArrowResizesOnlyWhileEveryControlFits) {
    Bench b;
    CVARNFBControl& a = b.add(kind::Button, "A", 10, 10, 2, 10);
    CVARNFBControl& c = b.add(kind::Button, "C", 50, 10, 20, 10);
    b.designer.selectAll();
    EXPECT_TRUE(b.designer.resizeStep(NudgeKey::Down));
    EXPECT_EQ(a.rect().height() * 100 + c.rect().height(), 1111);
    EXPECT_TRUE(b.designer.resizeStep(NudgeKey::Left));
    EXPECT_EQ(a.rect().width(), 1);
    EXPECT_FALSE(b.designer.resizeStep(NudgeKey::Left)) << "A would lose its last unit";
    EXPECT_EQ(c.rect().width(), 19);
    c.rect() = FormRect{130, 10, 159, 20};
    EXPECT_FALSE(b.designer.resizeStep(NudgeKey::Right)) << "C would leave the form";
    EXPECT_TRUE(b.designer.undoList().empty());
}

TEST(FormDesignerCommands, TabCyclesInListOrderWithoutTheFrameOrReordering) {
    Bench b;
    b.add(kind::Button, "A", 10, 10);
    b.add(kind::Button, "B", 40, 10);
    b.designer.addControl(kind::Label);  // waiting to be placed: left out
    const std::vector<std::string> before = b.names();
    struct Step {
        bool back;
        const char* name;
    };
    for (const Step& s : {Step{false, "A"}, Step{false, "B"}, Step{false, "A"}, Step{true, "B"}, Step{true, "A"}}) {
        ASSERT_TRUE(b.designer.cycle(s.back));
        EXPECT_EQ(b.designer.selection().dominant()->name, s.name);
        EXPECT_EQ(b.designer.selection().count(), 1);
    }
    EXPECT_EQ(b.names(), before);
    b.designer.selectOnly(*b.doc.controls()[0]);
    EXPECT_FALSE(b.designer.selection().any()) << "choosing the frame selects nothing";
}

TEST(FormDesignerClipboard, PasteGroupsArrayElementsAndNamesAfresh) {
    Bench b;
    ControlCounter::reset(100);
    b.addArray("Keys", 3, 0);
    CVARNFBControl& single = b.add(kind::Text, "Name", 10, 100);
    b.designer.selection().select(*b.doc.controls()[3]);  // Keys[2]
    b.designer.selection().select(*b.doc.controls()[1]);  // Keys[0]
    b.designer.selection().select(single);
    b.designer.copy();
    ASSERT_TRUE(b.designer.state(DesignerCommand::Paste).enabled);
    ASSERT_TRUE(b.designer.paste());
    EXPECT_EQ(b.names(), (std::vector<std::string>{"Main", "Keys[  0]", "Keys[  1]", "Keys[  2]", "Name", "Text100",
                                                   "Button101[  0]", "Button101[  1]"}));
    const auto& list = b.doc.controls();
    EXPECT_EQ(list[5]->arrayCount, 0);
    EXPECT_EQ(list[6]->rect().left, 0) << "element 0 of the new array is the old Keys[0]";
    EXPECT_EQ(list[7]->rect().left, 50);
    EXPECT_EQ(list[7]->arrayCount, 2);
    EXPECT_EQ(b.designer.undoList().size(), 3u);
    EXPECT_EQ(b.designer.selection().count(), 3);
}

TEST(FormDesignerClipboard, GridCellsTravelWithTheirGrid) {
    Bench b;
    ControlCounter::reset(0);
    b.designer.addControl(kind::Grid);
    b.designer.placePending(20, 20);
    CVARNFBControl& grid = *b.doc.controls().back();
    EXPECT_EQ(grid.displayRows, 3);
    EXPECT_EQ(grid.dataRows, 3);
    ASSERT_EQ(grid.cells.size(), 3u);
    EXPECT_EQ(grid.gridColumn(0)->columnWidth, 100);
    EXPECT_EQ(grid.cells[2]->name, grid.cells[0]->name) << "one column, one name";
    b.designer.copy();
    b.designer.paste();
    const CVARNFBControl& copy = *b.doc.controls().back();
    ASSERT_EQ(copy.cells.size(), 3u);
    EXPECT_NE(copy.cells[0]->name, grid.cells[0]->name);
    EXPECT_EQ(copy.cells[1]->name, copy.cells[0]->name);
    EXPECT_EQ(copy.cells[2]->arrayIndex, 2);
}

TEST(FormDesignerClipboard, BadBlocksAreRefused) {
    Bench b;
    CVARNFBControl one(kind::Button);
    CVARNFBControl grid(kind::Grid);
    grid.displayRows = 2;
    const std::string block = FormClipboardBlock::write({&one});
    std::string twoCounted = block;
    twoCounted[0] = 2;
    std::string frameBlock = block;
    frameBlock[4] = kind::Frame;
    std::string gridBlock = FormClipboardBlock::write({&grid});
    gridBlock.replace(4 + grid.packedSize(), 4, std::string("\x01\0\0\0", 4));  // one cell of two rows
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"short count", std::string("\x01\0", 2)},
        {"count larger than the data", std::string("\xff\xff\xff\x7f", 4) + block.substr(4)},
        {"one record counted as two", twoCounted},
        {"cut inside a string", block.substr(0, block.size() - 1)},
        {"a frame", frameBlock},
        {"cells not filling a column", gridBlock},
    };
    for (const auto& c : cases) {
        b.ui.clear();
        b.clipboard.block = c.bytes;
        EXPECT_FALSE(b.designer.paste()) << c.what;
        EXPECT_EQ(b.ui.texts(), std::vector<std::string>{"Could not paste, error 13"}) << c.what;
    }
    b.clipboard.block = block + "padding";
    EXPECT_TRUE(b.designer.paste()) << "bytes after the block are allowed";
    b.clipboard.failWith = 1418;
    b.ui.clear();
    EXPECT_FALSE(b.designer.paste());
    EXPECT_EQ(b.ui.lastText(), "Could not paste, error 1418");
}

TEST(FormDesignerCommands, GoToInvokerMessages) {
    const struct {
        int kind;
        const char* name;
        const char* invokes;
        const char* searched;  // null: nothing searched
        const char* message;
    } cases[] = {
        {kind::Label, "Title", "", nullptr, "This control type does not allow invoker functions."},
        {kind::Button, " ", "", nullptr, "Please enter an invoker function name."},
        {kind::Button, "Ok", "  OnOk ", "OnOk", nullptr},
        {kind::Text, "Name", "", "Name", nullptr},
    };
    for (const auto& c : cases) {
        Bench b;
        std::string searched;
        b.designer.setInvokerSearch([&](const std::string& name) {
            searched = name;
            return std::optional<FindLocation>();
        });
        CVARNFBControl& x = b.add(c.kind, c.name, 0, 20);
        x.invokes = c.invokes;
        b.designer.click(x, false);
        b.designer.run(DesignerCommand::GoToInvoker);
        EXPECT_EQ(searched, c.searched ? c.searched : "") << c.name;
        EXPECT_EQ(b.ui.lastText(), c.message ? c.message : "") << c.name;
    }
}

// Text 6 pixels a character, 10 high; one project image "Logo" of 33 x 21.
struct FixedMeasure : FormMeasure {
    PixelSize textExtent(const FormFont&, const std::string& text) override {
        return {6 * static_cast<int>(text.size()), 10};
    }
    std::optional<PixelSize> bitmapSize(const std::string& name) override {
        if (name == "Logo") return PixelSize{33, 21};
        return std::nullopt;
    }
};

TEST(FormDesignerCommands, SizeToContentTakesBitmapOrText) {
    const struct {
        int kind;
        const char* display;
        const char* bitmap;
        FormRect out;
    } cases[] = {
        {kind::Label, "Hello", "Logo", {10, 20, 43, 41}},
        {kind::Label, "Hello", "Missing", {10, 20, 40, 30}},  // no such image: the text
        {kind::Text, "abc", "", {10, 20, 38, 36}},            // 18 + 2 x 2 padding + 2 x (2 + 1) frame
        {kind::Button, "Ok", "", {10, 20, 40, 42}},
        {kind::Label, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "", {3, 20, 159, 30}},  // pulled back inside
        {kind::Grid, "", "", {10, 20, 30, 30}},                             // a grid keeps its size
    };
    for (const auto& c : cases) {
        Bench b;
        FixedMeasure measure;
        b.designer.setMeasure(&measure);
        CVARNFBControl& x = b.add(c.kind, "X", 10, 20);
        x.display = c.display;
        x.bitmap = c.bitmap;
        b.designer.click(x, false);
        b.designer.run(DesignerCommand::SizeToContent);
        EXPECT_EQ(x.rect(), c.out) << c.display << " " << c.bitmap;
    }
}

TEST(FormDesignerCommands, ToggleFrameStatusTextAndLock) {
    RecordingUi ui;
    FormDesigner designer(std::make_unique<CVARNfbDoc>(plainEnv(480)), ui);
    CVARNfbDoc& doc = designer.doc();
    CVARNFBControl& ok = addControl(doc, kind::Button, "Ok", 30, 61, 119, 36);
    designer.click(ok, false);
    EXPECT_EQ(designer.statusText(), "Posn 10,20 Size 40x12");
    designer.run(DesignerCommand::Lock);
    EXPECT_FALSE(FormDesigner::canTrack(ok));
    designer.run(DesignerCommand::ToggleFrame);
    ASSERT_NE(doc.frame(), nullptr);
    EXPECT_EQ(doc.controls().size(), 2u);
    designer.run(DesignerCommand::ToggleFrame);
    EXPECT_EQ(doc.frame(), nullptr);
    designer.undo();
    EXPECT_NE(doc.frame(), nullptr) << "a deleted frame comes back at the head";
}

}  // namespace
}  // namespace varn::test
