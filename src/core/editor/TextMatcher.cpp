#include "editor/TextMatcher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "editor/LiteralSearch.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace varn {

namespace {

// Room for the JIT's backtracking; the library's 32 KiB default is too small
// for some ordinary expressions over long lines.
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 1024 * 1024;

std::string errorText(int code) {
    PCRE2_UCHAR buffer[256];
    int n = pcre2_get_error_message(code, buffer, sizeof buffer);
    if (n < 0) return "error " + std::to_string(code);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
}

}  // namespace

struct TextMatcher::Impl {
    pcre2_code* code = nullptr;
    pcre2_match_data* data = nullptr;
    pcre2_match_context* context = nullptr;
    pcre2_jit_stack* stack = nullptr;
    bool jit = false;
    bool empty = false;  // the search text was empty: nothing matches
    // A plain search text within one line: found without the library.
    std::optional<LiteralSearch> literal;
    // A text every match of the expression holds: only the lines that hold
    // it are given to the library.
    std::optional<LiteralSearch> required;

    ~Impl() {
        if (context) pcre2_match_context_free(context);
        if (stack) pcre2_jit_stack_free(stack);
        if (data) pcre2_match_data_free(data);
        if (code) pcre2_code_free(code);
    }
};

TextMatcher::TextMatcher(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TextMatcher::TextMatcher(TextMatcher&&) noexcept = default;
TextMatcher& TextMatcher::operator=(TextMatcher&&) noexcept = default;
TextMatcher::~TextMatcher() = default;

Result<TextMatcher> TextMatcher::compile(std::string_view text, bool regularExpression, bool matchCase) {
    auto impl = std::make_unique<Impl>();
    if (text.empty()) {
        impl->empty = true;
        return TextMatcher(std::move(impl));
    }

    // Literal texts cannot take the multi-line option (and do not need it).
    std::uint32_t options = regularExpression ? PCRE2_MULTILINE : PCRE2_LITERAL;
    if (!matchCase) options |= PCRE2_CASELESS;

    pcre2_compile_context* cc = pcre2_compile_context_create(nullptr);
    if (!cc) return makeError("Out of memory compiling the search text.");
    pcre2_set_newline(cc, PCRE2_NEWLINE_ANYCRLF);
    int code = 0;
    PCRE2_SIZE offset = 0;
    impl->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), options, &code, &offset, cc);
    pcre2_compile_context_free(cc);
    if (!impl->code) return makeError(errorText(code) + " at offset " + std::to_string(offset) + ".", code);

    impl->data = pcre2_match_data_create_from_pattern(impl->code, nullptr);
    impl->context = pcre2_match_context_create(nullptr);
    if (!impl->data || !impl->context) return makeError("Out of memory compiling the search text.");

    if (!regularExpression && text.find_first_of("\r\n") == std::string_view::npos) {
        impl->literal.emplace(text, matchCase);
    } else if (regularExpression) {
        if (auto must = LiteralSearch::requiredText(text)) impl->required.emplace(*must, matchCase);
    }

    std::uint32_t haveJit = 0;
    pcre2_config(PCRE2_CONFIG_JIT, &haveJit);
    if (haveJit && pcre2_jit_compile(impl->code, PCRE2_JIT_COMPLETE) == 0) {
        impl->stack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
        if (impl->stack) pcre2_jit_stack_assign(impl->context, nullptr, impl->stack);
        impl->jit = true;
    }
    return TextMatcher(std::move(impl));
}

bool TextMatcher::usesJit() const { return impl_->jit; }

bool TextMatcher::run(const char* text, std::size_t size, std::size_t from, std::size_t& begin,
                      std::size_t& end) const {
    auto subject = reinterpret_cast<PCRE2_SPTR>(text);
    int rc = impl_->jit ? pcre2_jit_match(impl_->code, subject, size, from, 0, impl_->data, impl_->context)
                        : pcre2_match(impl_->code, subject, size, from, 0, impl_->data, impl_->context);
    // No match, and the limits of a runaway expression, both end the search.
    if (rc < 0) return false;
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(impl_->data);
    begin = ov[0];
    end = ov[1];
    // "\K" in a lookahead can report an end before the start.
    if (end < begin) end = begin;
    return true;
}

