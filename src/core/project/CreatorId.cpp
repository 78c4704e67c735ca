#include "project/CreatorId.h"

#include <cctype>
#include <cstdio>

namespace varn::creator {

namespace {

// Value of one digit as the dialog has always taken it: "0".."9" by their
// number, anything else counted from "A" (so "A".."F" give 10..15).
int digitValue(char c) {
    unsigned char u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
    if (u >= '0' && u <= '9') return u - '0';
    return static_cast<int>(u) - 'A' + 10;
}

char shown(int code) {
    unsigned char c = static_cast<unsigned char>(code & 0xFF);
    return (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
}

}  // namespace

bool isStoredForm(const std::string& hex) {
    if (hex.size() > kMaxHex) return false;
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string textToHex(const std::string& text) {
    std::string hex;
    for (char c : text) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%.2X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        hex += digits;
        if (hex.size() >= kMaxHex) break;
    }
    if (hex.size() > kMaxHex) hex.resize(kMaxHex);
    return hex;
}

std::string hexToText(const std::string& hex) {
    std::string text;
    for (std::size_t i = 0; i < hex.size() && text.size() < kMaxText; i += 2) {
        int high = digitValue(hex[i]);
        int low = i + 1 < hex.size() ? digitValue(hex[i + 1]) : 0;
        text += shown(high * 16 + low);
    }
    return text;
}

}  // namespace varn::creator
