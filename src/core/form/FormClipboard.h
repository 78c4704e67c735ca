// The designer's clipboard block ("VARNfbClipBoard"): a count, then each
// copied control's packed record, a grid's record followed by its cell count
// and cells; its reader, which refuses anything that is not a whole block;
// and the grouping that turns read records into the controls a paste adds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/CVARNFBControl.h"

namespace varn {

inline constexpr const char* kClipboardFormatName = "VARNfbClipBoard";
inline constexpr const char* kCouldNotPaste = "Could not paste, error %u";

// The system's code for data that is not what it claims to be.
inline constexpr unsigned kInvalidClipboardData = 13;

// One copied control and, for a grid, its cells in column order.
struct ClipboardItem {
    CVARNFBControl record;
    std::vector<CVARNFBControl> cells;
};

// The clipboard as the designer sees it; the GUI puts the system clipboard
// behind it.
class DesignerClipboard {
public:
    virtual ~DesignerClipboard() = default;
    // True when the clipboard holds the designer's format.
    virtual bool holdsBlock() const = 0;
    // The block's bytes; nothing, with the system error code, when they
    // cannot be had.
    virtual std::optional<std::string> readBlock(unsigned& errorCode) = 0;
    virtual void writeBlock(std::string bytes) = 0;
};

// A clipboard in memory: batch use and tests.
class MemoryClipboard : public DesignerClipboard {
public:
    bool holdsBlock() const override { return block.has_value(); }
    std::optional<std::string> readBlock(unsigned& errorCode) override;
    void writeBlock(std::string bytes) override { block = std::move(bytes); }

    std::optional<std::string> block;
    unsigned failWith = 0;  // non-zero: reading fails with this code
};

class FormClipboardBlock {
public:
    // The block of the controls (in the order given) with their grid cells.
    static std::string write(const std::vector<const CVARNFBControl*>& controls);

    // The items of a block. Refused (nothing, with kInvalidClipboardData) when
    // a count is larger than the bytes can hold, a record is cut short, a kind
    // is not one a form can paste (1..8; grid cells only column kinds), or a
    // grid's cells do not fill whole columns. Bytes after the block are
    // allowed: the system may round a clipboard block up.
    static std::optional<std::vector<ClipboardItem>> read(std::string_view bytes, unsigned& errorCode);
};

// The controls a paste adds, in order: every single control as it came, then
// each array group. Names are emptied so that they are given afresh.
struct PasteGroup {
    std::vector<ClipboardItem> members;  // one for a single control; n elements of an array
};

// Single controls get array count 0 and index -1. Array elements are sorted
// by name (ignoring case) and index and grouped by name: a group of one
// becomes a single control, a group of n a new array with indexes 0..n-1.
std::vector<PasteGroup> groupForPaste(std::vector<ClipboardItem> items);

}  // namespace varn
