#include "expr/ExprChecker.h"

#include "expr/ExprActions.h"
#include "expr/ExprEvaluator.h"
#include "expr/ExprLexer.h"

#include <charconv>
#include <new>

namespace varn {

ExprChecker::ExprChecker(ExprDiagnosticSink sink)
    : diagnostics_(std::move(sink)), parser_(std::make_unique<ExprParser>()) {}

ExprResult ExprChecker::check(std::string_view text, char terminator) {
    diagnostics_.resetCount();
    ExprResult result;
    try {
        result = run(text, terminator);
    } catch (const std::bad_alloc&) {
        result = ExprResult{};
        try {
            diagnostics_.error("Error allocating expression node.");
        } catch (const std::bad_alloc&) {
        }
    }
    tree_.clear();
    return result;
}

ExprResult ExprChecker::run(std::string_view text, char terminator) {
    ExprResult result;
    tree_.clear();
    ExprLexer lexer(text, terminator, diagnostics_);
    ExprActions actions(tree_, diagnostics_, *symbols_);
    if (!parser_->parse(lexer, actions, diagnostics_)) return result;
    ExprNode* root = tree_.root();
    if (!root || root->dataType < 0) return result;

    ExprEvaluator evaluator(diagnostics_, *symbols_, clock_);
    result.status = evaluator.evaluate(root);
    if (result.status != ExprResult::Ok) return result;
    result.dataType = root->dataType;
    if (root->dataType == ExprType::Number) result.number = root->number;
    if (root->dataType == ExprType::String) result.text = std::move(root->text);
    return result;
}

std::string formatGeneral(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string expressionPreview(ExprChecker& checker, std::string_view text, char terminator) {
    ExprResult result = checker.check(text, terminator);
    if (result.status != ExprResult::Ok) return "<Invalid Expression>";
    if (result.dataType == ExprType::Number) return formatGeneral(result.number);
    return result.text;
}

}  // namespace varn
