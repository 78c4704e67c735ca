// Helpers for the expression tests: run the entry operation and collect its
// diagnostics, and parse a text into a compact tree notation.
#pragma once

#include "expr/ExprActions.h"
#include "expr/ExprChecker.h"
#include "expr/ExprLexer.h"
#include "expr/ExprParser.h"
#include "expr/FunctionTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace varn::test {

struct Outcome {
    int status = 0;
    int type = 0;
    std::string value;  // number as "%g", string as it is
    std::vector<std::string> errors;  // messages without "Error: " and newline
};

inline void collectInto(std::vector<std::string>& errors, const std::string& line) {
    const std::string prefix = "Error: ";
    std::string message = line.substr(0, line.size() - 1);
    errors.push_back(message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : "BAD LINE: " + line);
}

inline Outcome evaluateText(std::string_view text, const ExprSymbols* symbols = nullptr, char terminator = ';') {
    Outcome out;
    ExprChecker checker([&](const std::string& line) { collectInto(out.errors, line); });
    checker.setSymbols(symbols);
    ExprResult r = checker.check(text, terminator);
    out.status = r.status;
    out.type = r.dataType;
    out.value = r.dataType == ExprType::Number ? formatGeneral(r.number) : r.text;
    return out;
}

inline std::string dumpNode(const ExprNode* n);

inline std::string dumpList(const ExprNode* first) {
    std::string s;
    for (const ExprNode* a = first; a; a = a->next) s += (s.empty() ? "" : " ") + dumpNode(a);
    return s;
}

inline const char* operatorText(int kind) {
    switch (kind) {
    case ExprKind::And: return "and";
    case ExprKind::Or: return "or";
    case ExprKind::Xor: return "xor";
    case ExprKind::Plus: return "+";
    case ExprKind::Minus: return "-";
    case ExprKind::Times: return "*";
    case ExprKind::Divide: return "/";
    case ExprKind::Modulo: return "%";
    case ExprKind::Equal: return "=";
    case ExprKind::NotEqual: return "<>";
    case ExprKind::Greater: return ">";
    case ExprKind::Less: return "<";
    case ExprKind::GreaterEqual: return ">=";
    case ExprKind::LessEqual: return "<=";
    case ExprKind::Negate: return "neg";
    case ExprKind::Absolute: return "pos";
    case ExprKind::Not: return "not";
    default: return "?";
    }
}

// Constants as their value, calls as name(args), names as @index, array
// elements as @index[subscripts], properties as @index.property, operators
// in prefix form: (op left right).
inline std::string dumpNode(const ExprNode* n) {
    switch (n->kind) {
    case ExprKind::Number: return formatGeneral(n->number);
    case ExprKind::String: return n->text;
    case ExprKind::Call:
        if (n->symbolIndex < 0) return "?(" + dumpList(n->left) + ")";
        return std::string(functionTable()[n->symbolIndex].name) + "(" + dumpList(n->left) + ")";
    case ExprKind::Name: return "@" + std::to_string(n->symbolIndex);
    case ExprKind::ArrayElement: return "@" + std::to_string(n->symbolIndex) + "[" + dumpList(n->left) + "]";
    case ExprKind::Property:
        return "@" + std::to_string(n->symbolIndex) + (n->left ? "[" + dumpList(n->left) + "]" : "") + "." +
               std::to_string(n->propertyIndex);
    default: break;
    }
    std::string s = std::string("(") + operatorText(n->kind) + " " + dumpNode(n->left);
    if (n->right) s += " " + dumpNode(n->right);
    return s + ")";
}

// The tree of a text, or "FAIL" when it does not parse. The root's data
// type is appended as ":type" when it is negative.
inline std::string treeOf(std::string_view text, std::vector<std::string>* errors = nullptr,
                          const ExprSymbols* symbols = nullptr) {
    std::vector<std::string> sink;
    ExprDiagnostics diagnostics([&](const std::string& line) { collectInto(sink, line); });
    ExprSymbols none;
    ExprTree tree;
    ExprLexer lexer(text, ';', diagnostics);
    ExprActions actions(tree, diagnostics, symbols ? *symbols : none);
    auto parser = std::make_unique<ExprParser>();
    bool ok = parser->parse(lexer, actions, diagnostics);
    if (errors) *errors = sink;
    if (!ok) return "FAIL";
    std::string s = dumpNode(tree.root());
    if (tree.root()->dataType < 0) s += ":failed";
    return s;
}

}  // namespace varn::test
