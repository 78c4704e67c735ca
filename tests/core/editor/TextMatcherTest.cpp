// The search engine: literal and regular-expression texts, case, and the line
// rule (no match runs over a line end; "^" and "$" work for every line end).
#include <gtest/gtest.h>

#include <optional>

#include "editor/FindInFiles.h"
#include "editor/LiteralSearch.h"
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

namespace {

// Every match of a search, one per line, as (offset, length) pairs.
std::vector<std::pair<std::size_t, std::size_t>> allMatches(const TextMatcher& m, const std::string& text) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    std::size_t from = 0;
    while (auto hit = m.find(text, from)) {
        found.emplace_back(hit->begin, hit->end - hit->begin);
        if (hit->lineEnd >= text.size()) break;
        from = nextLineStart(text, hit->lineEnd);
    }
    return found;
}

}  // namespace

// An expression is only run on the lines that hold its required text; the
// same expression in a group that reads none ("(?:...)") is run over the
// whole text. Both must find the same.
TEST(TextMatcher, RequiredTextOnlyNarrowsTheSearch) {
    const std::string text =
        "function total_sum(a, b);\r\n  FUNCTION Total_Sum ;\n\tfunction  other();\r"
        "x = total_sum(1, 2)  # function\r\nab abbbc ac a.c\nfunctionfunction\n\nend;\r\n# tail function";
    const std::string patterns[] = {
        FindInFiles::withName(FindInFiles::kFunctionPattern, "total_sum"),
        FindInFiles::kAllFunctionsPattern,
        "function",
        "ab+c",          "a\\.c$",
        "b*c",           "sum\\(",
        "n$",            "[a-z]+_sum",
        "(function)+",   "tail function$",
    };
    for (const std::string& p : patterns)
        for (bool matchCase : {false, true}) {
            auto narrowed = TextMatcher::compile(p, true, matchCase);
            auto whole = TextMatcher::compile("(?:" + p + ")", true, matchCase);
            ASSERT_TRUE(narrowed.ok() && whole.ok()) << p;
            EXPECT_EQ(allMatches(*narrowed, text), allMatches(*whole, text)) << p << " case " << matchCase;
        }
}

TEST(LiteralSearch, RequiredTextOfAnExpression) {
    const struct {
        std::string pattern;
        std::optional<std::string> required;
    } rows[] = {
        {"^[ \t]*function[ \t]*total_sum[ \t]*[(a-z,0-9_ \t)]*;", "total_sum"},  // the longest run
        {"ab*cd", "cd"},             // an optional character leaves the run
        {"ab+cd", "ab"},             // a repeated one ends it (the first of equal runs)
        {"x\\.yz?", "x.y"},          // an escaped sign is itself
        {"[abc]def(gh)?", "def"},   // classes and groups are passed over
        {"ab{2,3}", "a"},
        {"one|two", std::nullopt},  // alternatives
        {"(?i)abc", std::nullopt},  // inline options
        {"\\x41bc", std::nullopt},  // an escape with an argument
        {"a{x}", std::nullopt},     // a brace that is no repeat
        {"\\d+\\s*", std::nullopt},
    };
    for (const auto& r : rows) EXPECT_EQ(LiteralSearch::requiredText(r.pattern), r.required) << r.pattern;
}

// Needles of every length at every offset and alignment, with and without
// case, against a plain scan.
TEST(LiteralSearch, FindsWhatAPlainScanFinds) {
    std::string text;
    std::uint32_t seed = 7;
    for (int i = 0; i < 600; ++i) {
        seed = seed * 1664525u + 1013904223u;
        text += "aAbB@`[{\n"[(seed >> 24) % 9];
    }
    auto fold = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c | 0x20);
        return s;
    };
    for (std::size_t n = 1; n <= 20; ++n)
        for (std::size_t at = 0; at + n <= text.size(); at += 37) {
            const std::string needle = text.substr(at, n);
            for (bool matchCase : {true, false}) {
                LiteralSearch search(needle, matchCase);
                for (std::size_t from : {std::size_t{0}, at / 2, at}) {
                    std::size_t expected = matchCase ? text.find(needle, from) : fold(text).find(fold(needle), from);
                    ASSERT_EQ(search.find(text, from), expected) << needle << " from " << from;
                }
            }
        }
}
