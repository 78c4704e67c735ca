#include "debug/DebugMessage.h"

#include <algorithm>

#include "platform/Paths.h"
#include "project/ProjectModel.h"

namespace varn {

namespace {

std::uint16_t clampU16(int value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0, 65535));
}

// A count word followed by entries; the count is patched to the entries that fit.
template <class Entries, class WriteOne>
Payload buildCounted(const Entries& entries, WriteOne writeOne, std::size_t* written = nullptr) {
    PayloadWriter w;
    w.u16(0);
    std::size_t count = 0;
    for (const auto& entry : entries) {
        if (count == 65535) break;
        const std::size_t before = w.size();
        if (!writeOne(w, entry)) {
            w.truncate(before);  // no half-written entry
            break;
        }
        ++count;
    }
    w.patchU16(0, static_cast<std::uint16_t>(count));
    if (written) *written = count;
    return std::move(w).bytes();
}

// Reads a count word and that many entries; a count that cannot fit in what
// is left (each entry takes at least `minEntry` bytes) fails before reading.
template <class T, class ReadOne>
std::optional<std::vector<T>> readCounted(const std::uint8_t* data, std::size_t length, std::size_t minEntry,
                                          ReadOne readOne) {
    PayloadReader r(data, length);
    const auto count = r.u16();
    if (!count) return std::nullopt;
    if (static_cast<std::size_t>(*count) * minEntry > r.remaining()) return std::nullopt;
    std::vector<T> out;
    out.reserve(*count);
    for (std::uint16_t i = 0; i < *count; ++i) {
        std::optional<T> entry = readOne(r);
        if (!entry) return std::nullopt;
        out.push_back(std::move(*entry));
    }
    return out;
}

std::optional<std::size_t> indexOfFile(const std::vector<std::string>& fileList, const std::string& path) {
    for (std::size_t i = 0; i < fileList.size(); ++i) {
        if (paths::equalNoCase(fileList[i], path)) return i;
    }
    return std::nullopt;
}

}  // namespace

bool PayloadWriter::u16(std::uint16_t value) {
    if (bytes_.size() + 2 > kMaxPayload) return false;
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    return true;
}

bool PayloadWriter::text(std::string_view value) {
    value = value.substr(0, value.find('\0'));
    if (bytes_.size() + value.size() + 1 > kMaxPayload) return false;
    bytes_.insert(bytes_.end(), value.begin(), value.end());
    bytes_.push_back(0);
    return true;
}

void PayloadWriter::truncate(std::size_t size) {
    if (size < bytes_.size()) bytes_.resize(size);
}

void PayloadWriter::patchU16(std::size_t offset, std::uint16_t value) {
    if (offset + 2 > bytes_.size()) return;
    bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

PayloadReader::PayloadReader(const std::uint8_t* data, std::size_t length)
    : data_(data), length_(data ? length : 0) {}

std::optional<std::uint16_t> PayloadReader::u16() {
    if (remaining() < 2) return std::nullopt;
    const std::uint16_t v = static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
}

std::optional<std::string> PayloadReader::text() {
    const std::uint8_t* start = data_ + pos_;
    const std::uint8_t* end = data_ + length_;
    const std::uint8_t* zero = std::find(start, end, std::uint8_t{0});
    if (zero == end) return std::nullopt;
    std::string s(reinterpret_cast<const char*>(start), static_cast<std::size_t>(zero - start));
    pos_ += s.size() + 1;
    return s;
}

// Texts longer than a payload holds are cut so that the message stays whole.
static std::string_view cut(std::string_view text, std::size_t room) {
    text = text.substr(0, text.find('\0'));
    return text.substr(0, room);
}

Payload buildLineAndPath(int line, std::string_view path) {
    PayloadWriter w;
    w.u16(clampU16(line));
    w.text(cut(path, kMaxPayload - 3));
    return std::move(w).bytes();
}

Payload buildText(std::string_view text) {
    PayloadWriter w;
    w.text(cut(text, kMaxPayload - 1));
    return std::move(w).bytes();
}

Payload buildNameValue(std::string_view name, std::string_view value) {
    PayloadWriter w;
    name = cut(name, kMaxPayload - 2);
    w.text(name);
    w.text(cut(value, kMaxPayload - name.size() - 2));
    return std::move(w).bytes();
}

Payload buildTextList(const std::vector<std::string>& texts) {
    return buildCounted(texts, [](PayloadWriter& w, const std::string& t) { return w.text(t); });
}

Payload buildNameValueList(const std::vector<NameValue>& pairs) {
    return buildCounted(pairs,
                        [](PayloadWriter& w, const NameValue& p) { return w.text(p.name) && w.text(p.value); });
}

Payload buildBreakpointPairs(const std::vector<BreakpointPair>& pairs) {
    return buildCounted(pairs, [](PayloadWriter& w, const BreakpointPair& p) {
        return w.u16(clampU16(p.line)) && w.u16(clampU16(p.fileIndex));
    });
}

Payload buildBreakpoints(const std::vector<Breakpoint>& breakpoints, const std::vector<std::string>& fileList,
                         std::size_t* written) {
    std::vector<BreakpointPair> pairs;
    for (const Breakpoint& bp : breakpoints) {
        const auto index = indexOfFile(fileList, bp.path);
        if (!index || *index > 65535) continue;
        pairs.push_back({bp.line, static_cast<int>(*index)});
    }
    return buildCounted(
        pairs,
        [](PayloadWriter& w, const BreakpointPair& p) {
            return w.u16(clampU16(p.line)) && w.u16(clampU16(p.fileIndex));
        },
        written);
}

std::optional<LineAndPath> readLineAndPath(const std::uint8_t* data, std::size_t length) {
    PayloadReader r(data, length);
    const auto line = r.u16();
    if (!line) return std::nullopt;
    auto path = r.text();
    if (!path) return std::nullopt;
    return LineAndPath{*line, std::move(*path)};
}

std::optional<std::string> readText(const std::uint8_t* data, std::size_t length) {
    PayloadReader r(data, length);
    return r.text();
}

std::optional<NameValue> readNameValue(const std::uint8_t* data, std::size_t length) {
    PayloadReader r(data, length);
    auto name = r.text();
    if (!name) return std::nullopt;
    auto value = r.text();
    if (!value) return std::nullopt;
    return NameValue{std::move(*name), std::move(*value)};
}

std::optional<std::vector<std::string>> readTextList(const std::uint8_t* data, std::size_t length) {
    return readCounted<std::string>(data, length, 1, [](PayloadReader& r) { return r.text(); });
}

std::optional<std::vector<NameValue>> readNameValueList(const std::uint8_t* data, std::size_t length) {
    return readCounted<NameValue>(data, length, 2, [](PayloadReader& r) -> std::optional<NameValue> {
        auto name = r.text();
        if (!name) return std::nullopt;
        auto value = r.text();
        if (!value) return std::nullopt;
        return NameValue{std::move(*name), std::move(*value)};
    });
}

std::optional<std::vector<BreakpointPair>> readBreakpointPairs(const std::uint8_t* data, std::size_t length) {
    return readCounted<BreakpointPair>(data, length, 4, [](PayloadReader& r) -> std::optional<BreakpointPair> {
        const auto line = r.u16();
        const auto index = r.u16();
        if (!line || !index) return std::nullopt;
        return BreakpointPair{*line, *index};
    });
}

}  // namespace varn
