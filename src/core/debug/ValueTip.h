// Value tips in the source view: the expression under the mouse pointer
// (a variable with members and bracketed indexes, not inside a string) and
// the tip text made from the runtime's reply.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varn {

class ValueTip {
public:
    static constexpr const char* kInvalidReply = "<Invalid expression>";
    static constexpr std::size_t kMaxTip = 79;
    static constexpr std::size_t kCutTip = 76;

    // The expression around `column` (0-based) of `line`, or none when the
    // pointer is not on one.
    static std::optional<std::string> expressionAt(std::string_view line, std::size_t column);
    // "expression = value", cut to 76 characters and "..." when longer than
    // 79; none when the runtime could not evaluate the expression.
    static std::optional<std::string> tipText(const std::string& expression, const std::string& reply);
};

}  // namespace varn
