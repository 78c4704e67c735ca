// The rules of the "Object Properties" sheet's fields: which names, formats,
// list and binding names are valid, the messages of each page, the font
// dialog's mapping to a control's font fields, colours snapped to the device
// palette and the size warnings for a bitmap shown in a grid column.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varn {

class CVARNFBControl;
class CVARNfbDoc;
struct FormEnvironment;
struct FormRect;

inline constexpr const char* kSheetTitle = "Object Properties";
inline constexpr const char* kObjectNameInvalid =
    "The object name must not be blank and can only contain a-z, A-Z, 0-9, and _";
inline constexpr const char* kDisplayInvalid = "The display property expression is invalid";
inline constexpr const char* kFormatInvalid =
    "The Format property expression is invalid.\r\n\nOnly the hash(#), zero(0) and decimal point(.) are valid "
    "characters\r\nand only one decimal point is allowed.";
inline constexpr const char* kListNameInvalid =
    "The list name can not start with a numeric and can only contain a-z, A-Z, 0-9, and _";
inline constexpr const char* kDropdownListMissing = "Please specify the name of the list attached to the drop_down.";
inline constexpr const char* kSelectorListMissing = "Please specify the name of the list attached to the selector.";
inline constexpr const char* kListHeightInvalid = "The list height must be greater than 0";
inline constexpr const char* kBindingInvalid =
    "The binding name can not start with a numeric and can only contain a-z, A-Z, 0-9, and _";
inline constexpr const char* kColumnNameUsed = "Object name %s is used by grid column %d";
inline constexpr const char* kBitmapTooWide =
    "Bitmap %s width is greater than the display object's width and may not display properly on the "
    "device.\r\n\r\nObject width is %d and height is %d.\r\n\r\nBitmap width is %d and height is %d.";
inline constexpr const char* kBitmapTooTall =
    "Bitmap %s height is greater than the display object's height and may not display properly on the "
    "device.\r\n\r\nObject width is %d and height is %d.\r\n\r\nBitmap width is %d and height is %d.";
inline constexpr const char* kColumnPageTitle = "Column - %s";
inline constexpr const char* kColumnPageNoName = "Column - <no name>";
inline constexpr const char* kAddColumnPageTitle = "Add New Column";

// Only a-z, A-Z, 0-9 and _, and not empty (a leading digit is allowed).
bool validObjectName(std::string_view name);
// Only "#", "0" and ".", with at most one "."; empty is valid.
bool validFormat(std::string_view format);
// Empty, or no leading digit and only a-z, A-Z, 0-9 and _.
bool validListName(std::string_view list);
// Empty, or no leading digit and only ".", a-z, A-Z, 0-9 and _.
bool validBindingName(std::string_view binding);
// The display expression parses and evaluates.
bool validDisplayExpression(const std::string& expression);

// The caption of a grid column's page.
std::string columnPageTitle(const std::string& columnName);
// The list editor's title for a dropdown or selector; the message when the
// list has no name yet.
std::string listEditorTitle(int kindCode);
const char* listNameMissing(int kindCode);

// Which pages show which fields.
bool kindHasDisplay(int kindCode);
bool kindHasFormat(int kindCode);
bool kindHasInvokes(int kindCode);
bool kindHasList(int kindCode);
bool kindHasBitmap(int kindCode);

// The font dialog: a control's style text and point size to the dialog's
// weight, italic flag and font height, and the dialog's choice back.
struct FontChoice {
    std::string face;
    int weight = 400;
    bool italic = false;
    int pointSize = 0;
};
FontChoice fontChoiceOf(const std::string& face, const std::string& style, int pointSize);
// "Bold", "Italic", "Bold Italic" or "Regular".
std::string fontStyleName(int weight, bool italic);
// The dialog's height for a point size: -size x dots per inch / 72, rounded.
int fontHeightForSize(int pointSize, int dotsPerInch);
// The point size the dialog's tenths of a point give: whole points.
inline int pointSizeFromTenths(int tenths) { return tenths / 10; }

// A chosen colour (0x00BBGGRR) as it is stored: the nearest palette entry.
std::uint32_t storedColour(std::uint32_t packed);

// The warning for a bitmap of w x h pixels in a column of the grid, whose
// cell is measured in display units; nothing when it fits.
std::optional<std::string> columnBitmapWarning(const CVARNFBControl& grid, int columnWidthPercent,
                                               const FormEnvironment& env, const std::string& bitmap, int bitmapWidth,
                                               int bitmapHeight);

// The common page's rectangle (in units) in designer pixels. A grid's right
// and bottom edges are its left and top plus width and height times the
// form's pixels per unit, truncated.
FormRect sheetRectToPixels(int kindCode, const FormRect& units, const CVARNfbDoc& doc);

}  // namespace varn
