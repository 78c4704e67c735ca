#include "expr/FunctionTable.h"

#include "expr/ExprNode.h"

namespace varn {

namespace {

constexpr int N = ExprType::Number;
constexpr int S = ExprType::String;
constexpr int B = ExprType::Bitmap;
constexpr int O = ExprType::Object;
constexpr int A = ExprType::Any;

constexpr std::array<int, 6> none{A, A, A, A, A, A};
constexpr std::array<int, 6> num{N, A, A, A, A, A};
constexpr std::array<int, 6> str{S, A, A, A, A, A};

// Entries whose names begin with "?" or "$" cannot be written as identifiers.
constexpr FunctionInfo kFunctions[] = {
    {"$empty$", N, 0, none},
    {"abs", N, 1, num},
    {"acos", N, 1, num},
    {"acosh", N, 1, num},
    {"asin", N, 1, num},
    {"asinh", N, 1, num},
    {"atan", N, 1, num},
    {"atan2", N, 2, {N, N, A, A, A, A}},
    {"atanh", N, 1, num},
    {"?avg", N, -1, none},
    {"char", S, 1, num},
    {"userpath", S, 1, str},
    {"?clean", S, 1, none},
    {"asc", N, 1, str},
    {"cos", N, 1, num},
    {"cosh", N, 1, num},
    {"?date", S, 0, none},
    {"?datevalue", S, 1, none},
    {"day", N, 0, none},
    {"?degrees", N, 1, none},
    {"?eval", S, 1, none},
    {"exact", N, 2, {S, S, A, A, A, A}},
    {"exp", N, 1, num},
    {"?fact", N, 1, none},
    {"false", N, 0, none},
    {"find", N, 3, {S, S, N, A, A, A}},
    {"hour", N, 0, none},
    {"int", N, 1, num},
    {"left", S, 2, {S, N, A, A, A, A}},
    {"length", N, 1, str},
    {"ln", N, 1, num},
    {"log", N, 1, num},
    {"lower", S, 1, str},
    {"?max", N, -1, none},
    {"mid", S, 3, {S, N, N, A, A, A}},
    {"?min", N, -1, none},
    {"minute", N, 0, none},
    {"month", N, 0, none},
    {"second", N, 0, none},
    {"?radians", N, 1, none},
    {"randomn", N, 1, num},
    {"?random", N, 0, none},
    {"?repeat", S, 1, none},
    {"?replace", S, 4, none},
    {"right", S, 2, {S, N, A, A, A, A}},
    {"round", N, 1, num},
    {"sin", N, 1, num},
    {"sinh", N, 1, num},
    {"sqrt", N, 1, num},
    {"string", S, 2, {N, S, A, A, A, A}},
    {"tan", N, 1, num},
    {"tanh", N, 1, num},
    {"$time", S, 0, none},
    {"timevalue", N, 0, none},
    {"?today", N, 0, none},
    {"true", N, 0, none},
    {"trunc", N, 1, num},
    {"value", N, 1, str},
    {"upper", S, 1, str},
    {"weekday", N, 0, none},
    {"year", N, 0, none},
    {"pow", N, 2, {N, N, A, A, A, A}},
    {"exists", N, 1, str},
    {"bytestring", S, 1, {B, A, A, A, A, A}},
    {"message_box", N, 6, {N, S, S, S, S, S}},
    {"get_category", N, 0, none},
    {"set_category", N, 1, num},
    {"get_category_string", S, 0, none},
    {"last_pen_x", N, 0, none},
    {"last_pen_y", N, 0, none},
    {"rgb", N, 3, {N, N, N, A, A, A}},
    {"color_depth", N, 0, none},
    {"null_object", O, 0, none},
};

static_assert(std::size(kFunctions) == BuiltIn::Count);
static_assert(kFunctions[BuiltIn::Value].name == "value");
static_assert(kFunctions[BuiltIn::String].name == "string");
static_assert(kFunctions[BuiltIn::MessageBox].name == "message_box");

}  // namespace

std::span<const FunctionInfo> functionTable() { return kFunctions; }

int findFunction(std::string_view identifier) {
    if (identifier == "numeric") return BuiltIn::Value;
    for (int i = 0; i < BuiltIn::Count; ++i) {
        if (kFunctions[i].name == identifier) return i;
    }
    return -1;
}

}  // namespace varn
