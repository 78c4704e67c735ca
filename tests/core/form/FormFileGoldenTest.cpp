// Form files written byte for byte against golden files, and read back to
// the same text.
#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "TestSupport.h"

namespace varn::test {
namespace {

// The worked example: frame Main, button Ok, dropdown Colour with its list.
std::unique_ptr<CVARNfbDoc> demoDoc() {
    auto doc = std::make_unique<CVARNfbDoc>(plainEnv());
    CVARNFBControl& main = addControl(*doc, kind::Frame, "Main", 0, 0, 160, 160);
    main.display = "Hello";
    addControl(*doc, kind::Button, "Ok", 10, 120, 40, 12).display = "Ok";
    CVARNFBControl& colour = addControl(*doc, kind::Dropdown, "Colour", 10, 30, 60, 13);
    colour.dropdownListHeight = 40;
    colour.list = "ColourList";
    colour.listSize = 3;
    colour.listItems = {"Red", "Green", "Blue"};
    return doc;
}

// A grid with a column of every kind, list blocks, bitmaps and colours per cell.
std::unique_ptr<CVARNfbDoc> gridDoc() {
    auto doc = std::make_unique<CVARNfbDoc>(plainEnv(320));
    addControl(*doc, kind::Frame, "Orders", 0, 0, 320, 320).display = "Orders";
    CVARNFBControl& grid = addControl(*doc, kind::Grid, "grdItems", 20, 40, 200, 90);
    grid.displayRows = 3;
    grid.dataRows = 12;
    grid.scrollbar = "Yes";
    grid.border = "Both";
    grid.rowLoadedInvoker = "LoadRow";
    grid.selectInvoker = "PickRow";
    grid.selectEnable = true;
    const int kinds[] = {kind::Text, kind::Dropdown, kind::Label, kind::Button, kind::Checkbox};
    const char* names[] = {"colQty", "colUnit", "colIcon", "colGo", "colDone"};
    for (int k = 0; k < 5; ++k) {
        CVARNFBControl proto(kinds[k], plainEnv(320));
        proto.name = names[k];
        proto.columnWidth = 20;
        proto.useSystemColours = true;
        grid.appendGridColumn(proto);
    }
    CVARNFBControl* unit = grid.gridColumn(1);
    unit->list = "UnitList";
    unit->listSize = 2;
    unit->listItems = {"kg", "box"};
    unit->dropdownListHeight = 30;
    for (int row = 0; row < 3; ++row) grid.cells[static_cast<std::size_t>(2 * 3 + row)]->bitmap = "Icon" + std::to_string(row);
    for (int row = 0; row < 3; ++row) {  // colQty: a colour pair per cell
        CVARNFBControl& cell = *grid.cells[static_cast<std::size_t>(row)];
        cell.useSystemColours = false;
        cell.foreground = 255u + static_cast<unsigned>(row);
        cell.background = 65280;
    }
    grid.gridColumn(3)->hardware = "Key1";
    grid.gridColumn(3)->display = "Go";
    grid.gridColumn(0)->bind = "order.qty";
    grid.gridColumn(0)->format = "##0.00";
    grid.layoutGridCells(16);
    CVARNFBControl& sel = addControl(*doc, kind::Selector, "selCity", 20, 150, 120, 60);
    sel.list = "Cities";
    sel.listSize = 4;
    sel.listItems = {"Oslo", "", "Rome"};
    sel.invokes = "CityPicked";
    return doc;
}

// On a frame with an empty display: an array of buttons, an array of labels
// with bitmaps (no colours), an array of texts with their own colours, a
// label and a checkbox showing their names, an expression display, fonts,
// flags and the lower-case keyword values.
std::unique_ptr<CVARNfbDoc> featuresDoc() {
    auto doc = std::make_unique<CVARNfbDoc>(plainEnv());
    addControl(*doc, kind::Frame, "Form1", 0, 0, 160, 160);
    auto array = [&](int kindCode, const char* name, int y) {
        std::vector<CVARNFBControl*> out;
        for (int i = 0; i < 2; ++i) {
            CVARNFBControl& e = addControl(*doc, kindCode, name, 10 + 30 * i, y, 24, 12);
            e.arrayCount = 2;
            e.arrayIndex = i;
            out.push_back(&e);
        }
        return out;
    };
    array(kind::Button, "Btn", 10);
    auto pics = array(kind::Label, "Pic", 30);
    pics[0]->bitmap = "Sun";
    pics[1]->bitmap = "Moon";
    auto fields = array(kind::Text, "Field", 50);
    fields[0]->foreground = 1;
    fields[1]->foreground = 2;
    fields[1]->background = 3;
    addControl(*doc, kind::Label, "Title", 0, 70, 50, 10).display = "Title";
    addControl(*doc, kind::Checkbox, "Agree", 0, 80, 50, 10).display = "Agree";
    CVARNFBControl& total = addControl(*doc, kind::Text, "Total", 0, 90, 40, 10);
    total.display = "1 + 2 * 3";
    total.displayIsExpression = true;
    CVARNFBControl& b = addControl(*doc, kind::Button, "Go", 0, 100, 40, 10);
    b.fontName = "Courier New";
    b.fontStyle = "Bold Italic";
    b.fontSize = 12;
    b.hidden = true;
    b.locked = true;
    b.border = "Dashed";
    b.hardware = "PageUp";
    b.invokes = "OnGo";
    CVARNFBControl& t = addControl(*doc, kind::Text, "Note", 0, 110, 40, 10);
    t.fontName = "largeboldfont";
    t.scrollbar = "Bottom";
    t.noInput = true;
    t.singleLine = true;
    addControl(*doc, kind::FileSel, "Pick", 0, 120, 40, 30).fontName = "STDFONT";  // writes no font line
    return doc;
}

// Without a frame the objects have no owner, a label named like a frame included.
std::unique_ptr<CVARNfbDoc> noFrameDoc() {
    auto doc = std::make_unique<CVARNfbDoc>(plainEnv());
    addControl(*doc, kind::Label, "Frame1", 0, 0, 40, 10);
    addControl(*doc, kind::Text, "Name", 0, 20, 40, 10);
    return doc;
}

struct GoldenCase {
    const char* golden;
    const char* fileName;
    std::unique_ptr<CVARNfbDoc> (*build)();
};

class FormGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(FormGolden, WritesByteForByteAndReadsBackToTheSameText) {
    const GoldenCase& g = GetParam();
    auto doc = g.build();
    const std::string text = writeText(*doc, g.fileName);
    EXPECT_TRUE(matchesGolden(text, g.golden));

