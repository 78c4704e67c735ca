#include "ExprTestSupport.h"

#include <gtest/gtest.h>

namespace varn::test {
namespace {

// Tokens of a text as "num:1 str:ab id:x <> ( end", with the diagnostics.
std::string tokensOf(std::string_view text, char terminator = ';', std::vector<std::string>* errors = nullptr) {
    std::vector<std::string> sink;
    ExprDiagnostics diagnostics([&](const std::string& line) { collectInto(sink, line); });
    ExprLexer lexer(text, terminator, diagnostics);
    std::string out;
    ExprToken token;
    for (int i = 0; i < 50; ++i) {
        lexer.next(token);
        if (!out.empty()) out += ' ';
        if (token.code == ExprToken::End) {
            out += "end";
            break;
        }
        if (token.code == ExprKind::Number) out += "num:" + formatGeneral(token.number);
        else if (token.code == ExprKind::String) out += "str:" + token.text;
        else if (token.code == ExprToken::Identifier) out += "id:" + token.text;
        else if (token.code == ExprToken::Invalid) out += "invalid";
        else if (token.code < 256) out += static_cast<char>(token.code);
        else out += operatorText(token.code);
    }
    if (errors) *errors = sink;
    return out;
}

struct LexCase {
    const char* text;
    char terminator;
    const char* tokens;
};

TEST(ExprLexer, Tokens) {
    const LexCase cases[] = {
        // blanks and comments
        {" \t1\r\n+ 2", ';', "num:1 + num:2 end"},
        {"1 # a comment ; 2\n+ 3", ';', "num:1 + num:3 end"},
        {"1 # comment to the end", ';', "num:1 end"},
        // ";" and the terminator
        {"1; 2", ';', "num:1 end"},
        {"1 ;", ',', "num:1 end"},
        {"f(1,2),3", ',', "id:f ( num:1 , num:2 ) end"},
        {"a[1,2],3", ',', "id:a [ num:1 , num:2 ] end"},
        {"(1),2", ',', "( num:1 ) end"},
        {"1,2", ';', "num:1 , num:2 end"},
        {"1 x 2", 'x', "num:1 end"},
        // numbers
        {"12.5e2 1E+3 2e-2 7.", ';', "num:1250 num:1000 num:0.02 num:7 end"},
        {".5", ';', ". num:5 end"},
        {"0.1", ';', "num:0.1 end"},
        {"2e", ';', "num:2 end"},
        // identifiers and keywords
        {"FooBar _x1 a_b9", ';', "id:foobar id:_x1 id:a_b9 end"},
        {"AND Or not XOR andy", ';', "and or not xor id:andy end"},
        // operators and single characters
        {"= <> < > <= >= + - * / %", ';', "= <> < > <= >= + - * / % end"},
        {"( ) [ ] , . @ ! '", ';', "( ) [ ] , . @ ! ' end"},
        {"<<>", ';', "< <> end"},
    };
    for (const LexCase& c : cases) EXPECT_EQ(tokensOf(c.text, c.terminator), c.tokens) << c.text;
}

TEST(ExprLexer, StringEscapes) {
    const std::pair<const char*, const char*> cases[] = {
        {R"("a\"b")", "str:a\"b end"},
        {R"("a\\b")", "str:a\\b end"},
        {R"("a\nb")", "str:a\\nb end"},
        {R"("\\\"")", "str:\\\" end"},
        {"\"ab\ncd", "str:ab id:cd end"},
        {"\"\"", "str: end"},
        {"\"it's; #not a comment\"", "str:it's; #not a comment end"},
    };
    for (const auto& [text, tokens] : cases) EXPECT_EQ(tokensOf(text), tokens) << text;
}

TEST(ExprLexer, IdentifierKeepsEightyCharacters) {
    std::string name(90, 'Q');
    EXPECT_EQ(tokensOf(name), "id:" + std::string(80, 'q') + " end");
}

TEST(ExprLexer, StringLimits) {
    std::vector<std::string> errors;
    EXPECT_EQ(tokensOf("\"" + std::string(253, 'x') + "\"", ';', &errors), "str:" + std::string(253, 'x') + " end");
    EXPECT_TRUE(errors.empty());

    EXPECT_EQ(tokensOf("\"" + std::string(254, 'x') + "\"", ';', &errors).substr(0, 7), "invalid");
    EXPECT_EQ(errors.at(0), "String constant too long");

    // An escaped quote is one character.
    EXPECT_EQ(tokensOf("\"" + std::string(252, 'x') + "\\\"\"", ';', &errors).size(), 4 + 253 + 4u);
    EXPECT_TRUE(errors.empty());

    EXPECT_EQ(tokensOf("\"abc", ';', &errors), "invalid end");
    EXPECT_EQ(errors, std::vector<std::string>{"Bad string constant"});
    EXPECT_EQ(tokensOf("\"abc\\", ';', &errors), "invalid end");
    EXPECT_EQ(errors, std::vector<std::string>{"Bad string constant"});
}

}  // namespace
}  // namespace varn::test
