#include "Container.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace varnwin {

namespace {

// Walks the container from front to back; every read checks what is left.
class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t offset() const { return pos_; }
    bool atEnd() const { return pos_ == bytes_.size(); }

    // The next line without its LF; none when no LF is left.
    std::optional<std::string_view> line() {
        std::size_t nl = bytes_.find('\n', pos_);
        if (nl == std::string_view::npos) return std::nullopt;
        std::string_view l = bytes_.substr(pos_, nl - pos_);
        pos_ = nl + 1;
        return l;
    }

    // `count` bytes followed by one LF; none when they are not all there.
    std::optional<std::string_view> block(std::uint64_t count) {
        std::size_t left = bytes_.size() - pos_;
        if (count >= left || bytes_[pos_ + count] != '\n') return std::nullopt;
        std::string_view b = bytes_.substr(pos_, count);
        pos_ += count + 1;
        return b;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Splits off the first `count` blank-separated words; the rest of the line
// (which may hold blanks) is left in `rest`. False when words are missing.
bool words(std::string_view line, std::size_t count, std::vector<std::string_view>& out, std::string_view& rest) {
    out.clear();
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (at >= line.size() || line[at] == ' ') return false;
        std::size_t end = line.find(' ', at);
        if (end == std::string_view::npos) end = line.size();
        out.push_back(line.substr(at, end - at));
        at = end < line.size() ? end + 1 : end;
    }
    rest = line.substr(std::min(at, line.size()));
    return true;
}

// A decimal number of at most 12 digits.
std::optional<std::uint64_t> number(std::string_view s) {
    if (s.empty() || s.size() > 12) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return v;
}

std::size_t lineCount(const std::string& text) {
    if (text.empty()) return 0;
    std::size_t n = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return text.back() == '\n' ? n : n + 1;
}

bool knownRole(std::string_view role) {
    for (const char* r : {"main", "form", "menubar", "source", "include", "c"})
        if (role == r) return true;
    return false;
}

}  // namespace

bool readContainer(std::string_view bytes, Container& out, std::string& error) {
    out = Container{};
    Cursor cur(bytes);
    std::size_t recordAt = 0;
    auto fail = [&](const std::string& what) {
        error = "byte " + std::to_string(recordAt) + ": " + what;
        return false;
    };

    std::optional<std::string_view> first = cur.line();
    if (!first || *first != "VARNOUT 1") return fail("not a VARN program (no \"VARNOUT 1\" line)");

    std::vector<std::string_view> w;
    std::string_view rest;
    for (;;) {
        recordAt = cur.offset();
        if (cur.atEnd()) return fail("the end record is missing");
        std::optional<std::string_view> line = cur.line();
        if (!line) return fail("record without a line end");
        std::size_t blank = line->find(' ');
        std::string_view kind = line->substr(0, blank);
        std::string_view args = blank == std::string_view::npos ? std::string_view() : line->substr(blank + 1);

        if (kind == "end" && args.empty() && blank == std::string_view::npos) {
            if (!cur.atEnd()) {
                recordAt = cur.offset();
                return fail("data after the end record");
            }
            return true;
        }
        if (kind == "target") {
            if (!words(args, 1, w, rest) || (w[0] != "pilot" && w[0] != "win32" && w[0] != "ppc"))
                return fail("bad target record");
            if (!out.target.empty()) return fail("a second target record");
            out.target = std::string(w[0]);
            out.creator = std::string(rest);
        } else if (kind == "option") {
            out.options.emplace_back(args);
        } else if (kind == "image") {
            std::optional<std::uint64_t> n;
            if (!words(args, 3, w, rest) || !rest.empty() || !(n = number(w[2]))) return fail("bad image record");
            if (!cur.block(*n)) return fail("image " + std::string(w[1]) + " does not match its count");
        } else if (kind == "file") {
            std::optional<std::uint64_t> index, n;
            if (!words(args, 2, w, rest) || rest.empty() || !(index = number(w[0])) || !(n = number(w[1])))
                return fail("bad file record");
            if (*index != out.files.size())
                return fail("file " + std::to_string(*index) + " out of order (expected " +
                            std::to_string(out.files.size()) + ")");
            std::optional<std::string_view> text = cur.block(*n);
            if (!text) return fail("the text of file " + std::string(rest) + " does not match its count");
            out.files.push_back({std::string(rest), std::string(*text)});
        } else if (kind == "unit") {
            std::optional<std::uint64_t> pass, index;
            if (!words(args, 3, w, rest) || !rest.empty() || !(pass = number(w[0])) || !(index = number(w[2])) ||
                (*pass != 1 && *pass != 2) || !knownRole(w[1]))
                return fail("bad unit record");
            if (*index >= out.files.size()) return fail("unit names file " + std::to_string(*index) + ", which is not there");
            out.units.push_back({static_cast<int>(*pass), std::string(w[1]), static_cast<std::size_t>(*index)});
        } else if (kind == "function") {
            std::optional<std::uint64_t> index, line;
            if (!words(args, 2, w, rest) || rest.empty() || !(index = number(w[0])) || !(line = number(w[1])) ||
                *line == 0)
                return fail("bad function record");
            if (*index >= out.files.size())
                return fail("function " + std::string(rest) + " names file " + std::to_string(*index) +
                            ", which is not there");
            if (*line > lineCount(out.files[*index].text))
                return fail("function " + std::string(rest) + " at line " + std::to_string(*line) + " beyond the end of " +
                            out.files[*index].path);
            out.functions.push_back({static_cast<std::size_t>(*index), static_cast<long>(*line), std::string(rest)});
        } else {
            return fail("unknown record \"" + std::string(kind.substr(0, 40)) + "\"");
        }
    }
}

}  // namespace varnwin
