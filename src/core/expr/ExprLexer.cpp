#include "expr/ExprLexer.h"

#include "expr/ExprNode.h"

#include <cmath>

namespace varn {

namespace {

bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char toLower(int c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); }

// Digits beyond this many cannot change a double; they are read and ignored.
constexpr int kSignificantDigits = 18;
// Exponents are capped here; anything larger is already infinite or zero.
constexpr int kMaxExponent = 100000;

int keywordCode(const std::string& word) {
    if (word == "and") return ExprKind::And;
    if (word == "or") return ExprKind::Or;
    if (word == "not") return ExprKind::Not;
    if (word == "xor") return ExprKind::Xor;
    return ExprToken::Identifier;
}

}  // namespace

ExprLexer::ExprLexer(std::string_view text, char terminator, ExprDiagnostics& diagnostics)
    : text_(text), terminator_(static_cast<unsigned char>(terminator)), diagnostics_(diagnostics) {}

void ExprLexer::skipBlanksAndComments() {
    for (;;) {
        int c = peek();
        if (isBlank(c)) {
            ++pos_;
        } else if (c == '#') {
            while (peek() != 0 && peek() != '\n') ++pos_;
        } else {
            return;
        }
    }
}

// End of input: a NUL (or the end of the text), a ";", or the terminator
// while no parenthesis or bracket is open. None of them is consumed.
bool ExprLexer::atEnd() {
    int c = peek();
    if (c == 0 || c == ';') return true;
    return c == terminator_ && parens_ <= 0 && brackets_ <= 0;
}

void ExprLexer::next(ExprToken& token) {
    token.text.clear();
    token.number = 0.0;
    skipBlanksAndComments();
    if (atEnd()) {
        token.code = ExprToken::End;
        return;
    }
    int c = peek();
    if (c == '"') return readString(token);
    if (isDigit(c)) return readNumber(token);
    if (isLetter(c) || c == '_') return readIdentifier(token);
    readOperator(token);
}

void ExprLexer::readString(ExprToken& token) {
    ++pos_;  // opening quote
    for (;;) {
        int c = peek();
        if (c == 0) {
            diagnostics_.error("Bad string constant");
            token.code = ExprToken::Invalid;
            return;
        }
        ++pos_;
        if (c == '"' || c == '\n') break;
        if (c == '\\' && (peek() == '"' || peek() == '\\')) {
            c = peek();
            ++pos_;
        }
        if (token.text.size() == ExprToken::MaxString) {
            diagnostics_.error("String constant too long");
            token.code = ExprToken::Invalid;
            return;
        }
        token.text.push_back(static_cast<char>(c));
    }
    token.code = ExprKind::String;
}

void ExprLexer::readNumber(ExprToken& token) {
    double whole = 0.0;
    for (; isDigit(peek()); ++pos_) whole = whole * 10.0 + (peek() - '0');

    double fraction = 0.0;
    if (peek() == '.') {
        ++pos_;
        double digits = 0.0;
        double scale = 1.0;
        int counted = 0;
        for (; isDigit(peek()); ++pos_) {
            if (counted++ >= kSignificantDigits) continue;
            digits = digits * 10.0 + (peek() - '0');
            scale *= 10.0;
        }
        fraction = digits / scale;
    }

    int exponent = 0;
    if (peek() == 'e' || peek() == 'E') {
        ++pos_;
        bool negative = peek() == '-';
        if (peek() == '-' || peek() == '+') ++pos_;
        for (; isDigit(peek()); ++pos_) {
            if (exponent < kMaxExponent) exponent = exponent * 10 + (peek() - '0');
        }
        if (negative) exponent = -exponent;
    }

    double value = whole + fraction;
    if (exponent > 0) value *= std::pow(10.0, exponent);
    if (exponent < 0) value /= std::pow(10.0, -exponent);
    token.code = ExprKind::Number;
    token.number = value;
}

void ExprLexer::readIdentifier(ExprToken& token) {
    for (int c = peek(); isLetter(c) || isDigit(c) || c == '_'; c = peek()) {
        if (token.text.size() < ExprToken::MaxIdentifier) token.text.push_back(toLower(c));
        ++pos_;
    }
    token.code = keywordCode(token.text);
}

void ExprLexer::readOperator(ExprToken& token) {
    int c = peek();
    ++pos_;
    switch (c) {
    case '=': token.code = ExprKind::Equal; return;
    case '+': token.code = ExprKind::Plus; return;
    case '-': token.code = ExprKind::Minus; return;
    case '*': token.code = ExprKind::Times; return;
    case '/': token.code = ExprKind::Divide; return;
    case '%': token.code = ExprKind::Modulo; return;
    case '<':
        if (peek() == '>') { ++pos_; token.code = ExprKind::NotEqual; return; }
        if (peek() == '=') { ++pos_; token.code = ExprKind::LessEqual; return; }
        token.code = ExprKind::Less;
        return;
    case '>':
        if (peek() == '=') { ++pos_; token.code = ExprKind::GreaterEqual; return; }
        token.code = ExprKind::Greater;
        return;
    case '(': ++parens_; break;
    case ')': --parens_; break;
    case '[': ++brackets_; break;
    case ']': --brackets_; break;
    default: break;
    }
    token.code = c;
}

}  // namespace varn
