// The search engine behind Find in Files and the editor's Find and Replace:
// a search text, taken literally or as a regular expression (PCRE2 syntax,
// compiled with the JIT where the library has one, and only run on the lines
// that hold a text every match needs), with or without regard to case. Texts
// are searched as bytes; a line ends at LF, CR LF or a lone CR, and a match
// never runs over the end of its line.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace varn {

struct TextMatch {
    std::size_t begin = 0;      // offset of the match in the searched text
    std::size_t end = 0;        // one past its last byte
    std::size_t lineBegin = 0;  // offset of the first byte of the match's line
    std::size_t lineEnd = 0;    // offset of the line's terminator (or the text's end)
};

class TextMatcher {
public:
    // Compiles the search text. An invalid regular expression gives an Error
    // whose message names the fault and its offset. An empty search text is
    // valid and never matches.
    static Result<TextMatcher> compile(std::string_view text, bool regularExpression, bool matchCase);

    TextMatcher(TextMatcher&&) noexcept;
    TextMatcher& operator=(TextMatcher&&) noexcept;
    ~TextMatcher();

    // The first match that starts at or after `from` and lies within one line.
    // Regular expressions see each line as a whole: "^" and "$" match at its
    // start and end.
    std::optional<TextMatch> find(std::string_view text, std::size_t from = 0) const;

    bool usesJit() const;

private:
    struct Impl;
    explicit TextMatcher(std::unique_ptr<Impl> impl);
    // One call of the library over text[0, size) starting at `from`.
    bool run(const char* text, std::size_t size, std::size_t from, std::size_t& begin, std::size_t& end) const;
    // find() for an expression with a required text: line by line.
    std::optional<TextMatch> findByLines(std::string_view text, std::size_t from) const;

    std::unique_ptr<Impl> impl_;
};

// Line terminators: LF, CR LF and a lone CR.
inline bool isLineBreak(char c) { return c == '\n' || c == '\r'; }
// Offset of the next line's first byte after the terminator at `at`.
std::size_t nextLineStart(std::string_view text, std::size_t at);
// Number of line breaks in text[from, to): LF, CR LF (once) and a lone CR;
// for a CR at `to - 1` the byte after `to` decides.
std::size_t countLineBreaks(std::string_view text, std::size_t from, std::size_t to);

}  // namespace varn
