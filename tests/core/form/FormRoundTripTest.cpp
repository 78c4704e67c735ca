// Reading a form back: the reader's defaults, and what is documented not to
// survive saving (the golden files cover what does).
#include <gtest/gtest.h>

#include "FormTestSupport.h"

namespace varn::test {
namespace {

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
    // Quotes inside a list item and ";" inside an expression are written as they are ...
    const std::string text = writeText(doc);
    EXPECT_NE(text.find("\r\n    \"say \"hi\"\",\r\n    \"plain\";\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n  display a; b; #Expr#\r\n"), std::string::npos);
    // ... and read back cut at the first inner quote and at the first ";", silently.
    RecordingUi ui;
    auto back = readText(text, ui);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(back->controls().size(), 2u);
    EXPECT_EQ(back->controls()[0]->listItems, (std::vector<std::string>{"say ", "plain"}));
    EXPECT_EQ(back->controls()[1]->display, "a");
    EXPECT_TRUE(back->controls()[1]->displayIsExpression);
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
