// The control record: one per control, per element of a control array and per
// grid cell. Holds every property of the control, its rectangle in designer
// pixels, and the opaque preview window the GUI attaches to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/FormFonts.h"
#include "form/FormGeometry.h"
#include "form/FormKinds.h"

namespace varn {

// The designer's preview window of a control. The GUI derives from it; core
// only owns it (it is destroyed with its record) and passes it what it shows.
class PreviewWindow {
public:
    virtual ~PreviewWindow() = default;
    virtual void applyFont(const FormFont& /*font*/) {}
    virtual void showText(const std::string& /*text*/) {}
    // Dropdown: pixel height of the closed box; 0 when not known.
    virtual int closedBoxHeight() const { return 0; }
    // Dropdown: item height of the list plus 2 x (edge height + border height),
    // in pixels; 0 when not known.
    virtual int listMeasureHeight() const { return 0; }
};

// Every field that a copy of a record takes, in declaration order.
struct ControlFields {
    int kind = kind::None;
    CVARNRectTracker tracker;
    std::vector<std::string> listItems;
    int listSize = 0;
    bool processed = false;
    int controlId = -1;
    int arrayCount = 0;   // n for an element of an array of n; rows of the grid for a cell
    int arrayIndex = -1;  // element index, or row of a grid cell
    int fontSize = 0;
    std::uint32_t foreground = 0;         // 0x00BBGGRR
    std::uint32_t background = 16777215;  // 0x00BBGGRR
    int displayRows = 1;
    int dataRows = 0;
    int columnWidth = 0;         // per cent of the grid's inner width
    int dropdownListHeight = 0;  // units; 0 = to be measured
    std::string name;
    std::string display;
    std::string menuBar;
    std::string invokes;
    std::string rowLoadedInvoker;
    std::string rowUnloadedInvoker;
    std::string selectInvoker;
    std::string list;
    std::string bitmap;
    std::string fontName;
    std::string fontStyle;
    std::string border;
    std::string scrollbar;
    std::string hardware;
    std::string bind;
    std::string format;
    bool selected = false;
    bool hidden = false;
    bool selectEnable = true;
    bool noInput = false;
    bool singleLine = false;
    bool checkboxFlag = false;
    bool displayIsExpression = false;
    bool locked = false;
    bool useSystemColours = true;

    bool operator==(const ControlFields&) const = default;
};

class CVARNFBControl : public ControlFields {
public:
    static constexpr std::size_t kPackedIntegers = 22;
    static constexpr std::size_t kPackedStrings = 16;

    CVARNFBControl() = default;
    // A new record of the kind with the project's colours.
    explicit CVARNFBControl(int kindCode, const FormEnvironment& env = {});
    // The copy starts without preview window, font object and grid cells.
    CVARNFBControl(const CVARNFBControl& other) : ControlFields(other) {}
    CVARNFBControl& operator=(const CVARNFBControl&) = delete;
    CVARNFBControl(CVARNFBControl&&) = default;
    CVARNFBControl& operator=(CVARNFBControl&&) = default;
    ~CVARNFBControl() = default;

    // Takes every field of `other`; keeps this record's window, font and cells.
    void copyFrom(const CVARNFBControl& other) { static_cast<ControlFields&>(*this) = other; }
    const ControlFields& fields() const { return *this; }

    FormRect& rect() { return tracker.rect; }
    const FormRect& rect() const { return tracker.rect; }
    bool isArrayElement() const { return arrayCount > 0; }
    // A single control or element 0 of an array: the records a form file writes.
    bool isWrittenObject() const { return arrayCount <= 0 || arrayIndex == 0; }

    // The clipboard and undo block: 22 little-endian 32-bit integers, then 16
    // NUL-terminated strings (each up to its first NUL). List items, list size
    // and control id are not part of it.
    std::string pack() const;
    void packTo(std::string& out) const;
    std::size_t packedSize() const;
    // Reads one block at `offset` and moves `offset` past it; nothing when the
    // bytes end before the block does.
    static std::optional<CVARNFBControl> unpack(std::string_view bytes, std::size_t& offset);

    // Preview window, font object and grid cells: not copied with the record.
    std::unique_ptr<PreviewWindow> window;
    std::optional<FormFont> font;
    // Grid: its cells in column order (column k at k*rows .. k*rows+rows-1).
    // They belong with the grid's preview, so a copy starts without them.
    std::vector<std::unique_ptr<CVARNFBControl>> cells;

    // Grid helpers. The display rows used for cells: at least 1.
    int gridRows() const { return displayRows < 1 ? 1 : displayRows; }
    int gridColumnCount() const;
    // The first cell of column k (the column's record), or null.
    CVARNFBControl* gridColumn(int k);
    const CVARNFBControl* gridColumn(int k) const;
    // Appends one column: a copy of the prototype per row, with array count =
    // rows and array index = row. The geometry is set by layoutGridCells.
    void appendGridColumn(const CVARNFBControl& prototype);
    // Gives every cell its rectangle relative to the grid from the column
    // widths; the last column ends at the inner width, the last row at the
    // grid's height. The inner width leaves out the scroll bar when the grid's
    // scrollbar is "yes".
    void layoutGridCells(int scrollBarWidth);
    int gridInnerWidth(int scrollBarWidth) const;
};

}  // namespace varn
