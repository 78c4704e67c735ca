// The built-in functions of the expression language in their fixed order:
// name, result type, argument count and argument types.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace varn {

struct FunctionInfo {
    std::string_view name;
    int resultType;
    int argumentCount;  // -1: any number
    std::array<int, 6> argumentTypes;  // ExprType codes, ExprType::Any for any
};

// Table indexes, in table order.
struct BuiltIn {
    enum : int {
        Empty, Abs, Acos, Acosh, Asin, Asinh, Atan, Atan2, Atanh, Avg,
        Char, UserPath, Clean, Asc, Cos, Cosh, Date, DateValue, Day, Degrees,
        Eval, Exact, Exp, Fact, False, Find, Hour, Int, Left, Length,
        Ln, Log, Lower, Max, Mid, Min, Minute, Month, Second, Radians,
        RandomN, Random, Repeat, Replace, Right, Round, Sin, Sinh, Sqrt, String,
        Tan, Tanh, Time, TimeValue, Today, True, Trunc, Value, Upper, Weekday,
        Year, Pow, Exists, ByteString, MessageBox, GetCategory, SetCategory, GetCategoryString, LastPenX, LastPenY,
        Rgb, ColorDepth, NullObject, Count
    };
};

std::span<const FunctionInfo> functionTable();

// Index of the function an identifier names (exact, lower case), or -1.
// "numeric" names the value function.
int findFunction(std::string_view identifier);

}  // namespace varn
