#include "ExprTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varn::test {
namespace {

TEST(ExprChecker, ResultOfTheEntryOperation) {
    struct Case {
        const char* text;
        char terminator;
        int status;
        int type;
        const char* value;
    };
    const Case cases[] = {
        {"1 + 2 * 3", ';', 0, ExprType::Number, "7"},
        {R"(upper("ab"))", ';', 0, ExprType::String, "AB"},
        {R"("abc"; more text)", ';', 0, ExprType::String, "abc"},
        {R"("abc" junk)", 'j', 0, ExprType::String, "abc"},
        {"left(\"a,b\", 2), 7", ',', 0, ExprType::String, "a,"},
        {"arr[1, 2], 7", ',', -2, ExprType::Failed, ""},
        {"1, 2", ',', 0, ExprType::Number, "1"},
        {"1, 2", ';', -2, ExprType::Failed, ""},
        {"(1, 2)", ',', -2, ExprType::Failed, ""},
        {"# only a comment", ';', -2, ExprType::Failed, ""},
        {"", ';', -2, ExprType::Failed, ""},
        {"upper()", ';', -2, ExprType::Failed, ""},
        {"avg(1, 2)", ';', -2, ExprType::Failed, ""},
        {"count", ';', -2, ExprType::Failed, ""},
        {"count + 1", ';', -1, ExprType::Failed, ""},
        {R"(upper(1))", ';', -1, ExprType::Failed, ""},
    };
    for (const Case& c : cases) {
        Outcome out = evaluateText(c.text, nullptr, c.terminator);
        EXPECT_EQ(out.status, c.status) << c.text;
        EXPECT_EQ(out.type, c.type) << c.text;
        EXPECT_EQ(out.value, c.value) << c.text;
    }
}

TEST(ExprChecker, DiagnosticsGoOnlyToTheSink) {
    std::vector<std::string> lines;
    ExprChecker checker([&](const std::string& line) { lines.push_back(line); });
    checker.check("nothing + upper(1)", ';');
    EXPECT_EQ(lines, std::vector<std::string>{"Error: nothing is unknown function/variable\n"});
    EXPECT_EQ(checker.errorCount(), 1);
    checker.check("1", ';');
    EXPECT_EQ(checker.errorCount(), 0);

    ExprChecker silent;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(silent.check("1 +", ';').status, -2);
    EXPECT_EQ(silent.errorCount(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(ExprChecker, PreviewText) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 / 3", "0.333333"},
        {"1000000", "1e+06"},
        {"123456", "123456"},
        {"0.00001", "1e-05"},
        {"-0.5", "-0.5"},
        {R"("shown as is")", "shown as is"},
        {R"("")", ""},
        {"1 +", "<Invalid Expression>"},
        {"upper(1)", "<Invalid Expression>"},
        {"Button1", "<Invalid Expression>"},
    };
    ExprChecker checker;
    for (const auto& [text, preview] : cases) EXPECT_EQ(expressionPreview(checker, text), preview) << text;
}

// Hostile input gives a status, never a crash or unbounded work (random bytes
// are left to fuzz/fuzz_expr.cpp).
TEST(ExprChecker, BadInput) {
    ExprChecker checker;
    std::string nested(10000, '(');
    EXPECT_EQ(checker.check(nested + "1" + std::string(10000, ')'), ';').status, -2);
    EXPECT_EQ(checker.check(std::string("upper(\"a\0b\")", 12), ';').status, -2);
    EXPECT_EQ(checker.check(std::string("1 + 2\0 garbage", 14), ';').status, 0);

    std::string digits(1 << 20, '7');
    ExprResult big = checker.check(digits, ';');
    EXPECT_EQ(big.status, 0);
    EXPECT_TRUE(std::isinf(big.number));

    // Long left-deep trees evaluate without deep native recursion.
    std::string sum = "length(\"abc\")";
    while (sum.size() < (1 << 20)) sum += " + length(\"abc\")";
    ExprResult total = checker.check(sum, ';');
    EXPECT_EQ(total.status, 0);
    EXPECT_GT(total.number, 100000);

    std::string text = "\"ab\"";
    while (text.size() < (1 << 20)) text += " + \"ab\"";
    ExprResult joined = checker.check(text, ';');
    EXPECT_EQ(joined.status, 0);
    EXPECT_EQ(joined.text.size() % 2, 0u);
    EXPECT_GT(joined.text.size(), 200000u);
}

}  // namespace
}  // namespace varn::test
