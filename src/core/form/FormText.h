// Small text helpers of the form file: blank trimming, case folding, prefix
// tests, and a scanner that reads values the way the C library's scanf
// directives do (%d, %[^...], %s, %c, literal characters), without locale and
// without ever reading past its text.
#pragma once

#include <string>
#include <string_view>

namespace varn {

bool isBlank(char c);  // space, tab, CR, LF, vertical tab, form feed
std::string trimBlanks(std::string_view s);
std::string_view trimLeftView(std::string_view s);
std::string lowerAscii(std::string_view s);
bool startsWith(std::string_view s, std::string_view prefix);
bool startsWithNoCase(std::string_view s, std::string_view prefix);
bool equalsNoCase(std::string_view a, std::string_view b);

class FormScanner {
public:
    explicit FormScanner(std::string_view text) : text_(text) {}

    // A blank in a format: skips any number of blanks, none included.
    void skipBlanks();
    // An ordinary format character: must be the next character.
    bool literal(char c);
    // %d: optional blanks, sign and at least one digit; saturates at the int range.
    bool integer(int& out);
    // %[^set]: one or more characters not in `excluded`.
    bool charsExcept(std::string_view excluded, std::string& out);
    // %s: optional blanks, then one or more non-blank characters.
    bool word(std::string& out);
    // %c: the next character, whatever it is.
    bool anyChar(char& out);

    bool atEnd() const { return pos_ >= text_.size(); }
    std::string_view rest() const { return text_.substr(pos_); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace varn
