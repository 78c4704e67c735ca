// A fixed byte string searched for fast, with or without regard to ASCII case:
// the plain-text search of Find in Files and the prefilter that finds the
// lines a regular expression can match at all (those holding a text that
// every match of the expression contains).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varn {

class LiteralSearch {
public:
    // `needle` must not be empty. Without `matchCase` only the letters A-Z
    // and a-z are equal to their other case, as in the regular expressions.
    LiteralSearch(std::string_view needle, bool matchCase);

    // Offset of the first occurrence that starts at or after `from`, or npos.
    std::size_t find(std::string_view text, std::size_t from = 0) const;
    std::size_t size() const { return needle_.size(); }

    // A text that every match of the regular expression `pattern` contains
    // within one line, when one can be read off the pattern safely (the
    // longest such run of plain characters); none for alternatives, inline
    // options, verbs and escapes whose meaning reaches beyond one line.
    static std::optional<std::string> requiredText(std::string_view pattern);

private:
    bool equalAt(const unsigned char* at) const;

    std::string needle_;  // lower-cased when case is ignored
    bool matchCase_;
    // The two bytes of the needle tested first: the rarest in source text.
    std::size_t rareAt_ = 0;
    std::size_t otherAt_ = 0;
};

}  // namespace varn
