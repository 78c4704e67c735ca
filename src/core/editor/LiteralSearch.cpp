#include "editor/LiteralSearch.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VARN_HAVE_AVX2_PATH 1
#endif

namespace varn {

namespace {

unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c | 0x20) : c; }
bool isLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
bool isAlnum(unsigned char c) { return isLetter(c) || (c >= '0' && c <= '9'); }

// How common a byte is in source text, roughly (smaller is rarer): blanks
// and line ends most, then the common letters, digits and signs.
int commonness(unsigned char c) {
    constexpr std::string_view kLettersRarestFirst = "zqjxkvbywgpfmucdlhrsnioate";
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') return 100;
    if (isLetter(c)) return 30 + static_cast<int>(kLettersRarestFirst.find(static_cast<char>(c | 0x20)));
    if (c >= '0' && c <= '9') return 40;
    if (c >= 0x80) return 10;
    return std::string_view("_(),;.\"=").find(static_cast<char>(c)) != std::string_view::npos ? 38 : 20;
}

// Escapes whose arguments follow them (a code, a name, a number) or that
// assert something about the whole subject: a pattern holding one gets no
// required text.
constexpr std::string_view kUnsafeEscapes = "QEGzZKxpPNogkc0123456789";

// Skips a character class that starts at `i` ('['); the offset after its ']',
// or npos when it does not end.
std::size_t skipClass(std::string_view p, std::size_t i) {
    std::size_t j = i + 1;
    if (j < p.size() && p[j] == '^') ++j;
    if (j < p.size() && p[j] == ']') ++j;  // a ']' first is a member
    while (j < p.size() && p[j] != ']') {
        if (p[j] == '\\') {
            j += 2;
        } else if (p[j] == '[' && j + 1 < p.size() && p[j + 1] == ':') {
            std::size_t end = p.find(":]", j + 2);
            if (end == std::string_view::npos) return std::string_view::npos;
            j = end + 2;
        } else {
            ++j;
        }
    }
    return j < p.size() ? j + 1 : std::string_view::npos;
}

// Skips a group that starts at `i` ('('); the offset after its ')', or npos.
std::size_t skipGroup(std::string_view p, std::size_t i) {
    int depth = 0;
    std::size_t j = i;
    while (j < p.size()) {
        const char c = p[j];
        if (c == '\\') {
            j += 2;
            continue;
        }
        if (c == '[') {
            j = skipClass(p, j);
            if (j == std::string_view::npos) return j;
            continue;
        }
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) return j + 1;
        ++j;
    }
    return std::string_view::npos;
}

// The end of a counted repeat "{n}", "{n,}" or "{n,m}" at `i`, or npos when
// the brace is not one (the pattern is then not read further).
std::size_t skipCount(std::string_view p, std::size_t i) {
    std::size_t j = i + 1;
    std::size_t digits = 0;
    while (j < p.size() && p[j] >= '0' && p[j] <= '9') ++j, ++digits;
    if (digits == 0) return std::string_view::npos;
    if (j < p.size() && p[j] == ',') {
        ++j;
        while (j < p.size() && p[j] >= '0' && p[j] <= '9') ++j;
    }
    return j < p.size() && p[j] == '}' ? j + 1 : std::string_view::npos;
}

#ifdef VARN_HAVE_AVX2_PATH
// The thirty-two-starts-at-a-time scan of find() for processors that have
// AVX2 (asked once). Advances `i`; the offset found, or npos when the rest is
// shorter than a step.
template <class Equal>
__attribute__((target("avx2"))) std::size_t scanWide(const unsigned char* h, std::size_t& i, std::size_t last,
                                                     std::size_t firstAt, std::size_t finalAt, unsigned char first,
                                                     unsigned char final, unsigned char firstFold,
                                                     unsigned char finalFold, const Equal& equalAt) {
    const __m256i vFirst = _mm256_set1_epi8(static_cast<char>(first));
    const __m256i vFinal = _mm256_set1_epi8(static_cast<char>(final));
    const __m256i vFirstFold = _mm256_set1_epi8(static_cast<char>(firstFold));
    const __m256i vFinalFold = _mm256_set1_epi8(static_cast<char>(finalFold));
    for (; i + 31 <= last; i += 32) {
        const __m256i a =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i + firstAt)), vFirstFold);
        const __m256i b =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i + finalAt)), vFinalFold);
        auto mask = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, vFirst), _mm256_cmpeq_epi8(b, vFinal))));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (equalAt(h + at)) return at;
            mask &= mask - 1;
        }
    }
    return std::string_view::npos;
}

bool haveWideScan() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

}  // namespace

