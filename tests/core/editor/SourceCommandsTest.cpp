// The source view's text rules: block comments, bookmarks, the status text,
// the symbol list, Find Function and help words, and the property lists.
#include <gtest/gtest.h>

#include "editor/SourceCommands.h"
#include "project/SymbolList.h"

using namespace varn;

using Lines = std::vector<int>;

TEST(SourceCommands, BlockCommentLines) {
    struct Row {
        const char* what;
        TextSelection selection;
        int caret;
        Lines lines;
        int caretAfter;
    };
    const Row rows[] = {
        {"no selection: the caret line", {0, 0, 0, 0, false}, 7, {7}, 7},
        {"ends at column 0: that line stays", {2, 0, 5, 0, true}, 5, {2, 3, 4}, 5},
        {"ends inside a line: that line stays too", {2, 3, 5, 4, true}, 5, {2, 3, 4}, 5},
        {"within one line: nothing", {4, 1, 4, 6, true}, 4, {}, 4},
        {"made backwards", {6, 2, 3, 1, true}, 3, {3, 4, 5}, 6},
        {"two lines", {0, 0, 1, 0, true}, 1, {0}, 1},
    };
    for (const Row& r : rows) {
        BlockCommentPlan plan = blockCommentLines(r.selection, r.caret);
        EXPECT_EQ(plan.lines, r.lines) << r.what;
        EXPECT_EQ(plan.caretLine, r.caretAfter) << r.what;
    }
}

