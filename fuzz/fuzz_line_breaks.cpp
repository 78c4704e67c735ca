// Fuzz target for the word-at-a-time line-break count: over any text and
// every sub-range of it the count equals the byte-by-byte one (CR LF, lone
// CR and lone LF each end one line).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/TextMatcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256) return 0;  // every sub-range is counted
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (std::size_t from = 0; from <= size; ++from) {
        std::size_t expected = 0;
        for (std::size_t to = from; to <= size; ++to) {
            if (varn::countLineBreaks(text, from, to) != expected) std::abort();
            if (to < size)
                expected += text[to] == '\n' || (text[to] == '\r' && (to + 1 == size || text[to + 1] != '\n'));
        }
    }
    return 0;
}
