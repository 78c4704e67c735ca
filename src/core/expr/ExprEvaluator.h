// Evaluates a checked expression tree in place: every node's data type and
// value are overwritten by its result, -1 marking a failed node.
#pragma once

#include "expr/ExprDiagnostics.h"
#include "expr/ExprFunctions.h"
#include "expr/ExprNode.h"
#include "expr/ExprSymbols.h"

#include <string>
#include <vector>

namespace varn {

class ExprEvaluator {
public:
    ExprEvaluator(ExprDiagnostics& diagnostics, const ExprSymbols& symbols, const ExprClock& clock)
        : diagnostics_(diagnostics), symbols_(symbols), functions_(diagnostics, clock) {}

    // 0 when the root ends with a valid data type, else -1. Works with an
    // explicit stack, so any depth of tree is fine.
    int evaluate(ExprNode* root);

private:
    void apply(ExprNode* node);
    void fail(ExprNode* node, const std::string& message);
    void arithmetic(ExprNode* node);
    void sign(ExprNode* node);
    void logic(ExprNode* node);
    void negation(ExprNode* node);
    void compare(ExprNode* node);
    void name(ExprNode* node);
    void arrayElement(ExprNode* node);
    void property(ExprNode* node);
    const char* propertyIndexError(const ExprNode* node) const;

    struct Frame {
        ExprNode* node;
        int stage;  // 0: next, 1: left, 2: right, 3: the node itself
    };

    ExprDiagnostics& diagnostics_;
    const ExprSymbols& symbols_;
    ExprFunctions functions_;
    std::vector<Frame> stack_;
};

}  // namespace varn
