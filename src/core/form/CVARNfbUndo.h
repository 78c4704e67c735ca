// One recorded change of the form designer (added, modified or deleted) with
// a full copy of the control record and, for a grid, of its cells; and the
// form's undo list of them, newest first and at most 200 long.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "form/CVARNFBControl.h"

namespace varn {

class CVARNfbUndo {
public:
    enum Action { Added = 1, Modified = 2, Deleted = 3 };

    // Copies the record and its grid cells as they are now.
    CVARNfbUndo(Action action, const CVARNFBControl& control);

    // A new record made from the copy, with copies of the cells (no windows).
    std::unique_ptr<CVARNFBControl> recreate() const;
    // True when `control` is the control this change was recorded for: the
    // same control id, or (a control re-created under a new id) the same
    // kind, name without regard to case and array index.
    bool recordedFor(const CVARNFBControl& control) const;

    Action action;
    CVARNFBControl record;
    std::vector<CVARNFBControl> cells;
};

class FormUndoList {
public:
    static constexpr std::size_t kMaxRecords = 200;

    // Adds the newest record; a full list first discards its oldest.
    void push(CVARNfbUndo change);
    // Takes the newest record out; nothing when the list is empty.
    std::optional<CVARNfbUndo> takeNewest();
    // Drops the newest record (a change that turned out to change nothing).
    void dropNewest();

    bool empty() const { return records_.empty(); }
    std::size_t size() const { return records_.size(); }
    // 0 is the newest.
    const CVARNfbUndo& at(std::size_t i) const { return records_[i]; }
    void clear() { records_.clear(); }

private:
    std::deque<CVARNfbUndo> records_;
};

}  // namespace varn
