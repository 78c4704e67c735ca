// Values of the program's variables and the evaluation of expression texts
// with them. The core expression evaluator knows no variable values (in the
// IDE every variable reads as 0), so before an expression goes to it each
// variable name is replaced by a constant holding the variable's value:
// numbers as exact decimal constants, strings as quoted constants (joined
// with "+" and char() where a character or the length needs it).
#pragma once

#include "expr/ExprChecker.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnwin {

struct Value {
    bool isText = false;
    double number = 0.0;
    std::string text;

    static Value ofNumber(double n) { return Value{false, n, {}}; }
    static Value ofText(std::string t) { return Value{true, 0.0, std::move(t)}; }
};

// What the debugger shows: a number as the core's "%g" form, a string as it is.
std::string displayText(const Value& value);

// An expression constant that the core evaluator reads back as exactly
// this value.
std::string constantOf(const Value& value);

// Named values; names compare without regard to case.
class Variables {
public:
    // Index of the name, or -1.
    int find(std::string_view name) const;
    // Adds the name with the value 0 unless it is there; returns its index.
    int add(const std::string& name);

    Value& at(int index) { return values_[static_cast<std::size_t>(index)]; }
    const std::vector<std::string>& names() const { return names_; }
    std::size_t size() const { return names_.size(); }

private:
    std::vector<std::string> names_;
    std::vector<Value> values_;
};

// Where names are looked up: the current function's locals first, then the
// globals. `locals` may be null (top level).
struct Scope {
    Variables* locals = nullptr;
    Variables* globals = nullptr;
    Value* find(std::string_view name) const;
};

// Replaces the variable names of `expression` by constants. Names of
// functions (followed by "("), property names (after "."), the word
// operators and unknown names are left for the evaluator to judge. None when
// a variable is used as an array or an object (followed by "[" or "."),
// which no variable of this runtime is, or when the text holds a ";"
// outside a string.
std::optional<std::string> bindVariables(std::string_view expression, const Scope& scope);

class Evaluator {
public:
    // The value of the expression, none when it is not valid.
    std::optional<Value> evaluate(std::string_view expression, const Scope& scope);

private:
    varn::ExprChecker checker_;
};

bool isNameStart(char c);
bool isNameChar(char c);

}  // namespace varnwin
