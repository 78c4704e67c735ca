// The built-in functions applied during evaluation: argument type checks,
// math, string, date/time functions and the device functions' preview values.
#pragma once

#include "expr/ExprDiagnostics.h"
#include "expr/ExprNode.h"

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace varn {

// Local time as the date and time functions see it.
using ExprClock = std::function<std::tm()>;

// The local clock of this machine.
std::tm localClock();

// Formats a number the way string(n, picture) does.
std::string formatPicture(double value, std::string_view picture);

class ExprFunctions {
public:
    ExprFunctions(ExprDiagnostics& diagnostics, const ExprClock& clock) : diagnostics_(diagnostics), clock_(clock) {}

    // Evaluates a call node whose arguments are already evaluated. False
    // (with the node failed) on a type mismatch or an unsupported function.
    bool apply(ExprNode* call);

private:
    bool fail(ExprNode* call, const std::string& message);
    bool applyNumber(ExprNode* call, int index, ExprNode* const* args);
    bool applyString(ExprNode* call, int index, ExprNode* const* args);
    bool applyClock(ExprNode* call, int index);

    ExprDiagnostics& diagnostics_;
    const ExprClock& clock_;
};

}  // namespace varn
