#include "expr/ExprFunctions.h"

#include "expr/ExprMath.h"
#include "expr/FunctionTable.h"

#include <array>
#include <charconv>
#include <cmath>

namespace varn {

namespace {

// Only this many arguments are type-checked.
constexpr int kCheckedArguments = 30;

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
char lowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char upperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

double mathFunction(int index, double x, double y) {
    switch (index) {
    case BuiltIn::Abs: return std::fabs(x);
    case BuiltIn::Acos: return std::acos(x);
    case BuiltIn::Acosh: return std::acosh(x);
    case BuiltIn::Asin: return std::asin(x);
    case BuiltIn::Asinh: return std::asinh(x);
    case BuiltIn::Atan: return std::atan(x);
    case BuiltIn::Atan2: return std::atan2(x, y);
    case BuiltIn::Atanh: return std::atanh(x);
    case BuiltIn::Cos: return std::cos(x);
    case BuiltIn::Cosh: return std::cosh(x);
    case BuiltIn::Exp: return std::exp(x);
    case BuiltIn::Ln: return std::log(x);
    case BuiltIn::Log: return std::log10(x);
    case BuiltIn::Pow: return std::pow(x, y);
    case BuiltIn::Sin: return std::sin(x);
    case BuiltIn::Sinh: return std::sinh(x);
    case BuiltIn::Sqrt: return std::sqrt(x);
    case BuiltIn::Tan: return std::tan(x);
    case BuiltIn::Tanh: return std::tanh(x);
    case BuiltIn::Int:
    case BuiltIn::Trunc: return std::trunc(x);
    case BuiltIn::Round: return std::trunc(x + 0.5);
    default: return 0.0;
    }
}

bool isMathFunction(int index) {
    switch (index) {
    case BuiltIn::Abs: case BuiltIn::Acos: case BuiltIn::Acosh: case BuiltIn::Asin: case BuiltIn::Asinh:
    case BuiltIn::Atan: case BuiltIn::Atan2: case BuiltIn::Atanh: case BuiltIn::Cos: case BuiltIn::Cosh:
    case BuiltIn::Exp: case BuiltIn::Ln: case BuiltIn::Log: case BuiltIn::Pow: case BuiltIn::Sin:
    case BuiltIn::Sinh: case BuiltIn::Sqrt: case BuiltIn::Tan: case BuiltIn::Tanh: case BuiltIn::Int:
    case BuiltIn::Trunc: case BuiltIn::Round:
        return true;
    default:
        return false;
    }
}

// Preview values of the functions that ask the running device.
bool devicePreview(int index, double& value) {
    switch (index) {
    case BuiltIn::True: case BuiltIn::RandomN: case BuiltIn::TimeValue: case BuiltIn::Exists:
        value = 1.0;
        return true;
    case BuiltIn::False: case BuiltIn::MessageBox: case BuiltIn::GetCategory: case BuiltIn::SetCategory:
        value = 0.0;
        return true;
    default:
        return false;
    }
}

// Which way a number too large or too small for a double went: true when
// its decimal magnitude is above one.
bool overflows(std::string_view digits) {
    int magnitude = 0;
    bool seenDigit = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < digits.size(); ++i) {
        char c = digits[i];
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (c != '0') seenDigit = true;
            if (!afterPoint && seenDigit) ++magnitude;
            if (afterPoint && !seenDigit) --magnitude;
        } else {
            break;
        }
    }
    long exponent = 0;
    bool negative = false;
    if (i < digits.size() && (digits[i] == 'e' || digits[i] == 'E')) {
        ++i;
        if (i < digits.size() && (digits[i] == '-' || digits[i] == '+')) negative = digits[i++] == '-';
        for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9' && exponent < 1000000; ++i) {
            exponent = exponent * 10 + (digits[i] - '0');
        }
    }
    return magnitude + (negative ? -exponent : exponent) > 0;
}

// The leading number of a text as the C library's atof reads it (decimal
// only, in the C locale); 0 when the text does not begin with one.
double textToNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) return 0.0;
    double value = 0.0;
    const char* first = text.data() + i;
    auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        value = overflows(std::string_view(first, end - first)) ? HUGE_VAL : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::string leftOf(const std::string& s, double count) {
    double n = std::trunc(count);
    if (!(n >= 0)) return {};
    if (n >= static_cast<double>(s.size())) return s;
    return s.substr(0, static_cast<std::size_t>(n));
}

std::string rightOf(const std::string& s, double count) {
    double n = std::trunc(count);
    if (!(n >= 0)) return {};
    if (n >= static_cast<double>(s.size())) return s;
    return s.substr(s.size() - static_cast<std::size_t>(n));
}

// Start is an index from 0 cut to its low 16 bits.
std::string middleOf(const std::string& s, double start, double count) {
    std::size_t from = static_cast<std::uint32_t>(truncToInt32(start)) & 0xFFFFu;
    double n = std::trunc(count);
    if (from > s.size() || !(n >= 0)) return {};
    std::size_t available = s.size() - from;
    std::size_t take = n >= static_cast<double>(available) ? available : static_cast<std::size_t>(n);
    return s.substr(from, take);
}

// Index of the first t in s from the beginning, -1 when none or s is empty.
double findIn(const std::string& s, const std::string& t) {
    if (s.empty()) return -1.0;
    std::size_t at = s.find(t);
    return at == std::string::npos ? -1.0 : static_cast<double>(at);
}

