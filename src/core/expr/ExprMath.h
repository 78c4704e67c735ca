// Number rules shared by constant folding and evaluation: the four
// arithmetic operators, the unsigned remainder and integer truncation.
#pragma once

#include "expr/ExprNode.h"

#include <cmath>
#include <cstdint>

namespace varn {

// Truncates toward zero to a 32-bit integer. Values outside the range, and
// NaN, give the integer indefinite value (INT32_MIN), as the x86 conversion does.
inline std::int32_t truncToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// +, -, * and / on two numbers; division by zero gives 0.
inline double arithmetic(int op, double a, double b) {
    switch (op) {
    case ExprKind::Plus: return a + b;
    case ExprKind::Minus: return a - b;
    case ExprKind::Times: return a * b;
    case ExprKind::Divide: return b == 0.0 ? 0.0 : a / b;
    default: return 0.0;
    }
}

// Remainder of the integer parts taken as unsigned 32-bit values; 0 when the
// divisor is 0.
inline double unsignedRemainder(double a, double b) {
    auto dividend = static_cast<std::uint32_t>(truncToInt32(a));
    auto divisor = static_cast<std::uint32_t>(truncToInt32(b));
    return divisor == 0 ? 0.0 : static_cast<double>(dividend % divisor);
}

}  // namespace varn
