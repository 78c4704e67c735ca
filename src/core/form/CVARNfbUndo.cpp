#include "form/CVARNfbUndo.h"

#include "form/FormText.h"

namespace varn {

CVARNfbUndo::CVARNfbUndo(Action a, const CVARNFBControl& control) : action(a), record(control) {
    cells.reserve(control.cells.size());
    for (const auto& cell : control.cells) cells.emplace_back(*cell);
}

std::unique_ptr<CVARNFBControl> CVARNfbUndo::recreate() const {
    auto out = std::make_unique<CVARNFBControl>(record);
    out->cells.reserve(cells.size());
    for (const CVARNFBControl& cell : cells) out->cells.push_back(std::make_unique<CVARNFBControl>(cell));
    return out;
}

bool CVARNfbUndo::recordedFor(const CVARNFBControl& control) const {
    if (record.controlId >= 0 && record.controlId == control.controlId) return true;
    return record.kind == control.kind && record.arrayIndex == control.arrayIndex &&
           equalsNoCase(record.name, control.name);
}

void FormUndoList::push(CVARNfbUndo change) {
    if (records_.size() >= kMaxRecords) records_.pop_back();
    records_.push_front(std::move(change));
}

std::optional<CVARNfbUndo> FormUndoList::takeNewest() {
    if (records_.empty()) return std::nullopt;
    std::optional<CVARNfbUndo> out(std::move(records_.front()));
    records_.pop_front();
    return out;
}

void FormUndoList::dropNewest() {
    if (!records_.empty()) records_.pop_front();
}

}  // namespace varn
