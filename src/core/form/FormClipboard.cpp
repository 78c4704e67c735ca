#include "form/FormClipboard.h"

#include <algorithm>

#include "form/FormKinds.h"
#include "form/FormText.h"

namespace varn {

namespace {

// The smallest packed record: the integers and 16 empty strings.
constexpr std::size_t kMinRecordSize = CVARNFBControl::kPackedIntegers * 4 + CVARNFBControl::kPackedStrings;

void putCount(std::string& out, std::size_t n) {
    const auto v = static_cast<std::uint32_t>(n);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

// A count that the rest of the block can hold, or nothing.
std::optional<std::size_t> getCount(std::string_view b, std::size_t& at) {
    if (b.size() - at < 4) return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    at += 4;
    if (v > (b.size() - at) / kMinRecordSize) return std::nullopt;
    return v;
}

}  // namespace

std::optional<std::string> MemoryClipboard::readBlock(unsigned& errorCode) {
    if (failWith != 0) {
        errorCode = failWith;
        return std::nullopt;
    }
    if (!block) {
        errorCode = kInvalidClipboardData;
        return std::nullopt;
    }
    return block;
}

std::string FormClipboardBlock::write(const std::vector<const CVARNFBControl*>& controls) {
    std::string out;
    putCount(out, controls.size());
    for (const CVARNFBControl* c : controls) {
        c->packTo(out);
        if (c->kind != kind::Grid) continue;
        putCount(out, c->cells.size());
        for (const auto& cell : c->cells) cell->packTo(out);
    }
    return out;
}

std::optional<std::vector<ClipboardItem>> FormClipboardBlock::read(std::string_view bytes, unsigned& errorCode) {
    errorCode = kInvalidClipboardData;
    std::size_t at = 0;
    const auto count = getCount(bytes, at);
    if (!count) return std::nullopt;
    std::vector<ClipboardItem> items;
    items.reserve(*count);
    for (std::size_t i = 0; i < *count; ++i) {
        auto record = CVARNFBControl::unpack(bytes, at);
        if (!record || !isControlKind(record->kind) || record->kind == kind::Frame) return std::nullopt;
        ClipboardItem item{std::move(*record), {}};
        if (item.record.kind == kind::Grid) {
            const auto cells = getCount(bytes, at);
            const auto rows = static_cast<std::size_t>(item.record.gridRows());
            if (!cells || *cells % rows != 0) return std::nullopt;
            item.cells.reserve(*cells);
            for (std::size_t k = 0; k < *cells; ++k) {
                auto cell = CVARNFBControl::unpack(bytes, at);
                if (!cell || !isColumnKind(cell->kind)) return std::nullopt;
                item.cells.push_back(std::move(*cell));
            }
        }
        items.push_back(std::move(item));
    }
    errorCode = 0;
    return items;
}

std::vector<PasteGroup> groupForPaste(std::vector<ClipboardItem> items) {
    std::vector<PasteGroup> groups;
    std::vector<ClipboardItem> elements;
    for (ClipboardItem& item : items) {
        if (item.record.arrayCount > 0) {
            elements.push_back(std::move(item));
            continue;
        }
        groups.push_back(PasteGroup{});
        groups.back().members.push_back(std::move(item));
    }
    std::stable_sort(elements.begin(), elements.end(), [](const ClipboardItem& a, const ClipboardItem& b) {
        const std::string na = lowerAscii(a.record.name);
        const std::string nb = lowerAscii(b.record.name);
        if (na != nb) return na < nb;
        return a.record.arrayIndex < b.record.arrayIndex;
    });
    for (std::size_t i = 0; i < elements.size();) {
        std::size_t j = i + 1;
        while (j < elements.size() && equalsNoCase(elements[j].record.name, elements[i].record.name)) ++j;
        PasteGroup group;
        for (std::size_t k = i; k < j; ++k) group.members.push_back(std::move(elements[k]));
        groups.push_back(std::move(group));
        i = j;
    }
    for (PasteGroup& group : groups) {
        const int n = static_cast<int>(group.members.size());
        for (int k = 0; k < n; ++k) {
            CVARNFBControl& r = group.members[static_cast<std::size_t>(k)].record;
            r.name.clear();
            r.arrayCount = n == 1 ? 0 : n;
            r.arrayIndex = n == 1 ? -1 : k;
        }
    }
    return groups;
}

}  // namespace varn