TEST(SourceCommands, CommentAndUncommentLine) {
    struct Row {
        const char* line;
        bool uncommentable;
    };
    const Row rows[] = {
        {"#x = 1;", true}, {"##x", true}, {" #x", false}, {"\t#x", false}, {"", false}, {"#", true}, {"x # y", false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(uncommentable(r.line), r.uncommentable) << r.line;
    }
}

TEST(SourceCommands, NextAndPreviousBookmark) {
    const std::vector<int> marks = {1, 4};
    struct Row {
        int caret;
        bool forward;
        std::optional<int> target;
    };
    const Row rows[] = {
        {0, true, 1}, {1, true, 4}, {4, true, 1} /* wraps */, {5, true, 1},
        {5, false, 4}, {4, false, 1}, {1, false, 4} /* wraps */, {3, false, 1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(nextFlaggedLine(marks, r.caret, r.forward), r.target) << r.caret << (r.forward ? " next" : " previous");
    EXPECT_EQ(nextFlaggedLine({1}, 1, true), 1);  // the only one: found after a full turn
    EXPECT_EQ(nextFlaggedLine({1}, 1, false), 1);
    EXPECT_EQ(nextFlaggedLine({}, 0, false), std::nullopt);
}

TEST(SourceCommands, StatusText) {
    struct Row {
        int line, column;
        const char* text;
    };
    const Row rows[] = {
        {1, 0, "Line 1 Col 1"},
        {9999, 41, "Line 9999 Col 42"},
        {10000, 0, "Ln 10000 Col 1"},
        {123456, 9, "Ln 123456 Col 10"},
    };
    for (const Row& r : rows) EXPECT_EQ(caretStatusText(r.line, r.column), r.text);
}

TEST(SourceCommands, SymbolWordAroundCaret) {
    struct Row {
        const char* line;
        int column;
        int start, end;
        const char* prefix;
    };
    const Row rows[] = {
        {"  x = MsgBo", 11, 6, 11, "msgbo"},
        {"  x = MsgBox(a)", 8, 6, 12, "msgbox"},
        {"call(\"Ab", 8, 6, 8, "ab"},
        {"a.Dis", 5, 2, 5, "dis"},
        {"x[Le", 4, 2, 4, "le"},
        {"a,b", 3, 2, 3, "b"},
        {"#Co", 3, 1, 3, "co"},
        {"%${}<>^;+-=*/Zz", 15, 13, 15, "zz"},
        {"x = ", 4, 4, 4, ""},
        {"", 0, 0, 0, ""},
        {"abc", 99, 0, 3, "abc"},
        {"tab\there", 8, 0, 8, "tab\there"},  // a tab is no delimiter
    };
    for (const Row& r : rows) {
        SymbolWord w = symbolWordAt(r.line, r.column);
        EXPECT_EQ(w.start, r.start) << r.line;
        EXPECT_EQ(w.end, r.end) << r.line;
        EXPECT_EQ(w.prefix, r.prefix) << r.line;
        EXPECT_EQ(symbolPrefix(r.line, r.column), r.prefix);
    }
}

TEST(SourceCommands, SymbolEntriesSelectionAndInsertion) {
    SymbolList list;
    list.addLines("sin;function;sin(number);Sine of an angle.\n"
                  "Abs;function;abs(number);Absolute value.\n"
                  "greeting;variable;string\n"
                  ";function;x();no name\n"
                  "ZONE;constant;3\n"
                  "beta;label;\n",
                  false);
    const std::vector<std::string> entries = symbolEntries(list);
    EXPECT_EQ(entries, (std::vector<std::string>{
                           "Abs, function abs(number) as Absolute value.",
                           "beta, label ",
                           "greeting, variable string",
                           "sin, function sin(number) as Sine of an angle.",
                           "ZONE, constant 3",
                       }));
    struct Row {
        const char* prefix;
        int selection;
    };
    const Row rows[] = {
        {"", 0}, {"a", 0}, {"abs", 0}, {"abt", 1}, {"b", 1}, {"gr", 2}, {"h", 3}, {"si", 3}, {"z", 4}, {"zonf", -1},
        {"zz", -1},
    };
    for (const Row& r : rows) EXPECT_EQ(initialSelection(entries, r.prefix), r.selection) << r.prefix;
    EXPECT_EQ(initialSelection({}, "a"), -1);

    EXPECT_EQ(insertionText(entries[0]), "Abs");
    EXPECT_EQ(insertionText("no comma"), "no comma");
    EXPECT_EQ(insertionText(""), "");
}

TEST(SourceCommands, WordsForFindFunctionAndHelp) {
    struct Row {
        const char* line;
        int column;
        const char* word;
    };
    const Row rows[] = {
        {"x = do_it(1);", 6, "do_it"}, {"x = do_it(1);", 9, "do_it"}, {"x = do_it(1);", 4, "do_it"},
        {"x = do_it(1);", 3, ""},      {"", 0, ""},                    {"abc9", 50, "abc9"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(wordAtCaret(r.line, r.column), r.word) << r.line << " @" << r.column;
        EXPECT_EQ(helpKeyword(r.line, r.column), *r.word ? r.word : "VARN Programmers Reference");
    }
}

TEST(SourceCommands, PropertyLists) {
    EXPECT_EQ(objectTypeNames().size(), 13u);
    EXPECT_EQ(propertiesOf("menu_top"), (std::vector<std::string>{"display", "object_type"}));
    EXPECT_EQ(propertiesOf("MENU_BAR"), (std::vector<std::string>{"object_type"}));
    EXPECT_EQ(propertiesOf("file").front(), "number_of_records");
    EXPECT_TRUE(propertiesOf("object").empty());
    EXPECT_TRUE(propertiesOf("dropdown").empty());
}

TEST(SourceCommands, DeclaredObjectType) {
    const std::string source =
        "# button commented\n"
        "button okButton, cancel;\n"
        "text  Name_Field;\n"
        "menu bar mainBar;\n"
        "menu   item quitItem;\n"
        "dropdown choice;\n"
        "object anything;\n"
        "label l1,\n   l2;\n"
        "numeric count;\n"
        "function f(grid g)\n"
        "  okButton.display = 1;\n"
        "  x = name_fieldx;\n"
        "  # text commented\n";
    struct Row {
        const char* name;
        std::optional<std::string> type;
    };
    const Row rows[] = {
        {"okButton", "button"},   {"OKBUTTON", "button"}, {"cancel", "button"},  {"name_field", "text"},
        {"mainBar", "menu_bar"},  {"quitItem", "menu_item"}, {"choice", "drop_down"}, {"anything", "object"},
        {"l2", "label"},          {"count", std::nullopt}, {"g", "grid"},         {"commented", std::nullopt},
        {"name", std::nullopt},   {"", std::nullopt},     {"unknown", std::nullopt},
    };
    for (const Row& r : rows) EXPECT_EQ(declaredObjectType(source, r.name), r.type) << r.name;

    // The nearest declaration before the caret wins; later text is not seen.
    EXPECT_EQ(declaredObjectType("frame f;\nbutton f;\n", "f"), "button");
    EXPECT_EQ(declaredObjectType("frame f;\n", "f"), "frame");
    EXPECT_EQ(declaredObjectType("x = f;\n", "f"), std::nullopt);

    EXPECT_EQ(autoPropertyType(source + "  cancel"), "button");
    EXPECT_EQ(autoPropertyType(source + "  cancel "), std::nullopt);
    EXPECT_EQ(autoPropertyType(source + "  count"), std::nullopt);
}
