// The lines of one text that a search text matches, one hit a line, in order,
// with their numbers: the per-file work of the project search. A file is read
// a piece of whole lines at a time, so that a file of any size is searched in
// little memory.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace varn {

class TextMatcher;

class LineSearch {
public:
    static constexpr std::size_t kPieceSize = 1 << 20;

    struct Hit {
        int line = 0;               // from 1
        std::string_view lineText;  // without its terminator
        std::size_t column = 0;     // the match within the line, in bytes
        std::size_t length = 0;
    };
    // Called for each matching line; false stops the search.
    using OnHit = std::function<bool(const Hit&)>;

    // `pieceSize`: bytes read from a file at a time (a longer line is read whole).
    explicit LineSearch(const TextMatcher& matcher, std::size_t pieceSize = kPieceSize);

    void searchText(std::string_view text, const OnHit& onHit);
    // False when the file cannot be opened or read. Stops early, quietly,
    // once `cancel` is set.
    bool searchFile(const std::string& path, const OnHit& onHit, const std::atomic<bool>* cancel = nullptr);

private:
    // Searches whole lines; `last` is the text's final piece. False when the
    // caller stopped the search.
    bool searchPiece(std::string_view text, bool last, const OnHit& onHit);
    bool grow(std::size_t capacity);

    const TextMatcher& matcher_;
    std::size_t pieceSize_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    int line_ = 1;  // number of the piece's first line
};

}  // namespace varn
