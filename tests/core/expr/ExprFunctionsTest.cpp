#include <gtest/gtest.h>

#include "ExprTestSupport.h"

namespace varn::test {
namespace {

struct FunctionCase {
    const char* text;
    const char* value;
};

void expectValues(std::initializer_list<FunctionCase> cases) {
    for (const FunctionCase& c : cases) {
        Outcome out = evaluateText(c.text);
        EXPECT_EQ(out.status, 0) << c.text;
        EXPECT_EQ(out.value, c.value) << c.text;
    }
}

TEST(ExprFunctions, Math) {
    expectValues({
        {"abs(-2.5)", "2.5"},  {"acos(1)", "0"},        {"acosh(1)", "0"},         {"asin(1)", "1.5708"},
        {"asinh(0)", "0"},     {"atan(1)", "0.785398"}, {"atan2(1, 0)", "1.5708"}, {"atan2(0, 1)", "0"},
        {"atanh(0)", "0"},     {"cos(0)", "1"},         {"cosh(0)", "1"},          {"exp(1)", "2.71828"},
        {"ln(exp(2))", "2"},   {"log(1000)", "3"},      {"pow(2, 10)", "1024"},    {"sin(0)", "0"},
        {"sinh(0)", "0"},      {"sqrt(16)", "4"},       {"tan(0)", "0"},           {"tanh(0)", "0"},
        {"int(-2.7)", "-2"},   {"int(2.7)", "2"},       {"trunc(-2.7)", "-2"},     {"round(2.5)", "3"},
        {"round(-2.6)", "-2"}, {"round(-2.5)", "-2"},   {"round(2.49)", "2"},      {"sqrt(-1) = sqrt(-1)", "0"},
    });
}

TEST(ExprFunctions, Strings) {
    expectValues({
        {"char(65)", "A"},
        {"length(char(0))", "0"},
        {"char(321)", "A"},
        {R"(asc("Az"))", "65"},
        {R"(asc(""))", "0"},
        {R"(asc(char(233)))", "233"},
        {R"(length("abc"))", "3"},
        {R"(length(""))", "0"},
        {R"(lower("AbC1"))", "abc1"},
        {R"(upper("aBc1"))", "ABC1"},
        {R"(exact("a", "a"))", "1"},
        {R"(exact("a", "A"))", "0"},
        {R"(value("12.5"))", "12.5"},
        {R"(numeric(" 7x"))", "7"},
        {R"(value("+3"))", "3"},
        {R"(value("-2e2"))", "-200"},
        {R"(value("abc"))", "0"},
        {R"(value(""))", "0"},
        {R"(value("1e999"))", "inf"},
        {R"(value("1e-999"))", "0"},
    });
}

TEST(ExprFunctions, LeftRightMid) {
    expectValues({
        {R"(left("abcdef", 2))", "ab"},
        {R"(left("abcdef", 2.9))", "ab"},
        {R"(left("abcdef", 0))", ""},
        {R"(left("abcdef", -1))", ""},
        {R"(left("abcdef", 6))", "abcdef"},
        {R"(left("abcdef", 99))", "abcdef"},
        {R"(right("abcdef", 2))", "ef"},
        {R"(right("abcdef", -1))", ""},
        {R"(right("abcdef", 99))", "abcdef"},
        {R"(mid("abcdef", 2, 3))", "cde"},
        {R"(mid("abcdef", 0, 1))", "a"},
        {R"(mid("abcdef", 2, 99))", "cdef"},
        {R"(mid("abcdef", 6, 1))", ""},
        {R"(mid("abcdef", 7, 1))", ""},
        {R"(mid("abcdef", 2, -1))", ""},
        {R"(mid("abcdef", 65538, 3))", "cde"},
        {R"(mid("abcdef", -1, 3))", ""},
        {R"(mid("abcdef", 2.9, 1.9))", "c"},
    });
}

TEST(ExprFunctions, FindIgnoresItsStart) {
    expectValues({
        {R"(find("abcabc", "ca", 4))", "2"},
        {R"(find("abcabc", "a", 3))", "0"},
        {R"(find("abc", "x", 0))", "-1"},
        {R"(find("", "", 0))", "-1"},
        {R"(find("abc", "", 0))", "0"},
        {R"(find("abc", "abcd", 0))", "-1"},
    });
}

TEST(ExprFunctions, StringPicture) {
    expectValues({
        {R"(string(3.14159, "000.00"))", "003.14"},
        {R"(string(3.14159, "###.##"))", "  3.14"},
        {R"(string(-3.5, "0000"))", "-004"},
        {R"(string(2.5, "#"))", "2"},
        {R"(string(0.125, "0.00"))", "0.12"},
        {R"(string(1234.5, "#.#"))", "1234.5"},
        {R"(string(7, "x.y"))", "7.0"},
        {R"(string(7, "#0"))", " 7"},
        {R"(string(7, "00.#.#"))", "07.000"},
        {R"(string(42, ""))", "42"},
        {R"(string(1, "0"))", "1"},
        {R"(string(1 / 3, "0." + "000000000000000000000000"))", "0.333333333333333314829616"},
    });
}

TEST(ExprFunctions, DevicePreviews) {
    expectValues({
        {"true", "1"},
        {"false", "0"},
        {"randomn(10)", "1"},
        {"timevalue", "1"},
        {R"(exists("a.pdb"))", "1"},
        {R"(message_box(1, "a", "b", "c", "d", "e"))", "0"},
        {"get_category", "0"},
        {"set_category(3)", "0"},
        {R"(userpath("x"))", ""},
        {"get_category_string", ""},
    });
}

TEST(ExprFunctions, DateAndTimeFromTheClock) {
    std::tm fixed{};
    fixed.tm_year = 2024 - 1900;
    fixed.tm_mon = 1;
    fixed.tm_mday = 29;
    fixed.tm_hour = 13;
    fixed.tm_min = 45;
    fixed.tm_sec = 7;
    fixed.tm_wday = 4;
    ExprChecker checker;
    checker.setClock([&] { return fixed; });
    const FunctionCase cases[] = {{"day", "29"},    {"month", "2"},  {"year", "2024"}, {"hour", "13"},
                                  {"minute", "45"}, {"second", "7"}, {"weekday", "4"}};
    for (const FunctionCase& c : cases) EXPECT_EQ(expressionPreview(checker, c.text), c.value) << c.text;
}

TEST(ExprFunctions, ArgumentTypesAndUnsupportedEntries) {
    const std::pair<const char*, const char*> cases[] = {
        {R"(left(1, 1))", "Mismatched function argument datatype for argument 1"},
        {R"(left("a", "b"))", "Mismatched function argument datatype for argument 2"},
        {R"(find("a", "b", "c"))", "Mismatched function argument datatype for argument 3"},
        {R"(message_box(1, "a", "b", "c", "d", 6))", "Mismatched function argument datatype for argument 6"},
        {R"(bytestring("x"))", "Mismatched function argument datatype for argument 1"},
        {R"(string("1", "0"))", "Mismatched function argument datatype for argument 1"},
        {"last_pen_x", "Function last_pen_x not yet supported."},
        {"last_pen_y", "Function last_pen_y not yet supported."},
        {"rgb(1, 2, 3)", "Function rgb not yet supported."},
        {"color_depth", "Function color_depth not yet supported."},
        {"null_object", "Function null_object not yet supported."},
    };
    for (const auto& [text, error] : cases) {
        Outcome out = evaluateText(text);
        EXPECT_EQ(out.status, -1) << text;
        EXPECT_EQ(out.errors, std::vector<std::string>{error}) << text;
    }
}

}  // namespace
}  // namespace varn::test
