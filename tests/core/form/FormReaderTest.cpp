// The reading rules of the form file on small hand-made files, including the
// malformed ones: the message, or a clean stop with what was read.
#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "TestSupport.h"
#include "form/FormFileReader.h"

namespace varn::test {
namespace {

std::vector<std::string> allLines(const std::string& bytes, FormLineReader::Status* last = nullptr) {
    FormLineReader r(bytes);
    std::vector<std::string> out;
    std::string line;
    FormLineReader::Status s;
    while ((s = r.next(line)) == FormLineReader::Status::Line) out.push_back(line);
    if (last) *last = s;
    return out;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
    FormLineReader::Status end;
};

class LineReader : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineReader, SplitsAsTheFileRulesSay) {
    FormLineReader::Status end;
    EXPECT_EQ(allLines(GetParam().bytes, &end), GetParam().lines);
    EXPECT_EQ(end, GetParam().end);
}

const std::string k2047(2047, 'a');
INSTANTIATE_TEST_SUITE_P(
    Cases, LineReader,
    ::testing::Values(
        LineCase{"CrLf", "a\r\nb\r\n", {"a", "b"}, FormLineReader::Status::End},
        LineCase{"LoneLfIsStoredAsCr", "a\nb\r\n", {"a\rb"}, FormLineReader::Status::End},
        LineCase{"CrCrLf", "a\r\r\nb\r\n", {"a", "b"}, FormLineReader::Status::End},
        LineCase{"LoneCrIsDropped", "a\rb\r\n", {"ab"}, FormLineReader::Status::End},
        LineCase{"EndInsideALineDropsIt", "a\r\nb", {"a"}, FormLineReader::Status::End},
        LineCase{"NulEndsTheText", std::string("ab\0cd\r\n", 7), {"ab"}, FormLineReader::Status::End},
        LineCase{"LongestLine", k2047 + "\r\n", {k2047}, FormLineReader::Status::End},
        LineCase{"TooLong", "x\r\n" + k2047 + "b\r\nc\r\n", {"x"}, FormLineReader::Status::TooLong}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
    const char* name;
    std::string text;
    std::size_t controls;  // kept
    bool corrupt;
};

class MalformedForm : public ::testing::TestWithParam<BadCase> {};

TEST_P(MalformedForm, StopsWithTheMessageOrCleanly) {
    RecordingUi ui;
    auto doc = readText(GetParam().text, ui);
    EXPECT_EQ(doc->controls().size(), GetParam().controls);
    if (GetParam().corrupt) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Corrupted form file");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    } else {
        EXPECT_TRUE(ui.messages.empty());
    }
}

const std::string kLabel = "label L;\r\n  position 1,2;\r\nend;\r\n";
INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedForm,
    ::testing::Values(
        BadCase{"StrayEnd", kLabel + "end;\r\n" + kLabel, 1, true},
        BadCase{"UnknownHeader", kLabel + "picture P;\r\n", 1, true},
        BadCase{"EmptyName", kLabel + "text ;\r\nend;\r\n", 1, true},
        BadCase{"ForwardReferencesDropped", "text T;\r\nend;\r\nframe F;\r\nend;\r\n", 0, false},
        // The bad position line ends the object; its next line is consumed.
        BadCase{"UnscannableLineConsumesTheNext", "text T;\r\n  hidden;\r\n  position x;\r\nend;\r\n" + kLabel, 2, false},
        BadCase{"LeftoverPropertiesAreHeaders", "text T;\r\n  position x;\r\nend;\r\n  hidden;\r\nend;\r\n", 1, true},
        BadCase{"UnclosedColumnSection",
                "grid G;\r\n  number_of_display_rows 2;\r\n  position 0,0;\r\n#start grid column definitions#\r\n"
                "text C;\r\n  #Width# 100\r\nend;\r\n",
                1, false},
        BadCase{"EndOfFileInsideABody", "text T;\r\n  position 1,1;\r\n", 1, false},
        BadCase{"LongLine", kLabel + "text T;\r\n  hidden;\r\n  display \"" + std::string(3000, 'x') + "\";\r\nend;\r\n" + kLabel, 2,
                true},
        BadCase{"ColumnSectionEndOutsideAGridSkipsToEnd",
                "#end grid column definitions#\r\n  junk\r\nEND;\r\n" + kLabel, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormRead, LfOnlyFileIsCorrupt) {
    CVARNfbDoc doc(plainEnv());
    for (int i = 0; i < 40; ++i) addControl(doc, kind::Text, "Field" + std::to_string(i), 0, i, 40, 10);
    std::string text = writeText(doc);
    std::string lfOnly;
    for (char c : text)
        if (c != '\r') lfOnly += c;
    RecordingUi ui;
    auto back = readText(lfOnly, ui);
    EXPECT_EQ(ui.lastText(), "Corrupted form file");
    EXPECT_TRUE(back->controls().empty());
}

TEST(FormRead, LyingCountsDoNotGrowMemory) {
    RecordingUi ui;
    auto doc = readText(
        "button B[1000000000];\r\n  position 1,1;\r\n  position 2,2;\r\n  pixel_size 5,5;\r\nend;\r\n"
        "grid G;\r\n  number_of_display_rows 2000000000;\r\n  position 0,0;\r\n"
        "#start grid column definitions#\r\ntext C;\r\n  #Width# 50\r\nend;\r\n#end grid column definitions#\r\nend;\r\n",
        ui);
    ASSERT_EQ(doc->controls().size(), 3u);
    EXPECT_EQ(doc->controls()[0]->arrayCount, 2);
    const CVARNFBControl& grid = *doc->controls()[2];
    EXPECT_EQ(grid.displayRows, kMaxDisplayRows);
    EXPECT_EQ(grid.cells.size(), static_cast<std::size_t>(kMaxDisplayRows));
}

TEST(FormRead, RecordsAreBoundedByTheFileSize) {
    std::string text = "grid G;\r\n  number_of_display_rows 1000;\r\n  position 0,0;\r\n#start grid column definitions#\r\n";
    for (int k = 0; k < 15; ++k) text += "text C" + std::to_string(k) + ";\r\n  hidden;\r\nend;\r\n";
    text += "#end grid column definitions#\r\nend;\r\n";
    RecordingUi ui;
    auto doc = readText(text, ui);
    EXPECT_EQ(ui.lastText(), "Corrupted form file");
    ASSERT_EQ(doc->controls().size(), 1u);
    const std::size_t cells = doc->controls()[0]->cells.size();
    EXPECT_LE(cells + 1, maxRecordsFor(text.size()));
    EXPECT_EQ(cells % 1000, 0u);
}

TEST(FormRead, GridWithZeroRowsIsRepairedToOne) {
    RecordingUi ui;
    auto doc = readText(
        "grid G;\r\n  number_of_display_rows 0;\r\n  position 0,0;\r\n  pixel_size 100,20;\r\n"
        "#start grid column definitions#\r\ntext A;\r\n  #Width# 40\r\nend;\r\nlabel B;\r\n  #Width# 60\r\nend;\r\n"
        "#end grid column definitions#\r\nend;\r\n",
        ui);
    ASSERT_EQ(doc->controls().size(), 1u);
    const CVARNFBControl& g = *doc->controls()[0];
    EXPECT_EQ(g.displayRows, 1);
    ASSERT_EQ(g.cells.size(), 2u);
    EXPECT_EQ(g.cells[0]->rect(), (FormRect{0, 0, 40, 20}));
    EXPECT_EQ(g.cells[1]->rect(), (FormRect{40, 0, 100, 20}));
}

// Units: a units line scales by pixel size / units; without one the previous
// display size is used.
TEST(FormRead, UnitsFactor) {
    const std::string body = "label L;\r\n  position 10,20;\r\n  pixel_size 30,40;\r\nend;\r\n";
    struct Case {
        std::string head;
        int previous;
        FormRect expected;
    } cases[] = {
        {"# VARNunits: 160x160\r\n", 160, {30, 60, 120, 180}},
        {"# VARNunits: 320x80\r\n", 160, {15, 120, 60, 360}},
        {"", 160, {30, 60, 120, 180}},
        {"", 240, {20, 40, 80, 120}},
        {"# VARNunits: junk\r\n", 160, {30, 60, 120, 180}},
    };
    for (const Case& c : cases) {
        FormEnvironment env = plainEnv(480);
        env.previousDisplayWidth = env.previousDisplayHeight = c.previous;
        RecordingUi ui;
        auto doc = readText(c.head + body, ui, env);
        ASSERT_EQ(doc->controls().size(), 1u) << c.head;
        EXPECT_EQ(doc->controls()[0]->rect(), c.expected) << c.head << " previous " << c.previous;
    }
}

TEST(FormRead, ListBlockGoesToTheFirstControlOfExactlyThatName) {
    RecordingUi ui;
    auto doc = readText(
        "variables;\r\n  L[5] = # Pick\r\n    \"a\",\r\n    \"\",\r\n    \"c\";\r\nend;\r\n"
        "selector pick;\r\n  position 0,0;\r\nend;\r\n"
        "selector Pick;\r\n  position 0,0;\r\nend;\r\n"
        "selector Pick;\r\n  position 0,0;\r\nend;\r\n",
        ui);
    ASSERT_EQ(doc->controls().size(), 3u);
    EXPECT_EQ(doc->controls()[0]->listSize, 0);
    EXPECT_EQ(doc->controls()[1]->listSize, 5);
    EXPECT_EQ(doc->controls()[1]->listItems, (std::vector<std::string>{"a", "", "c"}));
    EXPECT_TRUE(doc->controls()[2]->listItems.empty());
}

TEST(FormRead, PropertyScans) {
    RecordingUi ui;
    auto doc = readText(
        "button B;\r\n  font \"Arial\";\r\n  border Bold  ;\r\n  bitmap  Sun ;\r\n  scrollbar;\r\n"
        "  display \"\";\r\n  #WIDTH# 7\r\n  #Width# 9\r\n  whatever 1;\r\nend;\r\n",
        ui);
    ASSERT_EQ(doc->controls().size(), 1u);
    const CVARNFBControl& b = *doc->controls()[0];
    EXPECT_EQ(b.fontName, "Arial");
    EXPECT_EQ(b.fontStyle, "");
    EXPECT_EQ(b.border, "Bold  ") << "the border keeps its trailing blanks";
    EXPECT_EQ(b.bitmap, "Sun");
    EXPECT_EQ(b.scrollbar, "yes");
    EXPECT_EQ(b.columnWidth, 9) << "#WIDTH# in another case is a comment";
}

TEST(FormRead, DropdownTakesItsClosedBoxHeight) {
    RecordingHost host;
    host.closedHeight = 14;
    CVARNfbDoc doc(plainEnv());
    doc.setPreviewHost(&host);
    RecordingUi ui;
    doc.loadBytes(readBytes(dataPath("form/demo/Demo.vff")), ui);
    ASSERT_EQ(doc.controls().size(), 3u);
    EXPECT_EQ(doc.controls()[2]->rect(), (FormRect{10, 30, 70, 44}));
    EXPECT_EQ(doc.controls()[2]->dropdownListHeight, 40);
    auto* window = dynamic_cast<RecordedWindow*>(doc.controls()[0]->window.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->texts, (std::vector<std::string>{"Hello"}));
}

TEST(FormRead, PreviewWindowsParentCells) {
    RecordingHost host;
    host.closedHeight = 14;
    CVARNfbDoc doc(plainEnv());
    doc.setPreviewHost(&host);
    RecordingUi ui;
    doc.loadBytes(readBytes(dataPath("form/grid/Orders.vff")), ui);
    ASSERT_EQ(doc.controls().size(), 3u);
    const CVARNFBControl& grid = *doc.controls()[1];
    ASSERT_EQ(grid.cells.size(), 15u);
    for (const auto& cell : grid.cells) EXPECT_NE(cell->window, nullptr);
    ASSERT_EQ(host.made.size(), 18u);
    EXPECT_FALSE(host.made[1].second);
    EXPECT_TRUE(host.made[2].second) << "cells are made inside the grid's window";
    EXPECT_EQ(grid.cells[3]->rect().height(), 15) << "cells keep the row height";
}

}  // namespace
}  // namespace varn::test
