#include "form/DesignerSelection.h"

#include <algorithm>

#include "form/CVARNfbDoc.h"

namespace varn {

namespace {

bool inside(const FormRect& r, const FormRect& band) {
    const int left = std::min(band.left, band.right);
    const int right = std::max(band.left, band.right);
    const int top = std::min(band.top, band.bottom);
    const int bottom = std::max(band.top, band.bottom);
    return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
}

}  // namespace

void DesignerSelection::setDominant(CVARNFBControl* control) {
    dominant_ = control;
    if (control) control->selected = true;
    refreshStyles();
}

DesignerSelection::Click DesignerSelection::click(CVARNFBControl& control, bool shift) {
    Click out;
    if (control.kind == kind::Frame) {
        out.onFrame = true;
        return out;
    }
    if (!shift && !control.selected) clear();
    if (shift && control.isArrayElement())
        for (CVARNFBControl* e : doc_.arrayElements(control)) e->selected = true;
    control.selected = true;
    dominant_ = &control;
    out.raised = doc_.moveToEnd(&control);
    refreshStyles();
    return out;
}

void DesignerSelection::selectAll() {
    for (auto& c : doc_.controls()) c->selected = c->kind != kind::Frame;
    refreshStyles();
}

void DesignerSelection::rubberBand(const FormRect& band) {
    dominant_ = nullptr;
    for (auto& c : doc_.controls()) {
        c->selected = c->kind != kind::Frame && inside(c->rect(), band);
        if (c->selected && !dominant_) dominant_ = c.get();
    }
    refreshStyles();
}

void DesignerSelection::clear() {
    for (auto& c : doc_.controls()) c->selected = false;
    dominant_ = nullptr;
    refreshStyles();
}

void DesignerSelection::select(CVARNFBControl& control) {
    control.selected = true;
    refreshStyles();
}

void DesignerSelection::forget(const CVARNFBControl* control) {
    if (dominant_ == control) dominant_ = nullptr;
}

std::vector<CVARNFBControl*> DesignerSelection::selected() const {
    std::vector<CVARNFBControl*> out;
    for (auto& c : doc_.controls())
        if (c->selected) out.push_back(c.get());
    return out;
}

int DesignerSelection::count() const {
    return static_cast<int>(
        std::count_if(doc_.controls().begin(), doc_.controls().end(), [](const auto& c) { return c->selected; }));
}

int DesignerSelection::unlockedCount() const {
    return static_cast<int>(std::count_if(doc_.controls().begin(), doc_.controls().end(),
                                          [](const auto& c) { return c->selected && !c->locked; }));
}

CVARNFBControl* DesignerSelection::single() const {
    if (dominant_ && dominant_->selected) return dominant_;
    const auto all = selected();
    return all.size() == 1 ? all.front() : nullptr;
}

void DesignerSelection::refreshStyles() {
    for (auto& c : doc_.controls())
        c->tracker.style = !c->selected ? 0 : c.get() == dominant_ ? kDominantStyle : kSelectedStyle;
}

}  // namespace varn
