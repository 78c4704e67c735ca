// Payload layouts of the debugger messages: exact bytes of every builder
// (fuzz_debug_messages checks that what reads builds back to the same bytes),
// refusal of truncated or lying payloads,
// the payload size limit and the breakpoint set filtered by the file list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debug/DebugMessage.h"
#include "project/ProjectModel.h"

using namespace varn;

namespace {

Payload bytes(std::initializer_list<int> list) {
    Payload p;
    for (int b : list) p.push_back(static_cast<std::uint8_t>(b));
    return p;
}

Payload operator+(Payload a, const Payload& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Payload text(const std::string& s) {
    Payload p(s.begin(), s.end());
    p.push_back(0);
    return p;
}

}  // namespace

TEST(DebugMessage, BuildersWriteTheExactLayout) {
    struct Case {
        const char* what;
        Payload built;
        Payload expected;
    };
    const std::vector<Case> cases = {
        {"line and path", buildLineAndPath(300, "/p/a.vsl"), bytes({0x2C, 0x01}) + text("/p/a.vsl")},
        {"line clamped low", buildLineAndPath(-4, "x"), bytes({0, 0}) + text("x")},
        {"line clamped high", buildLineAndPath(70000, "x"), bytes({0xFF, 0xFF}) + text("x")},
        {"text", buildText("abc"), text("abc")},
        {"empty text", buildText(""), bytes({0})},
        {"text cut at an inner zero", buildText(std::string("ab\0cd", 5)), text("ab")},
        {"name and value", buildNameValue("x", "42"), text("x") + text("42")},
        {"text list", buildTextList({"a", "bc"}), bytes({2, 0}) + text("a") + text("bc")},
        {"empty list", buildTextList({}), bytes({0, 0})},
        {"name value list", buildNameValueList({{"a", "1"}, {"b", ""}}),
         bytes({2, 0}) + text("a") + text("1") + text("b") + text("")},
        {"pairs", buildBreakpointPairs({{5, 0}, {258, 1}}), bytes({2, 0, 5, 0, 0, 0, 2, 1, 1, 0})},
    };
    for (const Case& c : cases) EXPECT_EQ(c.built, c.expected) << c.what;
}

TEST(DebugMessage, ReadersRefuseBrokenPayloads) {
    struct Case {
        const char* what;
        Payload payload;
    };
    const std::vector<Case> lineAndPath = {
        {"empty", {}}, {"one byte", bytes({1})}, {"no path", bytes({1, 0})}, {"no zero", bytes({1, 0, 'a', 'b'})}};
    for (const Case& c : lineAndPath) EXPECT_FALSE(readLineAndPath(c.payload.data(), c.payload.size())) << c.what;

    EXPECT_FALSE(readText(nullptr, 0));
    const Payload noZero = bytes({'a', 'b'});
    EXPECT_FALSE(readText(noZero.data(), noZero.size()));
    const Payload nameOnly = text("x");
    EXPECT_FALSE(readNameValue(nameOnly.data(), nameOnly.size()));

    const std::vector<Case> lists = {
        {"no count", {}},
        {"half a count", bytes({1})},
        {"count larger than the entries", bytes({3, 0}) + text("a") + text("b")},
        {"count far beyond the payload", bytes({0xFF, 0xFF}) + text("a")},
        {"last entry without zero", bytes({2, 0}) + text("a") + bytes({'b'})},
    };
    for (const Case& c : lists) {
        EXPECT_FALSE(readTextList(c.payload.data(), c.payload.size())) << c.what;
        EXPECT_FALSE(readNameValueList(c.payload.data(), c.payload.size())) << c.what;
    }
    const Payload oddPair = bytes({1, 0}) + text("a");
    EXPECT_FALSE(readNameValueList(oddPair.data(), oddPair.size()));
    const Payload shortPair = bytes({2, 0, 1, 0, 0, 0, 1});
    EXPECT_FALSE(readBreakpointPairs(shortPair.data(), shortPair.size()));
    const Payload zeroCount = bytes({0, 0});
    EXPECT_EQ(readBreakpointPairs(zeroCount.data(), zeroCount.size()), std::vector<BreakpointPair>{});
}

TEST(DebugMessage, PayloadsNeverExceedTheLimitAndCountsMatchTheEntries) {
    // 40000 names of 9 bytes each do not fit: the list stops at a whole entry.
    std::vector<std::string> names(40000, "variable");
    const Payload list = buildTextList(names);
    EXPECT_LE(list.size(), kMaxPayload);
    const auto back = readTextList(list.data(), list.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->size(), (kMaxPayload - 2) / 9);
    EXPECT_EQ(list.size(), 2 + back->size() * 9);

    const Payload huge = buildText(std::string(100000, 'x'));
    EXPECT_EQ(huge.size(), kMaxPayload);
    EXPECT_EQ(huge.back(), 0);
    const Payload pair = buildNameValue(std::string(70000, 'n'), std::string(70000, 'v'));
    EXPECT_LE(pair.size(), kMaxPayload);
    EXPECT_TRUE(readNameValue(pair.data(), pair.size()));
    const Payload stop = buildLineAndPath(1, std::string(70000, 'p'));
    EXPECT_EQ(stop.size(), kMaxPayload);
    EXPECT_TRUE(readLineAndPath(stop.data(), stop.size()));

    std::vector<BreakpointPair> pairs(20000, {1, 0});
    const Payload many = buildBreakpointPairs(pairs);
    EXPECT_EQ(many.size(), 2 + 4 * ((kMaxPayload - 2) / 4));
    EXPECT_EQ(readBreakpointPairs(many.data(), many.size())->size(), (kMaxPayload - 2) / 4);
}

TEST(DebugMessage, BreakpointSetHoldsOnlyFilesTheRuntimeListed) {
    const std::vector<Breakpoint> breakpoints = {
        {3, "/p/Main.vsl"}, {9, "/p/other.vsl"}, {4, "/P/FORM.VFF"}, {7, "/p/main.VSL"}};
    const std::vector<std::string> files = {"/p/form.vff", "/p/main.vsl"};
    std::size_t written = 99;
    const Payload p = buildBreakpoints(breakpoints, files, &written);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(p, bytes({3, 0, 3, 0, 1, 0, 4, 0, 0, 0, 7, 0, 1, 0}));

    EXPECT_EQ(buildBreakpoints(breakpoints, {}, &written), bytes({0, 0}));
    EXPECT_EQ(written, 0u);

    // More breakpoints than a payload holds: the count still says what follows.
    std::vector<Breakpoint> lots(20000, {1, "/p/main.vsl"});
    const Payload full = buildBreakpoints(lots, files, &written);
    const auto read = readBreakpointPairs(full.data(), full.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), written);
    EXPECT_EQ(full.size(), 2 + 4 * written);
}