std::string characterOf(double code) {
    char c = static_cast<char>(static_cast<std::uint32_t>(truncToInt32(code)) & 0xFFu);
    return c == 0 ? std::string() : std::string(1, c);
}

}  // namespace

std::tm localClock() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// "%[0]*.*f" with the picture's length as width and the characters after its
// first "." as decimals, formatted without regard to the process locale.
std::string formatPicture(double value, std::string_view picture) {
    bool zeros = !picture.empty() && picture[0] == '0';
    std::size_t point = picture.find('.');
    int decimals = point == std::string_view::npos ? 0 : static_cast<int>(picture.size() - point - 1);
    std::size_t width = picture.size();

    std::string digits(340 + static_cast<std::size_t>(decimals), '\0');
    auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed,
                                   decimals);
    digits.resize(ec == std::errc() ? static_cast<std::size_t>(end - digits.data()) : 0);
    if (digits.size() >= width) return digits;

    std::size_t pad = width - digits.size();
    bool finite = std::isfinite(value);
    if (!zeros || !finite) return std::string(pad, ' ') + digits;
    std::size_t signLength = digits[0] == '-' ? 1 : 0;
    digits.insert(signLength, pad, '0');
    return digits;
}

bool ExprFunctions::fail(ExprNode* call, const std::string& message) {
    diagnostics_.error(message);
    call->dataType = ExprType::Failed;
    return false;
}

bool ExprFunctions::apply(ExprNode* call) {
    const FunctionInfo& function = functionTable()[call->symbolIndex];
    std::array<ExprNode*, kCheckedArguments> args{};
    int count = 0;
    for (ExprNode* a = call->left; a && count < kCheckedArguments; a = a->next) args[count++] = a;
    for (int i = 0; i < count; ++i) {
        int wanted = i < static_cast<int>(function.argumentTypes.size()) ? function.argumentTypes[i] : ExprType::Any;
        if (wanted != ExprType::Any && args[i]->dataType != wanted) {
            return fail(call, "Mismatched function argument datatype for argument " + std::to_string(i + 1));
        }
    }
    if (function.argumentCount > count) {
        return fail(call, "Mismatched function argument datatype for argument " + std::to_string(count + 1));
    }
    int index = call->symbolIndex;
    if (applyNumber(call, index, args.data()) || applyString(call, index, args.data()) || applyClock(call, index)) {
        return true;
    }
    return fail(call, "Function " + std::string(function.name) + " not yet supported.");
}

bool ExprFunctions::applyNumber(ExprNode* call, int index, ExprNode* const* args) {
    double value = 0.0;
    if (isMathFunction(index)) {
        double second = index == BuiltIn::Atan2 || index == BuiltIn::Pow ? args[1]->number : 0.0;
        value = mathFunction(index, args[0]->number, second);
    } else if (index == BuiltIn::Asc) {
        value = args[0]->text.empty() ? 0.0 : static_cast<unsigned char>(args[0]->text[0]);
    } else if (index == BuiltIn::Length) {
        value = static_cast<double>(args[0]->text.size());
    } else if (index == BuiltIn::Exact) {
        value = args[0]->text == args[1]->text ? 1.0 : 0.0;
    } else if (index == BuiltIn::Find) {
        value = findIn(args[0]->text, args[1]->text);
    } else if (index == BuiltIn::Value) {
        value = textToNumber(args[0]->text);
    } else if (!devicePreview(index, value)) {
        return false;
    }
    call->dataType = ExprType::Number;
    call->number = value;
    return true;
}

bool ExprFunctions::applyString(ExprNode* call, int index, ExprNode* const* args) {
    std::string result;
    switch (index) {
    case BuiltIn::Char: result = characterOf(args[0]->number); break;
    case BuiltIn::Lower:
        result = args[0]->text;
        for (char& c : result) c = lowerChar(c);
        break;
    case BuiltIn::Upper:
        result = args[0]->text;
        for (char& c : result) c = upperChar(c);
        break;
    case BuiltIn::Left: result = leftOf(args[0]->text, args[1]->number); break;
    case BuiltIn::Right: result = rightOf(args[0]->text, args[1]->number); break;
    case BuiltIn::Mid: result = middleOf(args[0]->text, args[1]->number, args[2]->number); break;
    case BuiltIn::String: result = formatPicture(args[0]->number, args[1]->text); break;
    case BuiltIn::UserPath:
    case BuiltIn::ByteString:
    case BuiltIn::GetCategoryString: break;
    default: return false;
    }
    call->dataType = ExprType::String;
    call->text = std::move(result);
    return true;
}

bool ExprFunctions::applyClock(ExprNode* call, int index) {
    switch (index) {
    case BuiltIn::Day: case BuiltIn::Month: case BuiltIn::Year: case BuiltIn::Hour:
    case BuiltIn::Minute: case BuiltIn::Second: case BuiltIn::Weekday: break;
    default: return false;
    }
    std::tm now = clock_ ? clock_() : localClock();
    int value = 0;
    switch (index) {
    case BuiltIn::Day: value = now.tm_mday; break;
    case BuiltIn::Month: value = now.tm_mon + 1; break;
    case BuiltIn::Year: value = now.tm_year + 1900; break;
    case BuiltIn::Hour: value = now.tm_hour; break;
    case BuiltIn::Minute: value = now.tm_min; break;
    case BuiltIn::Second: value = now.tm_sec; break;
    default: value = now.tm_wday; break;
    }
    call->dataType = ExprType::Number;
    call->number = value;
    return true;
}

}  // namespace varn
