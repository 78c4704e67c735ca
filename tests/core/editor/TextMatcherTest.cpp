// The search engine: literal and regular-expression texts, case, and the line
// rule (no match runs over a line end; "^" and "$" work for every line end).
#include <gtest/gtest.h>

#include "editor/TextMatcher.h"

using namespace varn;

TEST(TextMatcher, MatchesOnePerLine) {
    struct Row {
        std::string text, pattern;
        bool regex, matchCase;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"axb\na.b", "a.b", false, true, {"a.b"}},  // literal: no wildcard
        {"axb\na.b", "a.b", true, true, {"axb", "a.b"}},
        {"Hello\nHELLO\nhelp", "hello", false, false, {"Hello", "HELLO"}},
        {"Hello\nHELLO\nhello", "hello", false, true, {"hello"}},
        {"ax\r\nxb\rxc\nx", "^x", true, true, {"x", "x", "x"}},
        {"abc;\r\nd;\re;\nf;", ";$", true, true, {";", ";", ";", ";"}},
        {"a a a\nb\na", "a", false, true, {"a", "a"}},
        {"a\nb\na \tb", "a\\s+b", true, true, {"a \tb"}},
        {"ab\nc", "a[^z]*", true, true, {"ab"}},
        {"ab\ncd\nbxc", "b[^z]c", true, true, {"bxc"}},  // a cross-line match is retried per line
        {"a\r\nb\nc\rd", "\\n|\\r", true, true, {}},
        {"a\n\nb", "x*", true, true, {"", "", ""}},
        {"abc", "", true, false, {}},
        {std::string("a\0hello", 7), "hello", false, true, {"hello"}},
        {"caf\xe9\n\xc9t\xe9", "\xe9", false, true, {"\xe9", "\xe9"}},
    };
    for (const Row& r : rows) {
        auto m = TextMatcher::compile(r.pattern, r.regex, r.matchCase);
        ASSERT_TRUE(m.ok()) << m.error().message;
        std::vector<std::string> found;
        std::size_t from = 0;
        while (auto hit = m->find(r.text, from)) {
            found.emplace_back(r.text.substr(hit->begin, hit->end - hit->begin));
            if (hit->lineEnd >= r.text.size()) break;
            from = nextLineStart(r.text, hit->lineEnd);
        }
        EXPECT_EQ(found, r.expected) << ::testing::PrintToString(r.text) << " / " << r.pattern;
    }
}

TEST(TextMatcher, InvalidExpressionNamesItsOffset) {
    auto m = TextMatcher::compile("a(b", true, false);
    ASSERT_FALSE(m.ok());
    EXPECT_NE(m.error().message.find("offset 3"), std::string::npos) << m.error().message;
    EXPECT_TRUE(TextMatcher::compile("a(b", false, false).ok());
}

// Every length and sub-range is left to fuzz/fuzz_line_breaks.cpp; one text
// longer than a word step with every kind of line end stands here.
TEST(TextMatcher, LineBreakCount) {
    const std::string text = "ab\r\ncd\ref\ngh\r\n\r\rij\n\nk";
    EXPECT_EQ(countLineBreaks(text, 0, text.size()), 8u);
    EXPECT_EQ(countLineBreaks(text, 3, text.size()), 8u);  // from inside a CR LF: its LF counts
    EXPECT_EQ(countLineBreaks(text, 0, 3), 0u);            // a CR whose LF is outside the range counts with the LF
    EXPECT_EQ(countLineBreaks(text, 5, 5), 0u);
}