LiteralSearch::LiteralSearch(std::string_view needle, bool matchCase) : needle_(needle), matchCase_(matchCase) {
    if (!matchCase_)
        for (char& c : needle_) c = static_cast<char>(lowerAscii(static_cast<unsigned char>(c)));
    // The rarest byte, and the rarest other byte (a second place when the
    // needle repeats one byte), keep the candidates few.
    auto rarity = [this](std::size_t k) { return commonness(static_cast<unsigned char>(needle_[k])); };
    for (std::size_t k = 1; k < needle_.size(); ++k)
        if (rarity(k) < rarity(rareAt_)) rareAt_ = k;
    otherAt_ = needle_.size() > 1 && rareAt_ == 0 ? 1 : 0;
    for (std::size_t k = 0; k < needle_.size(); ++k)
        if (k != rareAt_ &&
            (needle_[otherAt_] == needle_[rareAt_] || (needle_[k] != needle_[rareAt_] && rarity(k) < rarity(otherAt_))))
            otherAt_ = k;
}

bool LiteralSearch::equalAt(const unsigned char* at) const {
    const auto* n = reinterpret_cast<const unsigned char*>(needle_.data());
    if (matchCase_) return std::memcmp(at, n, needle_.size()) == 0;
    for (std::size_t k = 0; k < needle_.size(); ++k)
        if (lowerAscii(at[k]) != n[k]) return false;
    return true;
}

std::size_t LiteralSearch::find(std::string_view text, std::size_t from) const {
    const std::size_t n = needle_.size();
    if (n == 0 || text.size() < n || from > text.size() - n) return std::string_view::npos;
    const auto* h = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t last = text.size() - n;                         // the last offset a match can start at
    const auto first = static_cast<unsigned char>(needle_[rareAt_]);  // the two bytes tested first
    const auto final = static_cast<unsigned char>(needle_[otherAt_]);
    // Without case a letter is compared with its lower case: setting bit 5
    // of the text's byte maps "A".."Z" onto "a".."z" (and other bytes onto
    // bytes the full comparison then rejects).
    const unsigned char firstFold = !matchCase_ && isLetter(first) ? 0x20 : 0;
    const unsigned char finalFold = !matchCase_ && isLetter(final) ? 0x20 : 0;
    std::size_t i = from;
#ifdef VARN_HAVE_AVX2_PATH
    if (haveWideScan()) {
        const std::size_t at = scanWide(h, i, last, rareAt_, otherAt_, first, final, firstFold, finalFold,
                                        [this](const unsigned char* p) { return equalAt(p); });
        if (at != std::string_view::npos) return at;
    }
#endif
#ifdef __SSE2__
    // Sixteen starts at a time: the needle's two rare bytes must both fit
    // before the whole needle is compared.
    const __m128i vFirst = _mm_set1_epi8(static_cast<char>(first));
    const __m128i vFinal = _mm_set1_epi8(static_cast<char>(final));
    const __m128i vFirstFold = _mm_set1_epi8(static_cast<char>(firstFold));
    const __m128i vFinalFold = _mm_set1_epi8(static_cast<char>(finalFold));
    for (; i + 15 <= last; i += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + rareAt_)), vFirstFold);
        const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + otherAt_)), vFinalFold);
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, vFirst), _mm_cmpeq_epi8(b, vFinal))));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (equalAt(h + at)) return at;
            mask &= mask - 1;
        }
    }
#endif
    for (; i <= last; ++i)
        if ((h[i + rareAt_] | firstFold) == first && equalAt(h + i)) return i;
    return std::string_view::npos;
}

std::optional<std::string> LiteralSearch::requiredText(std::string_view p) {
    // Inline options and verbs change how the rest reads.
    if (p.find("(?") != std::string_view::npos || p.find("(*") != std::string_view::npos) return std::nullopt;
    std::string best, run;
    auto endRun = [&] {
        if (run.size() > best.size()) best = run;
        run.clear();
    };
    std::size_t i = 0;
    while (i < p.size()) {
        const char c = p[i];
        if (c == '\\') {
            if (i + 1 >= p.size()) return std::nullopt;
            const auto d = static_cast<unsigned char>(p[i + 1]);
            i += 2;
            if (isAlnum(d)) {
                if (kUnsafeEscapes.find(static_cast<char>(d)) != std::string_view::npos) return std::nullopt;
                endRun();  // a class of characters or an assertion
            } else {
                run += static_cast<char>(d);
            }
            continue;
        }
        if (c == '[' || c == '(') {
            endRun();
            i = c == '[' ? skipClass(p, i) : skipGroup(p, i);
            if (i == std::string_view::npos) return std::nullopt;
            continue;
        }
        if (c == '|' || c == ')') return std::nullopt;
        if (c == '*' || c == '?' || c == '+' || c == '{') {
            // The repeat belongs to the character before it (when that is
            // part of the run): optional ones leave the run.
            if (c != '+' && !run.empty()) run.pop_back();
            endRun();
            if (c == '{') {
                i = skipCount(p, i);
                if (i == std::string_view::npos) return std::nullopt;
            } else {
                ++i;
            }
            if (i < p.size() && (p[i] == '+' || p[i] == '?')) ++i;  // possessive or lazy
            continue;
        }
        if (c == '.' || c == '^' || c == '$') {
            endRun();
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') return std::nullopt;
        run += c;
        ++i;
    }
    endRun();
    if (best.empty()) return std::nullopt;
    return best;
}

}  // namespace varn
