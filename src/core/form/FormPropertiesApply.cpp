// The designer's part of the "Object Properties" sheet: its OK, which changes
// a control, its array and, for a grid, its cells as one undoable step.
#include <algorithm>

#include "form/FormDesigner.h"
#include "form/GridColumns.h"

namespace varn {

namespace {

// Takes the values every element of an array shares: everything but the
// position, the bitmap and the colours. Width and height follow `from`.
void takeShared(CVARNFBControl& element, const CVARNFBControl& from) {
    const FormRect r = element.rect();
    const std::string bitmap = element.bitmap;
    const auto foreground = element.foreground;
    const auto background = element.background;
    const int index = element.arrayIndex;
    const int id = element.controlId;
    const bool selected = element.selected;
    element.copyFrom(from);
    element.rect() =
        FormRect{r.left, r.top, addClamped(r.left, from.rect().width()), addClamped(r.top, from.rect().height())};
    element.bitmap = bitmap;
    element.foreground = foreground;
    element.background = background;
    element.arrayIndex = index;
    element.controlId = id;
    element.selected = selected;
}

}  // namespace

CVARNFBControl* FormDesigner::applyProperties(CVARNFBControl& control, const CVARNFBControl& edited, int arraySize) {
    record(CVARNfbUndo::Modified, control);
    std::vector<CVARNFBControl*> elements = doc_->arrayElements(control);
    std::stable_sort(elements.begin(), elements.end(),
                     [](const CVARNFBControl* a, const CVARNFBControl* b) { return a->arrayIndex < b->arrayIndex; });
    const int oldSize = control.isArrayElement() ? control.arrayCount : 1;
    const int size = std::max(arraySize, 1);

    // The edited values, with the array count the sheet asked for.
    CVARNFBControl values(edited);
    if (size != oldSize) {
        values.arrayCount = size == 1 ? 0 : size;
        if (values.arrayIndex < 0) values.arrayIndex = 0;
    }
    const bool selected = control.selected;
    const int id = control.controlId;
    if (control.kind == kind::Grid) control.cells.clear();
    control.copyFrom(values);
    control.selected = selected;
    control.controlId = id;
    control.processed = false;
    if (control.kind == kind::Grid) {
        control.cells = copyGridCells(edited);
        for (auto& cell : control.cells) doc_->giveWindow(*cell, control.window.get());
        control.layoutGridCells(doc_->environment().scrollBarWidth);
    }

    // Grown by copies of the edited control, shrunk from the highest index.
    CVARNFBControl* kept = &control;
    if (size > oldSize) {
        for (int i = oldSize; i < size; ++i) {
            auto copy = std::make_unique<CVARNFBControl>(control);
            copy->selected = false;
            copy->arrayIndex = i;
            CVARNFBControl& e = doc_->append(std::move(copy));
            doc_->giveWindow(e);
            record(CVARNfbUndo::Added, e);
            elements.push_back(&e);
        }
    } else if (size < oldSize) {
        for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
            CVARNFBControl* e = *it;
            if (e->arrayIndex < size) continue;
            record(CVARNfbUndo::Deleted, *e);
            selection_.forget(e);
            if (tracking_ == e) tracking_ = nullptr;
            if (e == &control) kept = nullptr;
            doc_->remove(e);
            *it = nullptr;
        }
        std::erase(elements, nullptr);
    }

    // Shared values on every element, each kept inside the display.
    const CVARNFBControl& source = kept ? *kept : values;
    const FormEnvironment& env = doc_->environment();
    const DesignerGrid noSnap{};
    for (CVARNFBControl* e : elements) {
        if (e != kept) takeShared(*e, source);
        e->arrayCount = values.arrayCount;
        if (values.arrayCount == 0) e->arrayIndex = -1;
        applyRect(*e, constrainRect(e->rect(), noSnap, doc_->scale(), env.displayWidth, env.displayHeight));
        doc_->applyFont(*e);
        if (e->window) e->window->showText(doc_->previewText(*e));
    }
    listChanged();
    return kept;
}

}  // namespace varn