namespace {

// The match [b, e) with the bounds of the line it starts on.
TextMatch inLine(std::string_view text, std::size_t b, std::size_t e) {
    TextMatch m;
    m.begin = b;
    m.end = e;
    m.lineBegin = b;
    while (m.lineBegin > 0 && !isLineBreak(text[m.lineBegin - 1])) --m.lineBegin;
    m.lineEnd = b;
    while (m.lineEnd < text.size() && !isLineBreak(text[m.lineEnd])) ++m.lineEnd;
    return m;
}

}  // namespace

std::optional<TextMatch> TextMatcher::find(std::string_view text, std::size_t from) const {
    if (impl_->empty) return std::nullopt;
    if (impl_->literal) {
        const std::size_t at = from <= text.size() ? impl_->literal->find(text, from) : std::string_view::npos;
        if (at == std::string_view::npos) return std::nullopt;
        return inLine(text, at, at + impl_->literal->size());
    }
    if (impl_->required) return findByLines(text, from);
    const char* p = text.data();
    const std::size_t size = text.size();
    while (from <= size) {
        std::size_t b = 0, e = 0;
        if (!run(p, size, from, b, e)) return std::nullopt;

        // A match that starts on the LF of a CR LF pair starts at its line's end.
        std::size_t at = (b > 0 && b < size && p[b] == '\n' && p[b - 1] == '\r') ? b - 1 : b;
        TextMatch m;
        m.lineBegin = at;
        while (m.lineBegin > 0 && !isLineBreak(p[m.lineBegin - 1])) --m.lineBegin;
        m.lineEnd = at;
        while (m.lineEnd < size && !isLineBreak(p[m.lineEnd])) ++m.lineEnd;
        if (e <= m.lineEnd) {
            m.begin = b;
            m.end = e;
            return m;
        }

        // The match ran over the end of its line: try that line on its own,
        // as a line-by-line engine would, then go on with the next line.
        std::size_t start = from > m.lineBegin ? from - m.lineBegin : 0;
        if (run(p + m.lineBegin, m.lineEnd - m.lineBegin, start, b, e)) {
            m.begin = m.lineBegin + b;
            m.end = m.lineBegin + e;
            return m;
        }
        if (m.lineEnd >= size) return std::nullopt;
        from = nextLineStart(text, m.lineEnd);
    }
    return std::nullopt;
}

std::optional<TextMatch> TextMatcher::findByLines(std::string_view text, std::size_t from) const {
    // Only a line holding the required text can match; the library sees the
    // text up to that line's end, so that what lies before stays in view of
    // look-behinds and "$" matches at the line's end as in the whole text.
    while (from <= text.size()) {
        const std::size_t at = impl_->required->find(text, from);
        if (at == std::string_view::npos) return std::nullopt;
        const TextMatch line = inLine(text, at, at);
        std::size_t b = 0, e = 0;
        if (run(text.data(), line.lineEnd, std::max(from, line.lineBegin), b, e)) return inLine(text, b, e);
        if (line.lineEnd >= text.size()) return std::nullopt;
        from = nextLineStart(text, line.lineEnd);
    }
    return std::nullopt;
}

std::size_t nextLineStart(std::string_view text, std::size_t at) {
    if (at >= text.size()) return text.size();
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return at + 2;
    return at + 1;
}

namespace {

std::uint64_t load64(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The high bit of every byte of `w` that equals `c`, and no other bit.
std::uint64_t bytesEqual(std::uint64_t w, unsigned char c) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full;
    std::uint64_t x = w ^ (kOnes * c);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Number of bytes of a bytesEqual() mask (without a popcount instruction,
// which the baseline target lacks): the flags summed by one multiplication.
std::size_t highBits(std::uint64_t mask) {
    return static_cast<std::size_t>(((mask >> 7) * 0x0101010101010101ull) >> 56);
}

}  // namespace

std::size_t countLineBreaks(std::string_view text, std::size_t from, std::size_t to) {
    if (to > text.size()) to = text.size();
    if (from >= to) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t n = 0;
    std::size_t i = from;
    // Eight bytes at a time: every LF counts, and every CR whose next byte
    // (read from the word one byte further on) is not an LF.
    for (; i + 8 <= to && i + 9 <= size; i += 8) {
        std::uint64_t w = load64(p + i);
        std::uint64_t next = load64(p + i + 1);
        n += highBits(bytesEqual(w, '\n')) + highBits(bytesEqual(w, '\r') & ~bytesEqual(next, '\n'));
    }
    for (; i < to; ++i) {
        if (p[i] == '\n')
            ++n;
        else if (p[i] == '\r' && (i + 1 >= size || p[i + 1] != '\n'))
            ++n;
    }
    return n;
}

}  // namespace varn
