// Hand-written lexer for display expressions: turns the text into tokens,
// stopping at ";" or at the caller's terminator outside parentheses/brackets.
#pragma once

#include "expr/ExprDiagnostics.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace varn {

// Token codes besides the operator and constant codes of ExprKind; single
// characters ("(", ")", "[", "]", ",", "." and any stray one) are their own code.
struct ExprToken {
    static constexpr int End = 0;
    static constexpr int Invalid = 256;  // bad string constant; never shifted
    static constexpr int Identifier = 276;
    static constexpr std::size_t MaxString = 253;
    static constexpr std::size_t MaxIdentifier = 80;

    int code = End;
    double number = 0.0;
    std::string text;  // string constant or lower-cased identifier
};

class ExprLexer {
public:
    ExprLexer(std::string_view text, char terminator, ExprDiagnostics& diagnostics);

    // Reads the next token into token. End of input repeats as End.
    void next(ExprToken& token);

private:
    int peek() const { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : 0; }
    void skipBlanksAndComments();
    bool atEnd();
    void readString(ExprToken& token);
    void readNumber(ExprToken& token);
    void readIdentifier(ExprToken& token);
    void readOperator(ExprToken& token);

    std::string_view text_;
    std::size_t pos_ = 0;
    int terminator_;
    int parens_ = 0;
    int brackets_ = 0;
    ExprDiagnostics& diagnostics_;
};

}  // namespace varn
