// Saving a form and reading it back: what survives, and what is documented not to.
#include <gtest/gtest.h>

#include <functional>

#include "FormTestSupport.h"

namespace varn::test {
namespace {

bool hasLine(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
}

int countLines(const std::string& text, const std::string& line) {
    int n = 0;
    for (std::size_t at = text.find("\r\n" + line + "\r\n"); at != std::string::npos;
         at = text.find("\r\n" + line + "\r\n", at + 1))
        ++n;
    return n;
}

// Adds an array of `n` elements of the kind on the document.
std::vector<CVARNFBControl*> addArray(CVARNfbDoc& doc, int kindCode, const std::string& name, int n) {
    std::vector<CVARNFBControl*> out;
    for (int i = 0; i < n; ++i) {
        CVARNFBControl& e = addControl(doc, kindCode, name, 10 + 30 * i, 40, 24, 12);
        e.arrayCount = n;
        e.arrayIndex = i;
        out.push_back(&e);
    }
    return out;
}

struct TripCase {
    const char* name;
    std::function<void(CVARNfbDoc&)> build;
    std::vector<std::string> lines;                               // lines the file must hold
    std::function<void(const CVARNfbDoc&)> check;                 // on the document read back
};

class FormRoundTrip : public ::testing::TestWithParam<TripCase> {};

TEST_P(FormRoundTrip, WritesItsLinesAndReadsBack) {
    const TripCase& tc = GetParam();
    CVARNfbDoc doc(plainEnv());
    tc.build(doc);
    const std::string text = writeText(doc);
    for (const std::string& l : tc.lines) EXPECT_TRUE(hasLine(text, l)) << "missing line: " << l;
    RecordingUi ui;
    auto back = readText(text, ui);
    EXPECT_TRUE(ui.messages.empty());
    tc.check(*back);
    EXPECT_EQ(writeText(*back), text);
}

const TripCase kTrips[] = {
    {"ButtonArrayOnFrame",
     [](CVARNfbDoc& d) {
         addControl(d, kind::Frame, "Form1", 0, 0, 160, 160);
         addArray(d, kind::Button, "Btn", 3);
     },
     {"button Btn[3],Form1;", "  position 10,40;", "  position 40,40;", "  position 70,40;"},
     [](const CVARNfbDoc& d) {
         ASSERT_EQ(d.controls().size(), 4u);
         for (int i = 0; i < 3; ++i) {
             const CVARNFBControl& e = *d.controls()[static_cast<std::size_t>(i + 1)];
             EXPECT_EQ(e.name, "Btn");
             EXPECT_EQ(e.arrayCount, 3);
             EXPECT_EQ(e.arrayIndex, i);
             EXPECT_EQ(e.rect(), (FormRect{10 + 30 * i, 40, 34 + 30 * i, 52}));
         }
     }},
    {"ArrayWithBitmapsHasNoColours",
     [](CVARNfbDoc& d) {
         auto e = addArray(d, kind::Label, "Pic", 2);
         e[0]->bitmap = "Sun";
         e[1]->bitmap = "Moon";
     },
     {"  bitmap Sun;", "  bitmap Moon;"},
     [](const CVARNfbDoc& d) {
         ASSERT_EQ(d.controls().size(), 2u);
         EXPECT_EQ(d.controls()[1]->bitmap, "Moon");
         EXPECT_TRUE(d.controls()[0]->useSystemColours);
         EXPECT_TRUE(d.controls()[1]->useSystemColours);
     }},
    {"ArrayWithOwnColours",
     [](CVARNfbDoc& d) {
         auto e = addArray(d, kind::Text, "Field", 2);
         e[0]->foreground = 1;
         e[1]->foreground = 2;
         e[1]->background = 3;
     },
     {"  foreground 1;", "  foreground 2;", "  background 3;"},
     [](const CVARNfbDoc& d) {
         EXPECT_EQ(d.controls()[1]->foreground, 2u);
         EXPECT_EQ(d.controls()[1]->background, 3u);
         EXPECT_FALSE(d.controls()[1]->useSystemColours);
     }},
    {"FrameWithEmptyDisplay",
     [](CVARNfbDoc& d) { addControl(d, kind::Frame, "Blank", 0, 0, 160, 160); },
     {"frame Blank;", "  display \"\";"},
     [](const CVARNfbDoc& d) {
         ASSERT_EQ(d.controls().size(), 1u);
         EXPECT_EQ(d.controls()[0]->display, "");
     }},
    {"LabelKeepsDisplayEqualToName",
     [](CVARNfbDoc& d) {
         addControl(d, kind::Label, "Title", 0, 0, 50, 10).display = "Title";
         addControl(d, kind::Checkbox, "Agree", 0, 20, 50, 10).display = "Agree";
     },
     {"  display \"Title\";", "  checkbox;"},
     [](const CVARNfbDoc& d) {
         EXPECT_EQ(d.controls()[0]->display, "Title");
         EXPECT_EQ(d.controls()[1]->kind, kind::Checkbox);
         EXPECT_EQ(d.controls()[1]->display, "");
     }},
    {"ExpressionDisplay",
     [](CVARNfbDoc& d) {
         CVARNFBControl& t = addControl(d, kind::Text, "Total", 0, 0, 40, 10);
         t.display = "1 + 2 * 3";
         t.displayIsExpression = true;
     },
     {"  display 1 + 2 * 3; #Expr#"},
     [](const CVARNfbDoc& d) {
         EXPECT_EQ(d.controls()[0]->display, "1 + 2 * 3");
         EXPECT_TRUE(d.controls()[0]->displayIsExpression);
     }},
    {"FontsHiddenLockedAndGroups",
     [](CVARNfbDoc& d) {
         CVARNFBControl& b = addControl(d, kind::Button, "Go", 0, 0, 40, 10);
         b.fontName = "Courier New";
         b.fontStyle = "Bold Italic";
         b.fontSize = 12;
         b.hidden = true;
         b.locked = true;
         b.border = "Dashed";
         b.hardware = "PageUp";
         b.invokes = "OnGo";
         CVARNFBControl& t = addControl(d, kind::Text, "Note", 0, 20, 40, 10);
         t.fontName = "largeboldfont";
         t.scrollbar = "Bottom";
         t.noInput = true;
         t.singleLine = true;
         addControl(d, kind::FileSel, "Pick", 0, 40, 40, 30).fontName = "STDFONT";
     },
     {"  font \"Courier New\",\"Bold Italic\",12;", "  hidden;", "  #Locked#", "  border dashed;",
      "  hardware pageup;", "  invokes OnGo;", "  font \"largeboldfont\",\"\",0;", "  scrollbar bottom;",
      "  no_input;", "  single_line;"},
     [](const CVARNfbDoc& d) {
         const CVARNFBControl& b = *d.controls()[0];
         EXPECT_EQ(b.fontName, "Courier New");
         EXPECT_EQ(b.fontStyle, "Bold Italic");
         EXPECT_EQ(b.fontSize, 12);
         EXPECT_TRUE(b.hidden && b.locked);
         EXPECT_EQ(b.border, "dashed");
         EXPECT_EQ(d.controls()[1]->fontName, "largeboldfont");
         EXPECT_TRUE(d.controls()[1]->noInput && d.controls()[1]->singleLine);
         EXPECT_EQ(d.controls()[2]->fontName, "") << "stdfont writes no font line";
     }},
};

INSTANTIATE_TEST_SUITE_P(Cases, FormRoundTrip, ::testing::ValuesIn(kTrips),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormRoundTrip, ButtonDisplayEqualToNameIsNotWritten) {
    CVARNfbDoc doc(plainEnv());
    addControl(doc, kind::Button, "Ok", 0, 0, 40, 10).display = "Ok";
    EXPECT_EQ(writeText(doc).find("display"), std::string::npos);
}

TEST(FormRoundTrip, WithoutFrameObjectsHaveNoOwner) {
    CVARNfbDoc doc(plainEnv());
    addControl(doc, kind::Label, "Frame1", 0, 0, 40, 10);  // a label, even with a frame's name
    addControl(doc, kind::Text, "Name", 0, 20, 40, 10);
    const std::string text = writeText(doc);
    EXPECT_EQ(countLines(text, "text Name;"), 2);
}

// Every kind read from a bare body gets the defaults of the reader.
TEST(FormRead, KindDefaults) {
    const std::string text =
        "text T;\r\n  position 1,1;\r\nend;\r\n"
        "button B;\r\n  position 1,1;\r\nend;\r\n"
        "button C;\r\n  checkbox;\r\nend;\r\n"
        "grid G;\r\n  number_of_display_rows 2;\r\n  position 1,1;\r\nend;\r\n"
        "filesel F;\r\n  position 1,1;\r\nend;\r\n";
    RecordingUi ui;
    auto doc = readText(text, ui);
    ASSERT_EQ(doc->controls().size(), 5u);
    const auto& c = doc->controls();
    EXPECT_EQ(c[0]->scrollbar, "None");
    EXPECT_TRUE(c[0]->useSystemColours);
    EXPECT_FALSE(c[0]->selectEnable);
    EXPECT_EQ(c[1]->border, "Default");
    EXPECT_EQ(c[1]->hardware, "None");
    EXPECT_EQ(c[2]->kind, kind::Checkbox);
    EXPECT_EQ(c[2]->border, "");
    EXPECT_EQ(c[3]->border, "None");
    EXPECT_EQ(c[3]->scrollbar, "None");
    EXPECT_EQ(c[4]->scrollbar, "");
}

TEST(FormRoundTrip, DocumentedLosses) {
    CVARNfbDoc doc(plainEnv());
    CVARNFBControl& dd = addControl(doc, kind::Dropdown, "Dd", 0, 0, 40, 10);
    dd.list = "L";
    dd.listSize = 2;
    dd.listItems = {"say \"hi\"", "plain"};
    CVARNFBControl& t = addControl(doc, kind::Text, "Ex", 0, 20, 40, 10);
    t.display = "a; b";
    t.displayIsExpression = true;
    RecordingUi ui;
    auto back = readText(writeText(doc), ui);
    ASSERT_GE(back->controls().size(), 1u);
    EXPECT_NE(back->controls()[0]->listItems, dd.listItems);
    const bool exprLost = back->controls().size() < 2 || back->controls()[1]->display != "a; b";
    EXPECT_TRUE(exprLost);
}

TEST(FormRoundTrip, ColumnWithOneColouredCellReadsBackAllColoured) {
    CVARNfbDoc doc(plainEnv());
    CVARNFBControl& g = addControl(doc, kind::Grid, "G", 0, 0, 100, 30);
    g.displayRows = 3;
    CVARNFBControl proto(kind::Text, plainEnv());
    proto.name = "C";
    proto.columnWidth = 100;
    proto.useSystemColours = true;
    g.appendGridColumn(proto);
    g.cells[0]->useSystemColours = false;
    g.cells[0]->foreground = 9;
    RecordingUi ui;
    auto back = readText(writeText(doc), ui);
    const CVARNFBControl& rg = *back->controls()[0];
    ASSERT_EQ(rg.cells.size(), 3u);
    for (const auto& cell : rg.cells) {
        EXPECT_FALSE(cell->useSystemColours);
        EXPECT_EQ(cell->foreground, 9u);
    }
}

}  // namespace
}  // namespace varn::test
