#include <gtest/gtest.h>

#include "ExprTestSupport.h"

namespace varn::test {
namespace {

struct ValueCase {
    const char* text;
    const char* value;  // "%g" for numbers, the text for strings
};

void expectValues(const ValueCase* begin, const ValueCase* end) {
    for (const ValueCase* c = begin; c != end; ++c) {
        Outcome out = evaluateText(c->text);
        EXPECT_EQ(out.status, 0) << c->text;
        EXPECT_EQ(out.value, c->value) << c->text;
        EXPECT_TRUE(out.errors.empty()) << c->text << ": " << (out.errors.empty() ? "" : out.errors[0]);
    }
}

struct ErrorCase {
    const char* text;
    const char* error;  // "" when the evaluation fails without a message
};

void expectErrors(const ErrorCase* begin, const ErrorCase* end) {
    for (const ErrorCase* c = begin; c != end; ++c) {
        Outcome out = evaluateText(c->text);
        EXPECT_EQ(out.status, -1) << c->text;
        std::vector<std::string> expected;
        if (*c->error) expected.push_back(c->error);
        EXPECT_EQ(out.errors, expected) << c->text;
    }
}

// Operands are built with day() - day() (0) and the like so that the
// operators are evaluated, not folded while parsing.
TEST(ExprEvaluator, Arithmetic) {
    const ValueCase cases[] = {
        {"1 + 2 * 3", "7"},
        {"(day - day + 7) / 0", "0"},
        {"(day - day + 7) * 2 - 1", "13"},
        {"7 % 0", "0"},
        {"7 % 3", "1"},
        {"-7 % 3", "0"},
        {"-8 % 5", "3"},
        {"8 % -5", "8"},
        {"7.9 % 3.9", "1"},
        {"4294967296 % 7", "2"},
        {"+(-3)", "3"},
        {"+3", "3"},
        {"-(1 - 4)", "3"},
        {R"("a" + "b")", "ab"},
        {R"("a" + "b" + upper("c"))", "abC"},
    };
    expectValues(std::begin(cases), std::end(cases));
}

TEST(ExprEvaluator, LogicAndComparison) {
    const ValueCase cases[] = {
        {"6 and 3", "2"},       {"6 or 3", "7"},       {"6 xor 3", "5"}, {"6.9 and 3.9", "2"}, {"-1 and 255", "255"},
        {"not 0", "1"},         {"not 5", "0"},        {"not 0.5", "0"}, {"1 < 2", "1"},       {"2 <= 2", "1"},
        {"2 >= 3", "0"},        {"3 > 2", "1"},        {"1 = 1", "1"},   {"1 <> 1", "0"},      {R"("a" = "a")", "1"},
        {R"("a" <> "a")", "0"}, {R"("a" = "A")", "0"},
    };
    expectValues(std::begin(cases), std::end(cases));
}

TEST(ExprEvaluator, OperatorErrors) {
    const ErrorCase cases[] = {
        {R"("a" + 1)", "String/numeric type conflict in expression."},
        {R"(1 + "a")", "String/numeric type conflict in expression."},
        {R"("a" - "b")", "Strings can only be added"},
        {R"("a" * 2)", "Strings can only be added"},
        {R"(2 % "a")", "Strings can only be added"},
        {R"(-"a")", "Strings can only be added"},
        {R"(+"a")", "Strings can only be added"},
        {R"("a" and 1)", "Strings can only be added"},
        {R"(1 xor "a")", "Strings can only be added"},
        {R"(not "a")", ""},
        {R"("a" < "b")", "Relative string compare not supported"},
        {R"("a" >= "b")", "Relative string compare not supported"},
        {R"(1 = "1")", "Datatype mismatch"},
        {R"("1" <> 1)", "Datatype mismatch"},
        {"upper(1)", "Mismatched function argument datatype for argument 1"},
    };
    expectErrors(std::begin(cases), std::end(cases));
}

// A node looks at the next list entry, then its left and right operands,
// and stops at the first that failed.
TEST(ExprEvaluator, EvaluationOrderStopsAtTheFirstFailure) {
    const ErrorCase cases[] = {
        {R"(upper(1) + ("a" - "b"))", "Mismatched function argument datatype for argument 1"},
        {R"(("a" - "b") + upper(1))", "Strings can only be added"},
        {R"(mid("a" - "b", 1 < "x", 2))", "Datatype mismatch"},
        {R"(mid("a", 1 < "x", "a" < "b"))", "Relative string compare not supported"},
        {R"(-("a" - "b"))", "Strings can only be added"},
    };
    expectErrors(std::begin(cases), std::end(cases));
}

}  // namespace
}  // namespace varn::test
