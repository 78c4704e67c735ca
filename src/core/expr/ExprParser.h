// LALR(1) parser for display expressions, driven by an explicit state stack
// of 200 entries, so deep nesting fails cleanly instead of recursing.
#pragma once

#include "expr/ExprActions.h"
#include "expr/ExprDiagnostics.h"
#include "expr/ExprLexer.h"
#include "expr/ExprNode.h"

#include <array>
#include <cstddef>
#include <string>

namespace varn {

class ExprParser {
public:
    static constexpr std::size_t MaxDepth = 200;

    // Parses one expression; the actions record the root. False when the
    // text does not parse ("syntax error" or the stack overflow is reported).
    bool parse(ExprLexer& lexer, ExprActions& actions, ExprDiagnostics& diagnostics);

private:
    struct Entry {
        int state = 0;
        int op = 0;             // operator token of a binary operator state
        ExprNode* node = nullptr;
        int count = 0;          // number of expressions in a list
        double number = 0.0;    // number token
        std::string text;       // identifier or string token
    };

    enum class Step { Shift, Reduce, Accept, Error };
    struct Action {
        Step step;
        int state = 0;
    };

    Action decide(const Entry& top, int token) const;
    void shift(int state, ExprToken& token);
    void reduce(ExprActions& actions);
    void pushGoto(int nonterminal, Entry value);
    Entry& at(std::size_t fromTop) { return stack_[depth_ - 1 - fromTop]; }

    std::array<Entry, MaxDepth> stack_;
    std::size_t depth_ = 0;
};

}  // namespace varn
