#include "Values.h"

#include "expr/ExprNode.h"
#include "platform/Paths.h"

#include <charconv>
#include <cmath>

namespace varnwin {

namespace {

bool sameName(std::string_view a, std::string_view b) { return varn::paths::equalNoCase(std::string(a), std::string(b)); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isWordOperator(std::string_view word) {
    return sameName(word, "and") || sameName(word, "or") || sameName(word, "not") || sameName(word, "xor");
}

// The shortest decimal form that reads back as the same double.
std::string exactNumber(double v) {
    if (std::isnan(v)) return "(sqrt(-1))";
    if (std::isinf(v)) return v < 0 ? "(-1e999)" : "(1e999)";
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v));
    std::string digits = ec == std::errc() ? std::string(buffer, end) : std::string("0");
    return std::signbit(v) && v != 0.0 ? "(-" + digits + ")" : digits;
}

// A quoted string constant holds at most this many characters.
constexpr std::size_t kPieceLength = 200;

std::string quotedText(const std::string& text) {
    std::vector<std::string> parts;
    std::string piece;
    std::size_t pieceChars = 0;
    auto closePiece = [&] {
        if (pieceChars > 0) parts.push_back("\"" + piece + "\"");
        piece.clear();
        pieceChars = 0;
    };
    for (char c : text) {
        if (c == '\0') continue;  // a text ends at its zero byte; none can hold one
        if (c == '\n') {          // would end the constant
            closePiece();
            parts.push_back("char(10)");
            continue;
        }
        if (c == '"' || c == '\\') piece += '\\';
        piece += c;
        if (++pieceChars == kPieceLength) closePiece();
    }
    closePiece();
    if (parts.empty()) return "\"\"";
    if (parts.size() == 1) return parts[0];
    std::string joined = "(";
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? "+" : "") + parts[i];
    return joined + ")";
}

// The first character at or after `at` that is not blank, 0 at the end.
char nextNonBlank(std::string_view s, std::size_t at) {
    while (at < s.size() && isBlank(s[at])) ++at;
    return at < s.size() ? s[at] : '\0';
}

char previousNonBlank(std::string_view s, std::size_t at) {
    while (at > 0 && isBlank(s[at - 1])) --at;
    return at > 0 ? s[at - 1] : '\0';
}

}  // namespace

bool isNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || isDigit(c); }

std::string displayText(const Value& value) {
    return value.isText ? value.text : varn::formatGeneral(value.number);
}

std::string constantOf(const Value& value) { return value.isText ? quotedText(value.text) : exactNumber(value.number); }

int Variables::find(std::string_view name) const {
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (sameName(names_[i], name)) return static_cast<int>(i);
    return -1;
}

int Variables::add(const std::string& name) {
    if (int i = find(name); i >= 0) return i;
    names_.push_back(name);
    values_.push_back(Value{});
    return static_cast<int>(names_.size() - 1);
}

Value* Scope::find(std::string_view name) const {
    for (Variables* table : {locals, globals}) {
        if (!table) continue;
        if (int i = table->find(name); i >= 0) return &table->at(i);
    }
    return nullptr;
}

// Walks the text the way the core lexer does, so that digits and letters
// inside numbers, strings and comments are never taken for names.
std::optional<std::string> bindVariables(std::string_view e, const Scope& scope) {
    std::string out;
    std::size_t i = 0;
    while (i < e.size()) {
        const char c = e[i];
        const std::size_t start = i;
        if (c == '"') {
            for (++i; i < e.size(); ++i) {
                if (e[i] == '\\' && i + 1 < e.size() && (e[i + 1] == '"' || e[i + 1] == '\\')) ++i;
                else if (e[i] == '"' || e[i] == '\n') break;
            }
            i = i < e.size() ? i + 1 : i;
        } else if (c == '#') {
            while (i < e.size() && e[i] != '\n') ++i;
        } else if (c == ';') {
            return std::nullopt;
        } else if (isDigit(c)) {
            while (i < e.size() && isDigit(e[i])) ++i;
            if (i < e.size() && e[i] == '.')
                for (++i; i < e.size() && isDigit(e[i]);) ++i;
            if (i < e.size() && (e[i] == 'e' || e[i] == 'E')) {
                ++i;
                if (i < e.size() && (e[i] == '+' || e[i] == '-')) ++i;
                while (i < e.size() && isDigit(e[i])) ++i;
            }
        } else if (isNameStart(c)) {
            while (i < e.size() && isNameChar(e[i])) ++i;
            std::string_view name = e.substr(start, i - start);
            const char after = nextNonBlank(e, i);
            const bool property = previousNonBlank(e, start) == '.';
            Value* value = (property || after == '(' || isWordOperator(name)) ? nullptr : scope.find(name);
            if (value) {
                if (after == '.' || after == '[') return std::nullopt;
                out += constantOf(*value);
                continue;
            }
        } else {
            ++i;
        }
        out.append(e.substr(start, i - start));
    }
    return out;
}

std::optional<Value> Evaluator::evaluate(std::string_view expression, const Scope& scope) {
    std::optional<std::string> bound = bindVariables(expression, scope);
    if (!bound) return std::nullopt;
    varn::ExprResult r = checker_.check(*bound, '\0');
    if (r.status != varn::ExprResult::Ok || checker_.errorCount() > 0) return std::nullopt;
    if (r.dataType == varn::ExprType::Number) return Value::ofNumber(r.number);
    if (r.dataType == varn::ExprType::String) return Value::ofText(std::move(r.text));
    return std::nullopt;
}

}  // namespace varnwin
