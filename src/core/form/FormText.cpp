#include "form/FormText.h"

#include <climits>

namespace varn {

namespace {
char lowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string trimBlanks(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

std::string_view trimLeftView(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && isBlank(s[b])) ++b;
    return s.substr(b);
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lowerChar(c);
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerChar(a[i]) != lowerChar(b[i])) return false;
    return true;
}

void FormScanner::skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
}

bool FormScanner::literal(char c) {
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
}

bool FormScanner::integer(int& out) {
    skipBlanks();
    std::size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) negative = text_[p++] == '-';
    if (p >= text_.size() || text_[p] < '0' || text_[p] > '9') return false;
    long long v = 0;
    for (; p < text_.size() && text_[p] >= '0' && text_[p] <= '9'; ++p)
        if (v <= INT_MAX) v = v * 10 + (text_[p] - '0');
    if (negative) v = -v;
    out = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
    pos_ = p;
    return true;
}

bool FormScanner::charsExcept(std::string_view excluded, std::string& out) {
    std::size_t p = pos_;
    while (p < text_.size() && excluded.find(text_[p]) == std::string_view::npos) ++p;
    if (p == pos_) return false;
    out.assign(text_.substr(pos_, p - pos_));
    pos_ = p;
    return true;
}

bool FormScanner::word(std::string& out) {
    skipBlanks();
    std::size_t p = pos_;
    while (p < text_.size() && !isBlank(text_[p])) ++p;
    if (p == pos_) return false;
    out.assign(text_.substr(pos_, p - pos_));
    pos_ = p;
    return true;
}

bool FormScanner::anyChar(char& out) {
    if (pos_ >= text_.size()) return false;
    out = text_[pos_++];
    return true;
}

}  // namespace varn
