// The menu bar file: the writer against golden files, the reader on what the
// writer makes, on a file written by hand and on malformed definitions, and
// the line reader's limits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "TestSupport.h"
#include "menubar/MenuBarFile.h"

using namespace varn;
using varn::test::dataPath;
using varn::test::matchesGolden;
using varn::test::readBytes;
using Strings = std::vector<std::string>;

namespace {

CMenuItem item(const std::string& name, const std::string& display, const std::string& invokes,
               bool isExpression = false) {
    CMenuItem i;
    i.name = name;
    i.display = display;
    i.invokes = invokes;
    i.displayIsExpression = isExpression;
    return i;
}

CMenuTop top(const std::string& name, const std::string& display, bool isExpression, std::vector<CMenuItem> items) {
    CMenuTop t;
    t.name = name;
    t.display = display;
    t.displayIsExpression = isExpression;
    t.items = std::move(items);
    return t;
}

// Two bars: one with two tops (a literal and an expression display, items
// with padded texts and a blank display), one without tops.
MenuBarList demoBars() {
    return {
        CMenuBar{"Main",
                 {top("File", "File", false,
                      {item("mnuOpen", "Open...", "doOpen"), item("mnuQuit", "  Quit  ", " doQuit ")}),
                  top("Help", "\"Help \" + str(1)", true, {item("mnuAbout", "   ", "")})}},
        CMenuBar{"Second", {}},
    };
}

// The structure as text, to compare bars in one assertion with a readable diff.
std::string dump(const MenuBarList& bars) {
    std::string s;
    for (const auto& b : bars) {
        s += "bar " + b.name + "\n";
        for (const auto& t : b.tops) {
            s += " top " + t.name + (t.displayIsExpression ? " expr[" : " [") + t.display + "]\n";
            for (const auto& i : t.items)
                s += "  item " + i.name + (i.displayIsExpression ? " expr[" : " [") + i.display + "] invokes[" +
                     i.invokes + "]\n";
        }
    }
    return s;
}

std::string crlf(const std::string& lfText) {
    std::string out;
    for (char c : lfText) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

const std::string kPass2 = "#\n# VARN MenuBar Form File\nCOMPILE_IF IDE__PASS=1;\nCOMPILE_END_IF;\nCOMPILE_IF IDE__PASS=2;\n";

}  // namespace

// ------------------------------------------------------------------ writer

TEST(MenuBarWriter, ProjectWithoutMenuBarsHasOnlyHeaderAndPassMarkers) {
    EXPECT_TRUE(matchesGolden(writeMenuBarFile({}, "Demo_MenuBar.ini", "01/02/03", "04:05:06"),
                              "menubar/empty/expected.ini"));
}

TEST(MenuBarWriter, BarsTopsAndItemsInBothPasses) {
    EXPECT_TRUE(matchesGolden(writeMenuBarFile(demoBars(), "Demo_MenuBar.ini", "01/02/03", "04:05:06"),
                              "menubar/demo/expected.ini"));
}

TEST(MenuBarWriter, DateAndTimeFromTheClockInLocalTime) {
    const char* old = std::getenv("TZ");
    std::string saved = old ? old : "";
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    std::string text = writeMenuBarFile({}, "Demo_MenuBar.ini", std::time_t(1044247506));  // 2003-02-03 04:45:06
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_NE(text.find("\r\n# Date: 02/03/03\r\n# Time: 04:45:06\r\n"), std::string::npos) << text;
}

// ------------------------------------------------------------------ reader

TEST(MenuBarReader, ReadsBackWhatTheWriterWrote) {
    MenuBarReadResult r = readMenuBarFile(writeMenuBarFile(demoBars(), "x.ini", "d", "t"));
    EXPECT_TRUE(r.complete);
    // Names come back lower-cased; texts keep their case, trimmed as written;
    // a blank display is written as none and read back empty.
    EXPECT_EQ(dump(r.bars),
              "bar main\n"
              " top file [File]\n"
              "  item mnuopen [Open...] invokes[doOpen]\n"
              "  item mnuquit [Quit] invokes[doQuit]\n"
              " top help expr[\"Help \" + str(1)]\n"
              "  item mnuabout [] invokes[]\n"
              "bar second\n");
}

TEST(MenuBarReader, HandWrittenFileWithBlanksCaseAndConditionals) {
    MenuBarReadResult r = readMenuBarFile(readBytes(dataPath("menubar/handwritten/input.ini")));
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(dump(r.bars),
              "bar tools\n"
              " top edit [Cut & Paste]\n"
              "  item cut [] invokes[DoCut]\n"
              "  item paste expr[Upper(\"paste\")] invokes[]\n");
}

struct ReadCase {
    const char* what;
    std::string text;      // LF line ends; the case is run with LF and with CR LF
    const char* expected;  // dump of the bars kept
    bool complete;
};

class MenuBarReaderCases : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MenuBarReaderCases, KeepsWhatWasReadBeforeTheFault) {
    const ReadCase& c = GetParam();
    for (const std::string& text : {c.text, crlf(c.text)}) {
        MenuBarReadResult r = readMenuBarFile(text);
        EXPECT_EQ(dump(r.bars), c.expected) << c.what;
        EXPECT_EQ(r.complete, c.complete) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MenuBarReaderCases,
    ::testing::Values(
        ReadCase{"empty input", "", "", true},
        ReadCase{"no second pass", "#\nmenu_bar a;\nend;\n", "", true},
        ReadCase{"second pass empty", kPass2 + "\nCOMPILE_END_IF;\n", "", true},
        ReadCase{"last line without line end", kPass2 + "menu_bar a;\nend;", "bar a\n", true},
        ReadCase{"missing end of bar", kPass2 + "menu_bar a;\nend;\nmenu_bar b;\nmenu_top t,b;\nend;\n", "bar a\n",
                 false},
        ReadCase{"top without end", kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\n  display \"T\";\n", "", false},
        ReadCase{"item with lines out of order",
                 kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\nend;\nmenu_item i,t;\n  invokes f;\n  display \"I\";\nend;\n",
                 "", false},
        ReadCase{"display without quotes", kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\n  display T;\nend;\n", "",
                 false},
        ReadCase{"invokes on a top", kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\n  invokes f;\nend;\n", "", false},
        ReadCase{"stray end", kPass2 + "menu_bar a;\nend;\nend;\n", "bar a\n", false},
        ReadCase{"top of another bar", kPass2 + "menu_bar a;\nend;\nmenu_top t,b;\nend;\n", "bar a\n", false},
        ReadCase{"item of another top ends the top's items",
                 kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\nend;\nmenu_item i,x;\nend;\n", "bar a\n top t []\n",
                 false},
        ReadCase{"comment inside an object", kPass2 + "menu_bar a;\n# note\nend;\n", "", false},
        ReadCase{"text that is no header", kPass2 + "garbage\n", "", false},
        ReadCase{"header without name", kPass2 + "menu_bar;\nend;\n", "bar \n", true},
        ReadCase{"name up to the first comma",
                 kPass2 + "menu_bar a;\nend;\nmenu_top  x y , z,a;\nend;\n", "bar a\n top x y []\n", true},
        ReadCase{"expression display keeps its semicolons",
                 kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\n  display f(1;2); #Expr#\nend;\n",
                 "bar a\n top t expr[f(1;2)]\n", true},
        ReadCase{"quoted display keeps inner quotes",
                 kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\n  display \"say \"hi\"\";\nend;\n",
                 "bar a\n top t [say \"hi\"]\n", true},
        ReadCase{"invokes without semicolon",
                 kPass2 + "menu_bar a;\nend;\nmenu_top t,a;\nend;\nmenu_item i,t;\n  invokes  go \nend;\n",
                 "bar a\n top t []\n  item i [] invokes[go]\n", true},
        ReadCase{"skipped lines between objects",
                 kPass2 + "\n   \n#x\nCOMPILE_IF IDE__PASS=3;\nCOMPILE_ELSE;\nmenu_bar a;\nend;\n\n#\nmenu_top t,a;\nend;\n",
                 "bar a\n top t []\n", true}),
    [](const ::testing::TestParamInfo<ReadCase>& info) {
        std::string n;
        for (const char* p = info.param.what; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return n;
    });

// ------------------------------------------------------------- line reader

TEST(MenuBarLineReader, CarriageReturnsDroppedAndNulEndsTheText) {
    std::string bytes("a\rb\r\r\nc\0d\n\re", 13);
    MenuBarLineReader in(bytes);
    Strings lines;
    for (std::string line; in.next(line);) lines.push_back(line);
    EXPECT_EQ(lines, (Strings{"ab", "c", "e"}));
}

TEST(MenuBarLineReader, LongLineKeepsItsFirst2047Characters) {
    std::string bytes = std::string(3000, 'x') + "\nnext\n";
    MenuBarLineReader in(bytes);
    std::string line;
    ASSERT_TRUE(in.next(line));
    EXPECT_EQ(line.size(), 2047u);
    ASSERT_TRUE(in.next(line));
    EXPECT_EQ(line, "next");
}

TEST(MenuBarReader, OverlongDisplayLineFailsTheLoadCleanly) {
    std::string text = kPass2 + "menu_bar a;\nend;\nmenu_bar b;\nend;\nmenu_top t,b;\n  display \"" +
                       std::string(3000, 'x') + "\";\nend;\n";
    MenuBarReadResult r = readMenuBarFile(text);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(dump(r.bars), "bar a\n");
}
