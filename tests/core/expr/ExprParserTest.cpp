#include <gtest/gtest.h>

#include "ExprTestSupport.h"

namespace varn::test {
namespace {

struct TreeCase {
    const char* text;
    const char* tree;
};

void expectTrees(const TreeCase* begin, const TreeCase* end) {
    for (const TreeCase* c = begin; c != end; ++c) EXPECT_EQ(treeOf(c->text), c->tree) << c->text;
}

// String constants keep operators from being folded, so the shape shows.
TEST(ExprParser, EachLevelBindsTighterThanTheOneBefore) {
    const TreeCase cases[] = {
        {R"("a" or "b" and "c")", "(or a (and b c))"},   {R"("a" and "b" or "c")", "(or (and a b) c)"},
        {R"("a" and "b" xor "c")", "(and a (xor b c))"}, {R"("a" xor "b" and "c")", "(and (xor a b) c)"},
        {R"("a" xor "b" = "c")", "(xor a (= b c))"},     {R"("a" = "b" xor "c")", "(xor (= a b) c)"},
        {R"("a" = "b" <> "c")", "(= a (<> b c))"},       {R"("a" <> "b" = "c")", "(= (<> a b) c)"},
        {R"("a" <> "b" > "c")", "(<> a (> b c))"},       {R"("a" > "b" <> "c")", "(<> (> a b) c)"},
        {R"("a" > "b" < "c")", "(> a (< b c))"},         {R"("a" < "b" > "c")", "(> (< a b) c)"},
        {R"("a" < "b" >= "c")", "(< a (>= b c))"},       {R"("a" >= "b" < "c")", "(< (>= a b) c)"},
        {R"("a" >= "b" <= "c")", "(>= a (<= b c))"},     {R"("a" <= "b" >= "c")", "(>= (<= a b) c)"},
        {R"("a" <= "b" + "c")", "(<= a (+ b c))"},       {R"("a" - "b" <= "c")", "(<= (- a b) c)"},
        {R"("a" + "b" * "c")", "(+ a (* b c))"},         {R"("a" % "b" - "c")", "(- (% a b) c)"},
    };
    expectTrees(std::begin(cases), std::end(cases));
}

TEST(ExprParser, EveryLevelIsLeftAssociative) {
    const TreeCase cases[] = {
        {R"("a" or "b" or "c")", "(or (or a b) c)"},
        {R"("a" and "b" and "c")", "(and (and a b) c)"},
        {R"("a" xor "b" xor "c")", "(xor (xor a b) c)"},
        {R"("a" = "b" = "c")", "(= (= a b) c)"},
        {R"("a" <> "b" <> "c")", "(<> (<> a b) c)"},
        {R"("a" > "b" > "c")", "(> (> a b) c)"},
        {R"("a" < "b" < "c")", "(< (< a b) c)"},
        {R"("a" >= "b" >= "c")", "(>= (>= a b) c)"},
        {R"("a" <= "b" <= "c")", "(<= (<= a b) c)"},
        {R"("a" - "b" + "c" - "d")", "(- (+ (- a b) c) d)"},
        {R"("a" / "b" * "c" % "d")", "(% (* (/ a b) c) d)"},
    };
    expectTrees(std::begin(cases), std::end(cases));
}

TEST(ExprParser, UnaryBindsTighterThanAnyBinary) {
    const TreeCase cases[] = {
        {R"(not "a" = "b")", "(= (not a) b)"},
        {R"(not "a" or "b")", "(or (not a) b)"},
        {R"(-"a" * "b")", "(* (neg a) b)"},
        {R"(+"a" % "b")", "(% (pos a) b)"},
        {R"("a" * -"b")", "(* a (neg b))"},
        {R"("a" - - "b")", "(- a (neg b))"},
        {R"(not not - + "a")", "(not (not (neg (pos a))))"},
        {R"(-("a" + "b"))", "(neg (+ a b))"},
        {R"(("a" or "b") and "c")", "(and (or a b) c)"},
    };
    expectTrees(std::begin(cases), std::end(cases));
}

TEST(ExprParser, FoldsArithmeticOnTwoNumberConstants) {
    const TreeCase cases[] = {
        {"2 * 3", "6"},
        {"1 + 2 * 3", "7"},
        {"1 - 2 - 3", "-4"},
        {"7 / 2", "3.5"},
        {"7 / 0", "0"},
        {"7 % 2", "(% 7 2)"},
        {"-2 * 3", "(* (neg 2) 3)"},
        {"(1 + 2) = 3", "(= 3 3)"},
        {"2 * 3 and 1", "(and 6 1)"},
        {R"("a" + "b")", "(+ a b)"},
        {"1 + (2 * 3) + day", "(+ 7 day())"},
    };
    expectTrees(std::begin(cases), std::end(cases));
}

TEST(ExprParser, CallsKeepTheirArgumentsInOrder) {
    const TreeCase cases[] = {
        {R"(mid("abc", 1, 2))", "mid(abc 1 2)"},
        {R"(upper(lower("A")) + "b")", "(+ upper(lower(A)) b)"},
        {"day()", "day()"},
        {"day", "day()"},
        {R"(NUMERIC("1"))", "value(1)"},
        {R"(message_box(1, "a", "b", "c", "d", "e"))", "message_box(1 a b c d e)"},
        {"upper()", "?():failed"},
        {"abs", "?():failed"},
        {"avg(1, 2)", "?(1 2):failed"},
        {"nothing", "@-1:failed"},
    };
    expectTrees(std::begin(cases), std::end(cases));
}

TEST(ExprParser, SyntaxErrors) {
    const char* cases[] = {"",    "1 +", "(1",  "1)",    "f(",      "f(1,)",   "a[]",   "1 2", ")",  "a..b",   "@",
                           "not", "[1]", "a.1", "a[1]b", "1 not 2", "f(1)(2)", "a.b.c", "\"x", "- ", "1 = = 2"};
    for (const char* text : cases) {
        std::vector<std::string> errors;
        EXPECT_EQ(treeOf(text, &errors), "FAIL") << text;
        ASSERT_FALSE(errors.empty()) << text;
        EXPECT_EQ(errors.back(), "syntax error") << text;
    }
}

// Reductions that the lookahead cannot stop run before the error shows.
TEST(ExprParser, ActionsBeforeASyntaxErrorRunInOrder) {
    std::vector<std::string> errors;
    EXPECT_EQ(treeOf("foo + bar(1) 2", &errors), "FAIL");
    EXPECT_EQ(errors, (std::vector<std::string>{"foo is unknown function/variable", "bar is unknown function/variable",
                                                "syntax error"}));
    EXPECT_EQ(treeOf("upper() \"" + std::string(300, 'x'), &errors), "FAIL");
    EXPECT_EQ(errors,
              (std::vector<std::string>{"Bad # of arguments to upper", "String constant too long", "syntax error"}));
}

TEST(ExprParser, StackHoldsTwoHundredEntries) {
    auto nested = [](const std::string& open, int depth, const std::string& close) {
        std::string s;
        for (int i = 0; i < depth; ++i) s += open;
        s += "1";
        for (int i = 0; i < depth; ++i) s += close;
        return s;
    };
    std::vector<std::string> errors;
    // Start state, 197 parentheses, the expression and the closing one.
    EXPECT_EQ(treeOf(nested("(", 197, ")"), &errors), "1");
    EXPECT_EQ(treeOf(nested("(", 198, ")"), &errors), "FAIL");
    EXPECT_EQ(errors, std::vector<std::string>{"pcyacc internal stack overflow"});
    EXPECT_EQ(treeOf(nested("(", 10000, ")"), &errors), "FAIL");
    EXPECT_EQ(errors, std::vector<std::string>{"pcyacc internal stack overflow"});
    EXPECT_NE(treeOf(nested("-", 198, ""), &errors), "FAIL");
    EXPECT_EQ(treeOf(nested("-", 199, ""), &errors), "FAIL");
    // Each open call holds two entries: the name and the parenthesis.
    EXPECT_NE(treeOf(nested("f(", 98, ")"), &errors), "FAIL");
    EXPECT_EQ(treeOf(nested("f(", 99, ")"), &errors), "FAIL");
    // Left-associative chains never grow the stack.
    std::string chain = "1";
    for (int i = 0; i < 1000; ++i) chain += " + \"a\"";
    EXPECT_NE(treeOf(chain, &errors), "FAIL");
}

}  // namespace
}  // namespace varn::test
