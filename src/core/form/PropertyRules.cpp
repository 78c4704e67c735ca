#include "form/PropertyRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "expr/ExprChecker.h"
#include "form/CVARNFBControl.h"
#include "form/CVARNfbDoc.h"
#include "form/FormText.h"
#include "image/DevicePalette.h"

namespace varn {

namespace {

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool isNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isAsciiDigit(c) || c == '_'; }

bool onlyNameChars(std::string_view s, bool pointAllowed) {
    return std::all_of(s.begin(), s.end(),
                       [pointAllowed](char c) { return isNameChar(c) || (pointAllowed && c == '.'); });
}

bool isOneOf(int kindCode, std::initializer_list<int> kinds) {
    return std::find(kinds.begin(), kinds.end(), kindCode) != kinds.end();
}

}  // namespace

bool validObjectName(std::string_view name) { return !name.empty() && onlyNameChars(name, false); }

bool validFormat(std::string_view format) {
    const bool known =
        std::all_of(format.begin(), format.end(), [](char c) { return c == '#' || c == '0' || c == '.'; });
    return known && std::count(format.begin(), format.end(), '.') <= 1;
}

bool validListName(std::string_view list) {
    return list.empty() || (!isAsciiDigit(list.front()) && onlyNameChars(list, false));
}

bool validBindingName(std::string_view binding) {
    return binding.empty() || (!isAsciiDigit(binding.front()) && onlyNameChars(binding, true));
}

bool validDisplayExpression(const std::string& expression) {
    ExprChecker checker;
    return checker.check(expression, ';').status == ExprResult::Ok;
}

std::string columnPageTitle(const std::string& columnName) {
    const std::string name = trimBlanks(columnName);
    if (name.empty()) return kColumnPageNoName;
    return std::string("Column - ") + name;
}

std::string listEditorTitle(int kindCode) { return kindCode == kind::Selector ? "Selector List" : "Dropdown List"; }

const char* listNameMissing(int kindCode) {
    return kindCode == kind::Selector ? kSelectorListMissing : kDropdownListMissing;
}

bool kindHasDisplay(int k) {
    return isOneOf(k,
                   {kind::Text, kind::Dropdown, kind::Label, kind::Button, kind::Checkbox, kind::FileSel, kind::Frame});
}
bool kindHasFormat(int k) {
    return isOneOf(k, {kind::Text, kind::Dropdown, kind::Label, kind::Button, kind::Checkbox});
}
bool kindHasInvokes(int k) {
    return isOneOf(k, {kind::Text, kind::Dropdown, kind::Button, kind::Checkbox, kind::Selector, kind::FileSel});
}
bool kindHasList(int k) { return isOneOf(k, {kind::Dropdown, kind::Selector}); }
bool kindHasBitmap(int k) { return isOneOf(k, {kind::Label, kind::Button}); }

FontChoice fontChoiceOf(const std::string& face, const std::string& style, int pointSize) {
    FontChoice out;
    out.face = face;
    const std::string s = trimBlanks(style);
    if (equalsNoCase(s, "Bold") || equalsNoCase(s, "Bold Italic")) out.weight = 700;
    out.italic = equalsNoCase(s, "Italic") || equalsNoCase(s, "Bold Italic");
    out.pointSize = pointSize;
    return out;
}

std::string fontStyleName(int weight, bool italic) {
    if (weight == 700) return italic ? "Bold Italic" : "Bold";
    return italic ? "Italic" : "Regular";
}

int fontHeightForSize(int pointSize, int dotsPerInch) {
    return -static_cast<int>(std::lround(static_cast<double>(pointSize) * dotsPerInch / 72.0));
}

std::uint32_t storedColour(std::uint32_t packed) { return DevicePalette::palm().snapPacked(packed); }

std::optional<std::string> columnBitmapWarning(const CVARNFBControl& grid, int columnWidthPercent,
                                               const FormEnvironment& env, const std::string& bitmap, int bitmapWidth,
                                               int bitmapHeight) {
    const FormScale scale = FormScale::of(env);
    const int cellWidth = scale.unitsX(grid.gridInnerWidth(env.scrollBarWidth)) * columnWidthPercent / 100;
    const int cellHeight = scale.unitsY(grid.rect().height() / grid.gridRows());
    const char* format = nullptr;
    if (bitmapWidth > cellWidth)
        format = kBitmapTooWide;
    else if (bitmapHeight > cellHeight)
        format = kBitmapTooTall;
    if (!format) return std::nullopt;
    char buffer[1024];
    std::snprintf(buffer, sizeof buffer, format, bitmap.c_str(), cellWidth, cellHeight, bitmapWidth, bitmapHeight);
    return std::string(buffer);
}

FormRect sheetRectToPixels(int kindCode, const FormRect& units, const CVARNfbDoc& doc) {
    const FormScale& s = doc.scale();
    FormRect p{addClamped(s.pixelsX(units.left), -doc.originX), addClamped(s.pixelsY(units.top), -doc.originY),
               addClamped(s.pixelsX(units.right), -doc.originX), addClamped(s.pixelsY(units.bottom), -doc.originY)};
    if (kindCode == kind::Grid) {
        const FormEnvironment& env = doc.environment();
        const double fx = static_cast<double>(env.pixelWidth) / std::max(env.displayWidth, 1);
        const double fy = static_cast<double>(env.pixelHeight) / std::max(env.displayHeight, 1);
        p.right = addClamped(p.left, clampToIntTrunc(units.width() * fx));
        p.bottom = addClamped(p.top, clampToIntTrunc(units.height() * fy));
    }
    return p;
}

}  // namespace varn
