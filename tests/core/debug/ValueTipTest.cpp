// The expression under the pointer and the tip text made from the reply;
// the breakpoint list's rebuild rule and the watch panes' edits.
#include <gtest/gtest.h>

#include "debug/Debugger.h"
#include "debug/ValueTip.h"
#include "debug/WatchPanes.h"

using namespace varn;

TEST(ValueTip, FindsTheExpressionUnderThePointer) {
    struct Case {
        const char* line;
        std::size_t column;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"x = count + 1", 6, "count"},
        {"x = count + 1", 4, "count"},
        {"x = count + 1", 8, "count"},
        {"a = form.field.text", 10, "form.field.text"},
        {"a = form.field.text", 5, "form.field.text"},
        {"y = list[i + 1].name", 17, "list[i + 1].name"},
        {"y = list[i + 1].name", 6, "list[i + 1].name"},
        {"y = grid[a[2]][3]", 5, "grid[a[2]][3]"},
        {"_tmp = 2", 2, "_tmp"},
        {"v2 = 0", 1, "v2"},
        {"x = 12", 5, std::nullopt},              // a number is no variable
        {"x = count + 1", 10, std::nullopt},      // pointer on "+"
        {"x = count", 40, std::nullopt},          // beyond the line
        {"s = \"count\" + n", 6, std::nullopt},   // inside a string
        {"s = \"a\" + count", 12, "count"},       // after a closed string
        {"z = ]w", 5, "w"},                       // a "]" without its "["
        {"", 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueTip::expressionAt(c.line, c.column), c.expected) << c.line << " @" << c.column;
    }
}

TEST(ValueTip, TipTextIsCutAfter76CharactersWhenLongerThan79) {
    EXPECT_EQ(ValueTip::tipText("x", "<Invalid expression>"), std::nullopt);
    EXPECT_EQ(ValueTip::tipText("x", "5"), "x = 5");
    const std::string fits = ValueTip::tipText("x", std::string(75, 'v')).value();
    EXPECT_EQ(fits.size(), 79u);
    const std::string cut = ValueTip::tipText("x", std::string(76, 'v')).value();
    EXPECT_EQ(cut, "x = " + std::string(72, 'v') + "...");
}

TEST(Debugger, RebuildReplacesOnlyTheOpenDocumentsEntries) {
    std::vector<Breakpoint> list = {{1, "/p/a.vsl"}, {2, "/p/b.vsl"}, {3, "/P/A.VSL"}};
    Debugger d(list);
    d.rebuildFrom({{"/p/a.vsl", {7, 9}}, {"/p/c.vsl", {}}});
    EXPECT_EQ(d.breakpointCount(), 3u);
    EXPECT_EQ(d.linesFor("/p/b.vsl"), std::vector<int>{2});
    EXPECT_EQ(d.linesFor("/P/a.VSL"), (std::vector<int>{7, 9}));
    EXPECT_TRUE(d.linesFor("/p/c.vsl").empty());
    d.removeAll();
    EXPECT_TRUE(list.empty());  // the project's own list
}

TEST(WatchPanes, EditsAndValues) {
    WatchPanes w;
    w.loadWatchLists({std::vector<std::string>{"a", "B", "a"}, {"x"}, {}});

    w.setValues(0, {{"A", "1"}, {"b", "2"}, {"zz", "3"}});
    EXPECT_EQ(w.items(0), (std::vector<WatchItem>{{"a", "1"}, {"B", "2"}, {"a", ""}}));  // first match only

    w.deleteRows(0, {2, 0, 7, 0});
    EXPECT_EQ(w.names(0), std::vector<std::string>{"B"});
    EXPECT_TRUE(w.deleteByName(1, "X"));
    EXPECT_FALSE(w.deleteByName(1, "x"));

    w.add(WatchPanes::kLocals, "loc", "v");
    w.add(2, "q");
    w.clearWatches();
    EXPECT_EQ(w.watchLists(), (std::array<std::vector<std::string>, 3>{}));
    EXPECT_EQ(w.items(WatchPanes::kLocals).size(), 1u);  // Clear Window leaves Locals
    w.clearLocals();
    EXPECT_TRUE(w.items(WatchPanes::kLocals).empty());
}
