// The control record and the form document without files: the packed block,
// the copy rule, naming, new forms, grid cells, fonts and units.
#include <gtest/gtest.h>

#include <climits>

#include "FormTestSupport.h"
#include "TestSupport.h"
#include "project/ProjectModel.h"

namespace varn::test {
namespace {

CVARNFBControl richRecord() {
    CVARNFBControl c(kind::Dropdown, plainEnv());
    c.rect() = FormRect{-5, 7, 300, 9000};
    c.hidden = c.locked = c.noInput = c.displayIsExpression = true;
    c.selectEnable = false;
    c.arrayCount = 4;
    c.arrayIndex = 2;
    c.fontSize = 11;
    c.foreground = 0x00ABCDEF;
    c.background = 0xFFFFFFFF;
    c.displayRows = 3;
    c.dataRows = 8;
    c.columnWidth = 25;
    c.dropdownListHeight = 40;
    c.name = "Colour";
    c.display = "upper(\"x\")";
    c.list = "ColourList";
    c.fontName = "Arial";
    c.fontStyle = "Bold";
    c.border = "Bold";
    c.format = "#0.0";
    c.bind = "rec.colour";
    return c;
}

TEST(ControlPack, BlockLayoutAndRoundTrip) {
    CVARNFBControl c = richRecord();
    c.listItems = {"a"};
    c.listSize = 5;
    c.controlId = 77;
    const std::string block = c.pack();
    std::size_t strings = 0;
    for (const std::string* s : {&c.name, &c.display, &c.list, &c.fontName, &c.fontStyle, &c.border, &c.format, &c.bind})
        strings += s->size();
    EXPECT_EQ(block.size(), 88 + strings + 16);
    EXPECT_EQ(block.size(), c.packedSize());
    EXPECT_EQ(block.substr(0, 8), std::string("\x02\0\0\0\xFB\xFF\xFF\xFF", 8)) << "kind 2, left -5, little-endian";
    EXPECT_EQ(block.substr(88, 7), std::string("Colour\0", 7));

    std::size_t offset = 0;
    auto back = CVARNFBControl::unpack(block + block, offset);
    ASSERT_TRUE(back);
    EXPECT_EQ(offset, block.size());
    CVARNFBControl expected = richRecord();  // items, list size and id are not in the block
    EXPECT_EQ(back->fields(), expected.fields());
    EXPECT_TRUE(CVARNFBControl::unpack(block + block, offset));
    EXPECT_EQ(offset, 2 * block.size());
}

TEST(ControlPack, TruncatedBlocksAreRefused) {
    const std::string block = richRecord().pack();
    for (std::size_t cut : {std::size_t{0}, std::size_t{87}, std::size_t{88}, block.size() - 1}) {
        std::size_t offset = 0;
        EXPECT_FALSE(CVARNFBControl::unpack(std::string_view(block).substr(0, cut), offset)) << cut;
        EXPECT_EQ(offset, 0u);
    }
}

TEST(ControlRecord, NewRecordValuesAndCopyRule) {
    FormEnvironment env = plainEnv();
    env.defaultForeground = 12;
    env.defaultBackground = 34;
    env.useSystemColours = true;
    CVARNFBControl fresh(kind::Text, env);  // its colours come from the environment
    EXPECT_EQ(fresh.foreground, 12u);
    EXPECT_EQ(fresh.background, 34u);
    EXPECT_TRUE(fresh.useSystemColours);

    CVARNFBControl grid = richRecord();
    grid.kind = kind::Grid;
    grid.listItems = {"x", "y"};
    grid.window = std::make_unique<RecordedWindow>();
    grid.font = FormFont{};
    grid.appendGridColumn(CVARNFBControl(kind::Text));
    const CVARNFBControl copy(grid);
    EXPECT_EQ(copy.fields(), grid.fields());
    EXPECT_EQ(copy.window, nullptr);
    EXPECT_FALSE(copy.font);
    EXPECT_TRUE(copy.cells.empty());
}

TEST(FormDocument, NamingTakesTheFirstFreeCounterValue) {
    ControlCounter::reset();
    CVARNfbDoc doc(plainEnv());
    CVARNFBControl& first = doc.append(doc.newRecord(kind::Text));
    doc.giveWindow(first);
    EXPECT_EQ(first.name, "Text0");
    EXPECT_EQ(first.controlId, 0);

    std::vector<std::string> asked;
    doc.setNameInUse([&](const CVARNFBControl&, const std::string& n) {
        asked.push_back(n);
        return n == "Label1" || n == "Label2";
    });
    CVARNFBControl& label = doc.append(doc.newRecord(kind::Label));
    doc.giveWindow(label);
    EXPECT_EQ(label.name, "Label3");
    EXPECT_EQ(label.controlId, 3);
    EXPECT_EQ(asked, (std::vector<std::string>{"Label1", "Label2", "Label3"}));

    CVARNFBControl& named = doc.append(doc.newRecord(kind::Button));
    named.name = "Ok";
    doc.giveWindow(named, nullptr, 42);
    EXPECT_EQ(named.name, "Ok");
    EXPECT_EQ(named.controlId, 42);
    EXPECT_EQ(ControlCounter::peek(), 4);
}

TEST(FormDocument, DefaultNameCheckCoversTheFormAndItsColumns) {
    ControlCounter::reset(5);
    CVARNfbDoc doc(plainEnv());
    addControl(doc, kind::Text, "text5", 0, 0, 1, 1);
    CVARNFBControl& grid = addControl(doc, kind::Grid, "G", 0, 0, 10, 10);
    CVARNFBControl column(kind::Text);
    column.name = "Text6";
    grid.appendGridColumn(column);
    CVARNFBControl& t = doc.append(doc.newRecord(kind::Text));
    doc.giveWindow(t);
    EXPECT_EQ(t.name, "Text7");
}

TEST(FormDocument, NewEmptyFormHasOneFrameAtTheHead) {
    ControlCounter::reset();
    RecordingHost host;
    CVARNfbDoc doc(plainEnv());
    doc.setPreviewHost(&host);
    addControl(doc, kind::Text, "Stale", 0, 0, 1, 1);
    doc.makeNewEmpty();
    ASSERT_EQ(doc.controls().size(), 1u);
    EXPECT_TRUE(doc.newDocument);
    ASSERT_NE(doc.frame(), nullptr);
    EXPECT_EQ(doc.frame()->name, "Frame0");
    EXPECT_NE(doc.frame()->window, nullptr);
    EXPECT_EQ(doc.ownerName(), "Frame0");

    // Saving and reading it back gives the frame again.
    TempDir dir;
    ASSERT_TRUE(doc.save(dir.file("New.vff")));
    RecordingUi ui;
    CVARNfbDoc back(plainEnv());
    auto loaded = back.load(dir.file("New.vff"), ui);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(back.controls().size(), 1u);
    EXPECT_EQ(back.controls()[0]->kind, kind::Frame);
    EXPECT_FALSE(back.load(dir.file("Missing.vff"), ui));

    FormEnvironment systemColours = plainEnv();
    systemColours.useSystemColours = true;
    ASSERT_TRUE(createEmptyFormFile(dir.file("Added.vff"), systemColours,
                                    [](const CVARNFBControl&, const std::string& n) { return n == "Frame1"; }));
    const std::string added = readBytes(dir.file("Added.vff"));
    EXPECT_NE(added.find("\r\nframe Frame2;\r\n  display \"\";\r\nend;\r\n"), std::string::npos);
}

TEST(FormDocument, PreviewTextOfExpressions) {
    CVARNfbDoc doc(plainEnv());
    CVARNFBControl c(kind::Label);
    c.display = "1 + 2";
    EXPECT_EQ(doc.previewText(c), "1 + 2");
    c.displayIsExpression = true;
    EXPECT_EQ(doc.previewText(c), "3");
    c.display = "1 +";
    EXPECT_EQ(doc.previewText(c), "<Invalid Expression>");
    doc.setExpressionPreview([](const std::string& e) { return "[" + e + "]"; });
    EXPECT_EQ(doc.previewText(c), "[1 +]");
}

TEST(FormDocument, DropdownWithoutHeightIsMeasured) {
    RecordingHost host;
    host.measure = 61;  // pixels; the y scale is 3
    CVARNfbDoc doc(plainEnv(480));
    doc.setPreviewHost(&host);
    CVARNFBControl& d = doc.append(doc.newRecord(kind::Dropdown));
    doc.giveWindow(d);
    EXPECT_EQ(d.dropdownListHeight, 20);
}

// Grid cells: c columns x r rows in column order, geometry from the widths.
TEST(GridCells, LayoutInColumnOrder) {
    CVARNFBControl grid(kind::Grid);
    grid.rect() = FormRect{100, 100, 216, 161};  // 116 x 61
    grid.displayRows = 3;
    grid.scrollbar = "YES";
    for (int w : {30, 50}) {
        CVARNFBControl col(kind::Text);
        col.columnWidth = w;
        col.name = "C" + std::to_string(w);
        grid.appendGridColumn(col);
    }
    grid.layoutGridCells(16);  // inner width 100, row height 20
    ASSERT_EQ(grid.cells.size(), 6u);
    EXPECT_EQ(grid.gridColumnCount(), 2);
    EXPECT_EQ(grid.gridColumn(1)->name, "C50");
    EXPECT_EQ(grid.cells[2]->arrayIndex, 2);
    EXPECT_EQ(grid.cells[2]->arrayCount, 3);
    EXPECT_EQ(grid.cells[0]->rect(), (FormRect{0, 0, 30, 20}));
    EXPECT_EQ(grid.cells[2]->rect(), (FormRect{0, 40, 30, 61})) << "the last row ends at the grid's height";
    EXPECT_EQ(grid.cells[4]->rect(), (FormRect{30, 20, 100, 40})) << "the last column ends at the inner width";
    grid.scrollbar = "None";
    grid.layoutGridCells(16);
    EXPECT_EQ(grid.cells[4]->rect().right, 116);
}

struct FontCase {
    const char* name;
    bool varnFonts;
    int height;
    FormFont expected;
};

class Fonts : public ::testing::TestWithParam<FontCase> {};

TEST_P(Fonts, FollowTheFontTable) {
    const FontCase& f = GetParam();
    const bool desktop = std::string(f.name) == "Courier";
    EXPECT_EQ(resolveFormFont(f.name, desktop ? "Bold Italic" : "", 0, f.varnFonts, "Arial Narrow", f.height), f.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Fonts,
    ::testing::Values(FontCase{"", true, 160, {"VARNstd", 11, false, 400, false, 0, false}},
                      FontCase{"STDFONT", false, 320, {"Arial Narrow", 23, true, 400, false, 0, false}},
                      FontCase{"boldfont", false, 160, {"Arial Narrow", 10, true, 900, false, 0, false}},
                      FontCase{"LargeBoldFont", false, 480, {"Arial Narrow", 44, true, 900, false, 0, false}},
                      FontCase{"ledfont", true, 320, {"VARNled", 30, false, 400, false, 0, false}},
                      FontCase{"symbolfont", true, 480, {"VARNsym", 33, false, 400, false, 255, false}},
                      FontCase{"Symbol7font", true, 160, {"VARNsymbol7", 8, false, 400, false, 0, false}},
                      FontCase{"largefont", false, 200, {"Arial Narrow", 18, true, 400, false, 0, false}},
                      FontCase{"Courier", false, 160, {"Courier", 11, true, 700, true, 0, true}}));

TEST(FormUnits, RoundingAndEnvironment) {
    FormEnvironment env = plainEnv(480);
    env.displayHeight = 320;
    const FormScale s = FormScale::of(env);
    EXPECT_EQ(s.unitsX(31), 10);  // 10.33
    EXPECT_EQ(s.unitsX(32), 11);  // 10.67
    EXPECT_EQ(s.unitsY(3), 2);    // 3 / 1.5 = 2
    EXPECT_EQ(s.pixelsY(3), 5);   // 4.5 rounds up
    EXPECT_EQ(unitsToPixels(2000000000, 3.0f), INT_MAX);

    ProjectModel project;
    project.setActiveConfiguration("PocketPC Release");
    project.settings.varnWidth = 200;
    const FormEnvironment p = FormEnvironment::fromProject(project);
    EXPECT_EQ(p.pixelWidth, 240);
    EXPECT_EQ(p.pixelHeight, 320);
    EXPECT_EQ(p.displayWidth, 200);
    project.settings.pocketPCFormSizeX = 0;
    EXPECT_EQ(FormEnvironment::fromProject(project).pixelWidth, 480);
}

}  // namespace
}  // namespace varn::test
