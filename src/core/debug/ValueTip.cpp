#include "debug/ValueTip.h"

#include <algorithm>

namespace varn {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return isLetter(c) || isDigit(c) || c == '_' || c == '.'; }

// Position of the "[" matching the "]" at `close`, or none.
std::optional<std::size_t> openingBracket(std::string_view line, std::size_t close) {
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (line[i] == ']') ++depth;
        if (line[i] == '[' && --depth == 0) return i;
    }
    return std::nullopt;
}

// Position of the "]" matching the "[" at `open`, or none.
std::optional<std::size_t> closingBracket(std::string_view line, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < line.size(); ++i) {
        if (line[i] == '[') ++depth;
        if (line[i] == ']' && --depth == 0) return i;
    }
    return std::nullopt;
}

std::size_t scanLeft(std::string_view line, std::size_t start) {
    while (start > 0) {
        const char c = line[start - 1];
        if (isNameChar(c)) {
            --start;
            continue;
        }
        if (c != ']') break;
        const auto open = openingBracket(line, start - 1);
        if (!open) break;
        start = *open;
    }
    return start;
}

std::size_t scanRight(std::string_view line, std::size_t end) {
    while (end < line.size()) {
        const char c = line[end];
        if (isNameChar(c)) {
            ++end;
            continue;
        }
        if (c != '[') break;
        const auto close = closingBracket(line, end);
        if (!close) break;
        end = *close + 1;
    }
    return end;
}

}  // namespace

std::optional<std::string> ValueTip::expressionAt(std::string_view line, std::size_t column) {
    if (column >= line.size() || !isNameChar(line[column])) return std::nullopt;
    const std::size_t start = scanLeft(line, column);
    if (!isLetter(line[start]) && line[start] != '_') return std::nullopt;
    const auto quotes = std::count(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(start), '"');
    if (quotes % 2 != 0) return std::nullopt;
    const std::size_t end = scanRight(line, column);
    return std::string(line.substr(start, end - start));
}

std::optional<std::string> ValueTip::tipText(const std::string& expression, const std::string& reply) {
    if (reply == kInvalidReply) return std::nullopt;
    std::string tip = expression + " = " + reply;
    if (tip.size() > kMaxTip) tip = tip.substr(0, kCutTip) + "...";
    return tip;
}

}  // namespace varn
