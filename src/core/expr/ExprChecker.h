// The one entry operation of expression checking: parse and check a display
// expression or project variable value, evaluate it and hand back the result.
#pragma once

#include "expr/ExprDiagnostics.h"
#include "expr/ExprFunctions.h"
#include "expr/ExprParser.h"
#include "expr/ExprSymbols.h"
#include "expr/ExprTree.h"

#include <memory>
#include <string>
#include <string_view>

namespace varn {

struct ExprResult {
    static constexpr int Ok = 0;
    static constexpr int EvaluationFailed = -1;
    static constexpr int NotParsed = -2;

    int status = NotParsed;
    int dataType = ExprType::Failed;  // of the value when status is Ok
    double number = 0.0;              // a number result
    std::string text;                 // a string result
};

class ExprChecker {
public:
    explicit ExprChecker(ExprDiagnosticSink sink = {});

    // Checks and evaluates text up to its end, a NUL, a ";" or the
    // terminator outside parentheses and brackets. Throws only what the sink
    // throws; running out of memory fails the check.
    ExprResult check(std::string_view text, char terminator);

    // Names the expressions may use; the IDE has none. Not owned.
    void setSymbols(const ExprSymbols* symbols) { symbols_ = symbols ? symbols : &noSymbols_; }
    void setClock(ExprClock clock) { clock_ = std::move(clock); }
    void setSink(ExprDiagnosticSink sink) { diagnostics_.setSink(std::move(sink)); }

    // Errors reported by the last check.
    int errorCount() const { return diagnostics_.count(); }

private:
    ExprResult run(std::string_view text, char terminator);

    ExprDiagnostics diagnostics_;
    ExprSymbols noSymbols_;
    const ExprSymbols* symbols_ = &noSymbols_;
    ExprClock clock_;
    ExprTree tree_;
    std::unique_ptr<ExprParser> parser_;
};

// The text a form shows for a display expression: a number as "%g", a string
// as it is, "<Invalid Expression>" when the expression is not valid.
std::string expressionPreview(ExprChecker& checker, std::string_view text, char terminator = ';');

// A number formatted as "%g" does, independent of the process locale.
std::string formatGeneral(double value);

}  // namespace varn
