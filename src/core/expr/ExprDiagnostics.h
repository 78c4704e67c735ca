// The checker's diagnostic channel: every error of the lexer, the parser, the
// checks and the evaluator is counted and passed on as one "Error: ...\n" line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace varn {

// Receives each diagnostic line. An empty sink keeps the checker silent.
using ExprDiagnosticSink = std::function<void(const std::string& line)>;

class ExprDiagnostics {
public:
    explicit ExprDiagnostics(ExprDiagnosticSink sink = {}) : sink_(std::move(sink)) {}

    void error(std::string_view message);
    int count() const { return count_; }
    void resetCount() { count_ = 0; }
    void setSink(ExprDiagnosticSink sink) { sink_ = std::move(sink); }

private:
    ExprDiagnosticSink sink_;
    int count_ = 0;
};

}  // namespace varn
