#include "form/CVARNFBControl.h"

#include <array>

#include "form/FormText.h"

namespace varn {

namespace {

void putInt(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>((u >> 8) & 0xFF));
    out.push_back(static_cast<char>((u >> 16) & 0xFF));
    out.push_back(static_cast<char>((u >> 24) & 0xFF));
}

std::uint32_t getUint(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

// The text of a field as a C string: up to its first NUL.
std::string_view cText(const std::string& s) { return std::string_view(s.c_str()); }

template <class Record>
auto packedStrings(Record& c) {
    return std::array{&c.name,     &c.display,  &c.menuBar,   &c.invokes,  &c.rowLoadedInvoker, &c.rowUnloadedInvoker,
                      &c.selectInvoker, &c.list, &c.bitmap,   &c.fontName, &c.fontStyle,        &c.border,
                      &c.scrollbar, &c.hardware, &c.bind,     &c.format};
}

}  // namespace

CVARNFBControl::CVARNFBControl(int kindCode, const FormEnvironment& env) {
    kind = kindCode;
    foreground = env.defaultForeground;
    background = env.defaultBackground;
    useSystemColours = env.useSystemColours;
}

void CVARNFBControl::packTo(std::string& out) const {
    const FormRect& r = tracker.rect;
    const std::int32_t ints[kPackedIntegers] = {
        kind,         r.left,     r.top,       r.right,      r.bottom,
        hidden,       selectEnable, locked,    noInput,      singleLine,
        checkboxFlag, displayIsExpression, useSystemColours, arrayCount, arrayIndex,
        fontSize,     static_cast<std::int32_t>(foreground), static_cast<std::int32_t>(background),
        displayRows,  dataRows,   columnWidth, dropdownListHeight,
    };
    for (std::int32_t v : ints) putInt(out, v);
    for (const std::string* s : packedStrings(*this)) {
        out.append(cText(*s));
        out.push_back('\0');
    }
}

std::string CVARNFBControl::pack() const {
    std::string out;
    out.reserve(packedSize());
    packTo(out);
    return out;
}

std::size_t CVARNFBControl::packedSize() const {
    std::size_t size = kPackedIntegers * 4 + kPackedStrings;
    for (const std::string* s : packedStrings(*this)) size += cText(*s).size();
    return size;
}

std::optional<CVARNFBControl> CVARNFBControl::unpack(std::string_view bytes, std::size_t& offset) {
    if (offset > bytes.size() || bytes.size() - offset < kPackedIntegers * 4) return std::nullopt;
    std::int32_t ints[kPackedIntegers];
    std::size_t at = offset;
    for (auto& v : ints) {
        v = static_cast<std::int32_t>(getUint(bytes, at));
        at += 4;
    }
    CVARNFBControl c;
    std::size_t i = 0;
    c.kind = ints[i++];
    c.tracker.rect.left = ints[i++];
    c.tracker.rect.top = ints[i++];
    c.tracker.rect.right = ints[i++];
    c.tracker.rect.bottom = ints[i++];
    c.hidden = ints[i++] != 0;
    c.selectEnable = ints[i++] != 0;
    c.locked = ints[i++] != 0;
    c.noInput = ints[i++] != 0;
    c.singleLine = ints[i++] != 0;
    c.checkboxFlag = ints[i++] != 0;
    c.displayIsExpression = ints[i++] != 0;
    c.useSystemColours = ints[i++] != 0;
    c.arrayCount = ints[i++];
    c.arrayIndex = ints[i++];
    c.fontSize = ints[i++];
    c.foreground = static_cast<std::uint32_t>(ints[i++]);
    c.background = static_cast<std::uint32_t>(ints[i++]);
    c.displayRows = ints[i++];
    c.dataRows = ints[i++];
    c.columnWidth = ints[i++];
    c.dropdownListHeight = ints[i++];
    for (std::string* s : packedStrings(c)) {
        const std::size_t end = bytes.find('\0', at);
        if (end == std::string_view::npos) return std::nullopt;
        s->assign(bytes.substr(at, end - at));
        at = end + 1;
    }
    offset = at;
    return c;
}

int CVARNFBControl::gridColumnCount() const { return static_cast<int>(cells.size() / static_cast<std::size_t>(gridRows())); }

CVARNFBControl* CVARNFBControl::gridColumn(int k) {
    if (k < 0 || k >= gridColumnCount()) return nullptr;
    return cells[static_cast<std::size_t>(k) * static_cast<std::size_t>(gridRows())].get();
}

const CVARNFBControl* CVARNFBControl::gridColumn(int k) const {
    return const_cast<CVARNFBControl*>(this)->gridColumn(k);
}

void CVARNFBControl::appendGridColumn(const CVARNFBControl& prototype) {
    const int rows = gridRows();
    for (int row = 0; row < rows; ++row) {
        auto cell = std::make_unique<CVARNFBControl>(prototype);
        cell->arrayCount = rows;
        cell->arrayIndex = row;
        cells.push_back(std::move(cell));
    }
}

int CVARNFBControl::gridInnerWidth(int scrollBarWidth) const {
    const int width = tracker.rect.width();
    return equalsNoCase(trimBlanks(scrollbar), "yes") ? addClamped(width, -scrollBarWidth) : width;
}

void CVARNFBControl::layoutGridCells(int scrollBarWidth) {
    const int rows = gridRows();
    const int columns = gridColumnCount();
    const int inner = gridInnerWidth(scrollBarWidth);
    const int height = tracker.rect.height();
    const long long rowHeight = height / rows;
    long long x = 0;
    for (int k = 0; k < columns; ++k) {
        const std::size_t first = static_cast<std::size_t>(k) * static_cast<std::size_t>(rows);
        const int w = clampToIntTrunc(static_cast<double>(inner) * cells[first]->columnWidth * 0.01);
        const int left = clampToInt(x);
        const int right = k == columns - 1 ? inner : clampToInt(x + w);
        for (int row = 0; row < rows; ++row) {
            FormRect& r = cells[first + static_cast<std::size_t>(row)]->tracker.rect;
            r.left = left;
            r.right = right;
            r.top = clampToInt(row * rowHeight);
            r.bottom = row == rows - 1 ? height : clampToInt((row + 1) * rowHeight);
        }
        x += w;
    }
}

}  // namespace varn
