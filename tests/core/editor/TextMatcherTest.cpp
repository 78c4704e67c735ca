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

TEST(TextMatcher, LineBreakCountAgreesWithBytewiseCount) {
    // Texts of CR, LF and letters of every length around the 8-byte steps,
    // counted over every sub-range.
    std::uint32_t seed = 7;
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = round % 40; i > 0; --i) {
            seed = seed * 1664525u + 1013904223u;
            text += "\r\nab"[(seed >> 16) % 4];
        }
        for (std::size_t from = 0; from <= text.size(); ++from)
            for (std::size_t to = from; to <= text.size(); ++to) {
                std::size_t expected = 0;
                for (std::size_t i = from; i < to; ++i)
                    expected += text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
                ASSERT_EQ(countLineBreaks(text, from, to), expected) << ::testing::PrintToString(text) << from << to;
            }
    }
}
