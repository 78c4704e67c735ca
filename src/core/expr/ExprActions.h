// The parser's semantic actions: build the nodes of the expression tree and
// check function calls, names, subscripts and property references.
#pragma once

#include "expr/ExprDiagnostics.h"
#include "expr/ExprNode.h"
#include "expr/ExprSymbols.h"
#include "expr/ExprTree.h"

#include <string>

namespace varn {

class ExprActions {
public:
    ExprActions(ExprTree& tree, ExprDiagnostics& diagnostics, const ExprSymbols& symbols)
        : tree_(tree), diagnostics_(diagnostics), symbols_(symbols) {}

    ExprNode* number(double value);
    ExprNode* string(std::string&& text);
    // Binary operator given by its token code; folds + - * / of two numbers.
    ExprNode* binary(int op, ExprNode* left, ExprNode* right);
    // Unary operator given by its token code (-, + or not).
    ExprNode* unary(int op, ExprNode* operand);
    ExprNode* call(const std::string& name, ExprNode* arguments, int count);
    ExprNode* name(const std::string& name);
    ExprNode* arrayElement(const std::string& name, ExprNode* subscripts, int count);
    // subscripts is null when the name carries none.
    ExprNode* property(const std::string& name, ExprNode* subscripts, const std::string& property);
    void start(ExprNode* root) { tree_.setRoot(root); }

private:
    ExprNode* node(int kind, int dataType);
    ExprNode* failed(ExprNode* node, const std::string& message);
    ExprNode* variableElement(const std::string& name, ExprNode* element, int count);
    ExprNode* objectElement(const std::string& name, ExprNode* element, int count);
    bool resolvePropertyOwner(const std::string& name, ExprNode* node);
    void checkObjectHasProperty(const ExprNode* node, bool subscripted, const std::string& property);

    ExprTree& tree_;
    ExprDiagnostics& diagnostics_;
    const ExprSymbols& symbols_;
};

}  // namespace varn
