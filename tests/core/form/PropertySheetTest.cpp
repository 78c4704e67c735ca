// The "Object Properties" sheet's rules: the checks of each page in their
// order, the font and colour mappings, the column bitmap warnings, grid
// column moves and the sheet's OK on a control array.
#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "form/FormDesigner.h"
#include "form/GridColumns.h"
#include "form/PropertyPages.h"
#include "form/PropertyRules.h"
#include "image/DevicePalette.h"

namespace varn::test {
namespace {

using F = PropertyField;

// One page check: the record as the sheet opened it is a Button "btnOk".
struct PageCase {
    const char* what;
    void (*edit)(CVARNFBControl&);
    F field;                      // where the user is sent back; None: the page may be left
    const char* message;          // the error box, or null
    bool duplicateAsked = false;  // the project-wide check ran
};

class PageChecks : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageChecks, FirstFaultKeepsTheUserOnItsField) {
    const PageCase& c = GetParam();
    RecordingUi ui;
    CVARNFBControl original(kind::Dropdown);
    original.name = "btnOk";
    original.list = "Units";
    CVARNFBControl edited(original);
    c.edit(edited);
    int asked = 0;
    PropertyChecks checks{ui, true, [&](const CVARNFBControl&, const std::string& name, const std::string&) {
                              ++asked;
                              return name == "Taken";
                          }};
    F got = checkCommonPage(original, edited, checks);
    if (got == F::None) got = checkKindPage(original, edited, checks);
    EXPECT_EQ(got, c.field) << c.what;
    EXPECT_EQ(ui.lastText(), c.message ? c.message : "") << c.what;
    EXPECT_EQ(asked > 0, c.duplicateAsked) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageChecks,
    ::testing::Values(
        PageCase{"blank inside", [](CVARNFBControl& e) { e.name = "btn Ok"; }, F::Name, kObjectNameInvalid},
        PageCase{"blank name", [](CVARNFBControl& e) { e.name = "   "; }, F::Name, kObjectNameInvalid},
        PageCase{"leading digit", [](CVARNFBControl& e) { e.name = " 1st "; }, F::None, nullptr, true},
        PageCase{"case only", [](CVARNFBControl& e) { e.name = "BTNOK"; }, F::None, nullptr, false},
        PageCase{"clash", [](CVARNFBControl& e) { e.name = "Taken"; }, F::Name, nullptr, true},
        PageCase{"bad expression",
                 [](CVARNFBControl& e) {
                     e.displayIsExpression = true;
                     e.display = "1 +";
                 },
                 F::Display, kDisplayInvalid},
        PageCase{"plain text is no expression", [](CVARNFBControl& e) { e.display = "1 +"; }, F::None, nullptr},
        PageCase{"format ##0.0", [](CVARNFBControl& e) { e.format = "##0.0"; }, F::None, nullptr},
        PageCase{"format with comma", [](CVARNFBControl& e) { e.format = "#,#"; }, F::Format, kFormatInvalid},
        PageCase{"two points", [](CVARNFBControl& e) { e.format = "0.0.0"; }, F::Format, kFormatInvalid},
        PageCase{"list digit", [](CVARNFBControl& e) { e.list = "1Units"; }, F::List, kListNameInvalid},
        PageCase{"list blank", [](CVARNFBControl& e) { e.list = "my list"; }, F::List, kListNameInvalid},
        PageCase{"new list", [](CVARNFBControl& e) { e.list = "Sizes"; }, F::None, nullptr, true}));

struct ColumnCase {
    const char* what;
    void (*edit)(CVARNFBControl&);
    F field;
    std::string message;
};

class ColumnChecks : public ::testing::TestWithParam<ColumnCase> {};

// A grid with columns colA (Text) and colB (Dropdown); column 1 is edited.
TEST_P(ColumnChecks, ColumnPage) {
    const ColumnCase& c = GetParam();
    RecordingUi ui;
    CVARNFBControl grid(kind::Grid);
    grid.displayRows = 2;
    CVARNFBControl a(kind::Text), b(kind::Dropdown);
    a.name = "colA";
    b.name = "colB";
    b.dropdownListHeight = 30;
    grid.appendGridColumn(a);
    grid.appendGridColumn(b);
    CVARNFBControl edited(b);
    c.edit(edited);
    PropertyChecks checks{ui, true, {}};
    EXPECT_EQ(checkColumnPage(grid, 1, grid.gridColumn(1), edited, checks), c.field) << c.what;
    EXPECT_EQ(ui.lastText(), c.message) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ColumnChecks,
    ::testing::Values(ColumnCase{"unchanged", [](CVARNFBControl&) {}, F::None, ""},
                      ColumnCase{"no list height", [](CVARNFBControl& e) { e.dropdownListHeight = 0; }, F::ListHeight,
                                 kListHeightInvalid},
                      ColumnCase{"binding a.b", [](CVARNFBControl& e) { e.bind = "a.b"; }, F::None, ""},
                      ColumnCase{"binding 1a", [](CVARNFBControl& e) { e.bind = "1a"; }, F::Binding, kBindingInvalid},
                      ColumnCase{"other column's name", [](CVARNFBControl& e) { e.name = "COLA"; }, F::Name,
                                 "Object name COLA is used by grid column 0"},
                      ColumnCase{"height before name",
                                 [](CVARNFBControl& e) {
                                     e.dropdownListHeight = -1;
                                     e.name = "";
                                 },
                                 F::ListHeight, kListHeightInvalid}));

TEST(PropertyFont, DialogMappingBothWays) {
    struct Row {
        const char* style;
        int weight;
        bool italic;
    } rows[] = {{"Bold", 700, false}, {"Italic", 400, true}, {"Bold Italic", 700, true}, {"Regular", 400, false}};
    for (const Row& r : rows) {
        const FontChoice f = fontChoiceOf("Arial", r.style, 9);
        EXPECT_EQ(f.weight, r.weight) << r.style;
        EXPECT_EQ(f.italic, r.italic) << r.style;
        EXPECT_EQ(fontStyleName(r.weight, r.italic), r.style);
    }
    EXPECT_EQ(fontHeightForSize(10, 96), -13);
    EXPECT_EQ(pointSizeFromTenths(95), 9);
}

TEST(PropertyColour, ChosenColoursAreSnappedToThePalette) {
    const DevicePalette& palm = DevicePalette::palm();
    const std::uint32_t exact = palm.entry(20).packed();
    EXPECT_EQ(storedColour(exact), exact);
    const std::uint32_t nudged = exact ^ 0x010101;
    EXPECT_EQ(storedColour(nudged), palm.snapPacked(nudged));
    EXPECT_NE(storedColour(0x00123457), 0x00123457u) << "not a palette colour";
}

TEST(PropertyBitmap, ColumnCellWarnings) {
    // 100 x 39 units at one pixel a unit, 3 rows: a 50 per cent cell is 50 x 13.
    CVARNFBControl grid(kind::Grid);
    grid.displayRows = 3;
    grid.rect() = FormRect{0, 0, 100, 39};
    const FormEnvironment env = plainEnv();
    EXPECT_EQ(columnBitmapWarning(grid, 50, env, "Logo", 51, 20).value_or(""),
              "Bitmap Logo width is greater than the display object's width and may not display properly on the "
              "device.\r\n\r\nObject width is 50 and height is 13.\r\n\r\nBitmap width is 51 and height is 20.");
    EXPECT_EQ(columnBitmapWarning(grid, 50, env, "Logo", 50, 14).value_or("").substr(0, 27),
              "Bitmap Logo height is great");
    EXPECT_FALSE(columnBitmapWarning(grid, 50, env, "Logo", 50, 13));
}

TEST(PropertyRect, GridEdgesAreTruncatedOthersRounded) {
    FormEnvironment env = plainEnv(250);  // 1.5625 pixels a unit
    CVARNfbDoc doc(env);
    const FormRect units{11, 11, 46, 46};
    EXPECT_EQ(sheetRectToPixels(kind::Button, units, doc), (FormRect{17, 17, 72, 72}));
    EXPECT_EQ(sheetRectToPixels(kind::Grid, units, doc), (FormRect{17, 17, 71, 71}));
}

std::vector<std::string> columnNames(const CVARNFBControl& grid) {
    std::vector<std::string> out;
    for (const auto& cell : grid.cells) out.push_back(cell->name + std::to_string(cell->arrayIndex));
    return out;
}

TEST(GridColumnEdits, MoveBeforeAfterAndRefusals) {
    CVARNFBControl grid(kind::Grid);
    grid.displayRows = 2;
    for (const char* n : {"A", "B", "C"}) {
        CVARNFBControl col(kind::Text);
        col.name = n;
        grid.appendGridColumn(col);
    }
    RecordingUi ui;
    EXPECT_TRUE(moveGridColumn(grid, 0, 2, true, ui));
    EXPECT_EQ(columnNames(grid), (std::vector<std::string>{"B0", "B1", "C0", "C1", "A0", "A1"}));
    EXPECT_TRUE(moveGridColumn(grid, 2, 0, false, ui));
    EXPECT_EQ(columnNames(grid), (std::vector<std::string>{"A0", "A1", "B0", "B1", "C0", "C1"}));
    EXPECT_TRUE(moveGridColumn(grid, 2, 1, false, ui));
    EXPECT_EQ(columnNames(grid), (std::vector<std::string>{"A0", "A1", "C0", "C1", "B0", "B1"}));
    EXPECT_FALSE(moveGridColumn(grid, -1, 1, false, ui));
    EXPECT_EQ(ui.lastText(), kMoveColumnFirst);
    EXPECT_FALSE(moveGridColumn(grid, 1, 1, true, ui));
    EXPECT_EQ(ui.lastText(), kTwoDifferentColumns);

    EXPECT_TRUE(deleteGridColumn(grid, 1));
    grid.displayRows = 3;
    regridCells(grid, 2);
    EXPECT_EQ(columnNames(grid), (std::vector<std::string>{"A0", "A1", "A2", "B0", "B1", "B2"}));
}

// The sheet's OK on a button grown from 1 to 3 elements, then shrunk to 2.
TEST(PropertyApply, ArrayGrowsByCopiesAndShrinksFromTheEnd) {
    RecordingUi ui;
    FormDesigner designer(std::make_unique<CVARNfbDoc>(plainEnv()), ui);
    CVARNfbDoc& doc = designer.doc();
    addControl(doc, kind::Frame, "Main", 0, 0, 160, 160);
    CVARNFBControl& button = addControl(doc, kind::Button, "Keys", 10, 20, 30, 12);
    CVARNFBControl edited(button);
    edited.display = "Go";
    CVARNFBControl* kept = designer.applyProperties(button, edited, 3);
    ASSERT_EQ(kept, &button);
    EXPECT_EQ(designer.undoList().at(designer.undoList().size() - 1).action, CVARNfbUndo::Modified);
    EXPECT_EQ(designer.undoList().at(designer.undoList().size() - 1).record.display, "");
    EXPECT_EQ(designer.objectSelectorEntries(),
              (std::vector<std::string>{"Main", "Keys[  0]", "Keys[  1]", "Keys[  2]"}));
    for (const auto& c : doc.controls()) {
        if (c->kind != kind::Button) continue;
        EXPECT_EQ(c->arrayCount, 3);
        EXPECT_EQ(c->display, "Go");
        EXPECT_EQ(c->rect(), (FormRect{10, 20, 40, 32})) << "copies start on the edited control";
    }

    // Element 2 moves and takes its own bitmap; element 0 changes a shared property.
    doc.controls()[3]->rect() = FormRect{100, 20, 130, 32};
    doc.controls()[2]->bitmap = "One";
    CVARNFBControl again(button);
    again.display = "Stop";
    again.rect() = FormRect{10, 20, 50, 40};
    designer.applyProperties(button, again, 2);
    EXPECT_EQ(designer.objectSelectorEntries(), (std::vector<std::string>{"Main", "Keys[  0]", "Keys[  1]"}));
    const CVARNFBControl& second = *doc.controls()[2];
    EXPECT_EQ(second.arrayCount, 2);
    EXPECT_EQ(second.display, "Stop");
    EXPECT_EQ(second.bitmap, "One");
    EXPECT_EQ(second.rect(), (FormRect{10, 20, 50, 40})) << "own position, the edited size";
    EXPECT_EQ(designer.undoList().at(0).action, CVARNfbUndo::Deleted);
    EXPECT_EQ(designer.undoList().at(0).record.arrayIndex, 2);

    // Back to one: a single control again, and undo brings the elements back.
    designer.applyProperties(button, CVARNFBControl(button), 1);
    EXPECT_EQ(button.arrayIndex, -1);
    EXPECT_EQ(button.arrayCount, 0);
    while (designer.undo()) {
    }
    EXPECT_EQ(designer.objectSelectorEntries(), (std::vector<std::string>{"Main", "Keys"}));
    EXPECT_EQ(doc.controls()[1]->display, "");
}

}  // namespace
}  // namespace varn::test