    RecordingUi ui;
    auto back = readText(text, ui, doc->environment());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(writeText(*back, g.fileName), text);
}

INSTANTIATE_TEST_SUITE_P(Forms, FormGolden,
                         ::testing::Values(GoldenCase{"form/demo/Demo.vff", "Demo.vff", demoDoc},
                                           GoldenCase{"form/grid/Orders.vff", "Orders.vff", gridDoc},
                                           GoldenCase{"form/features/Features.vff", "Features.vff", featuresDoc},
                                           GoldenCase{"form/features/NoFrame.vff", "NoFrame.vff", noFrameDoc}));

TEST(FormGoldenRead, GridReadsCellsInColumnOrderWithTheirLists) {
    RecordingUi ui;
    auto doc = readText(readBytes(dataPath("form/grid/Orders.vff")), ui, plainEnv(320));
    ASSERT_EQ(doc->controls().size(), 3u);
    const CVARNFBControl& grid = *doc->controls()[1];
    ASSERT_EQ(grid.cells.size(), 15u);
    EXPECT_EQ(grid.gridColumnCount(), 5);
    EXPECT_EQ(grid.gridColumn(4)->kind, kind::Checkbox);
    EXPECT_EQ(grid.gridColumn(1)->listItems, (std::vector<std::string>{"kg", "box"}));
    EXPECT_EQ(grid.cells[7]->bitmap, "Icon1");
    EXPECT_EQ(grid.cells[7]->arrayIndex, 1);
    EXPECT_EQ(grid.cells[7]->arrayCount, 3);
    EXPECT_FALSE(grid.cells[0]->useSystemColours);
    EXPECT_EQ(grid.cells[2]->foreground, 257u);
    EXPECT_TRUE(grid.cells[3]->useSystemColours);
    EXPECT_EQ(grid.cells[10]->hardware, "key1") << "cells copy their column's first cell";
    const CVARNFBControl& sel = *doc->controls()[2];
    EXPECT_EQ(sel.listSize, 4);
    EXPECT_EQ(sel.listItems, (std::vector<std::string>{"Oslo", "", "Rome"}));
}

}  // namespace
}  // namespace varn::test
