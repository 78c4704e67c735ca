#include "form/FormDesigner.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <utility>

#include "app/Ui.h"
#include "form/FormText.h"

namespace varn {

namespace {

struct CommandEntry {
    DesignerCommand command;
    const char* text;
    int kind;  // the kind a tool button adds; 0 for other commands
};

constexpr CommandEntry kCommands[] = {
    {DesignerCommand::AddButton, "Button", kind::Button},
    {DesignerCommand::AddCheckbox, "Checkbox", kind::Checkbox},
    {DesignerCommand::AddLabel, "Label", kind::Label},
    {DesignerCommand::AddText, "Text Field", kind::Text},
    {DesignerCommand::AddSelector, "Selector", kind::Selector},
    {DesignerCommand::AddFileSel, "File Selector", kind::FileSel},
    {DesignerCommand::AddGrid, "Data Grid", kind::Grid},
    {DesignerCommand::AddDropdown, "Dropdown list", kind::Dropdown},
    {DesignerCommand::Deselect, "Deselect", 0},
    {DesignerCommand::ToggleFrame, "Toggle Frame", 0},
    {DesignerCommand::AlignLeft, "&Left", 0},
    {DesignerCommand::AlignRight, "&Right", 0},
    {DesignerCommand::AlignTop, "&Top", 0},
    {DesignerCommand::AlignBottom, "&Bottom", 0},
    {DesignerCommand::CentreVertical, "&Vertical", 0},
    {DesignerCommand::CentreHorizontal, "&Horizontal", 0},
    {DesignerCommand::SpaceAcross, "&Across", 0},
    {DesignerCommand::SpaceDown, "&Down", 0},
    {DesignerCommand::SameWidth, "&Width", 0},
    {DesignerCommand::SameHeight, "&Height", 0},
    {DesignerCommand::SameBoth, "&Both", 0},
    {DesignerCommand::ToggleGrid, "&Toggle Grid", 0},
    {DesignerCommand::SnapToGrid, "Snap to Grid", 0},
    {DesignerCommand::GridSpacing, "&Grid Spacing", 0},
    {DesignerCommand::SelectAll, "&Select All\tCtrl+A", 0},
    {DesignerCommand::SizeToContent, "&Size To Content\tShift+F7", 0},
    {DesignerCommand::Copy, "&Copy\tCtrl+C", 0},
    {DesignerCommand::Paste, "&Paste\tCtrl+V", 0},
    {DesignerCommand::Delete, "&Delete\tDel", 0},
    {DesignerCommand::Undo, "&Undo\tCtrl+Z", 0},
    {DesignerCommand::Lock, "&Lock Control\tF2", 0},
    {DesignerCommand::Unlock, "&Unlock Control\tShift+F2", 0},
    {DesignerCommand::GoToInvoker, "&Go to Invoker", 0},
};

const CommandEntry& entryOf(DesignerCommand command) {
    for (const CommandEntry& e : kCommands)
        if (e.command == command) return e;
    return kCommands[0];
}

// The size a new control of the kind starts with, in units.
struct UnitSize {
    int kind;
    int width;
    int height;
};
constexpr UnitSize kNewSizes[] = {
    {kind::Text, 60, 12},     {kind::Dropdown, 60, 12}, {kind::Label, 40, 12},   {kind::Button, 40, 12},
    {kind::Checkbox, 50, 12}, {kind::Selector, 60, 40}, {kind::FileSel, 60, 40}, {kind::Grid, 100, 40},
};

// A new grid: 3 display rows, 3 data rows, one Text column of 100 per cent.
constexpr int kNewGridRows = 3;
constexpr int kNewGridDataRows = 3;
constexpr int kNewGridColumnWidth = 100;

std::string formatted(const char* format, auto... values) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

}  // namespace

FormDesigner::FormDesigner(std::unique_ptr<CVARNfbDoc> doc, Ui& ui)
    : doc_(std::move(doc)), ui_(ui), selection_(*doc_) {}

const char* FormDesigner::commandText(DesignerCommand command) { return entryOf(command).text; }

CommandState FormDesigner::state(DesignerCommand command) const {
    const int toolKind = entryOf(command).kind;
    if (toolKind != 0) return {true, pending_ && pending_->kind == toolKind};
    switch (command) {
        case DesignerCommand::Deselect:
            return {true, pending_ == nullptr};
        case DesignerCommand::ToggleFrame:
            return {true, doc_->frame() != nullptr};
        case DesignerCommand::AlignLeft:
        case DesignerCommand::AlignRight:
        case DesignerCommand::AlignTop:
        case DesignerCommand::AlignBottom:
        case DesignerCommand::SameWidth:
        case DesignerCommand::SameHeight:
        case DesignerCommand::SameBoth:
            return {selection_.count() > 1, false};
        case DesignerCommand::CentreVertical:
        case DesignerCommand::CentreHorizontal:
            return {selection_.unlockedCount() >= 1, false};
        case DesignerCommand::SpaceAcross:
        case DesignerCommand::SpaceDown:
            return {selection_.unlockedCount() > 2, false};
        case DesignerCommand::ToggleGrid:
            return {true, grid.shown};
        case DesignerCommand::SnapToGrid:
            return {grid.shown, grid.snap};
        case DesignerCommand::GridSpacing:
            return {true, false};
        case DesignerCommand::SelectAll: {
            const auto& list = doc_->controls();
            return {std::any_of(list.begin(), list.end(), [](const auto& c) { return c->kind != kind::Frame; }), false};
        }
        case DesignerCommand::SizeToContent:
        case DesignerCommand::Copy:
        case DesignerCommand::Delete:
        case DesignerCommand::Lock:
        case DesignerCommand::Unlock:
            return {selection_.any(), false};
        case DesignerCommand::Paste:
            return {clipboard_ && clipboard_->holdsBlock(), false};
        case DesignerCommand::Undo:
            return {!undo_.empty(), false};
        case DesignerCommand::GoToInvoker:
            return {selection_.count() == 1, false};
        default:
            return {};
    }
}

bool FormDesigner::run(DesignerCommand command) {
    if (!state(command).enabled) return false;
    const int toolKind = entryOf(command).kind;
    if (toolKind != 0) {
        addControl(toolKind);
        return true;
    }
    switch (command) {
        case DesignerCommand::Deselect:
            dropPending();
            break;
        case DesignerCommand::ToggleFrame:
            toggleFrame();
            break;
        case DesignerCommand::AlignLeft:
            align(AlignEdge::Left);
            break;
        case DesignerCommand::AlignRight:
            align(AlignEdge::Right);
            break;
        case DesignerCommand::AlignTop:
            align(AlignEdge::Top);
            break;
        case DesignerCommand::AlignBottom:
            align(AlignEdge::Bottom);
            break;
        case DesignerCommand::CentreVertical:
            centre(Axis::Vertical);
            break;
        case DesignerCommand::CentreHorizontal:
            centre(Axis::Horizontal);
            break;
        case DesignerCommand::SpaceAcross:
            spaceEvenly(Axis::Horizontal);
            break;
        case DesignerCommand::SpaceDown:
            spaceEvenly(Axis::Vertical);
            break;
        case DesignerCommand::SameWidth:
            makeSameSize(SameSize::Width);
            break;
        case DesignerCommand::SameHeight:
            makeSameSize(SameSize::Height);
            break;
        case DesignerCommand::SameBoth:
            makeSameSize(SameSize::Both);
            break;
        case DesignerCommand::ToggleGrid:
            grid.shown = !grid.shown;
            if (events_) events_->gridChanged();
            break;
        case DesignerCommand::SnapToGrid:
            grid.snap = !grid.snap;
            if (events_) events_->gridChanged();
            break;
        case DesignerCommand::GridSpacing:
            break;
        case DesignerCommand::SelectAll:
            selectAll();
            break;
        case DesignerCommand::SizeToContent:
            sizeToContent();
            break;
        case DesignerCommand::Copy:
            copy();
            break;
        case DesignerCommand::Paste:
            return paste();
        case DesignerCommand::Delete:
            deleteSelected();
            break;
        case DesignerCommand::Undo:
            return undo();
        case DesignerCommand::Lock:
            setLocked(true);
            break;
        case DesignerCommand::Unlock:
            setLocked(false);
            break;
        case DesignerCommand::GoToInvoker:
            return goToInvoker().has_value();
        default:
            return false;
    }
    return true;
}

// --- records, windows and undo ---

void FormDesigner::record(CVARNfbUndo::Action action, const CVARNFBControl& control) {
    undo_.push(CVARNfbUndo(action, control));
}

void FormDesigner::changed() { modified_ = true; }

void FormDesigner::listChanged() {
    modified_ = true;
    selection_.refreshStyles();
    if (events_) events_->controlsChanged();
}

void FormDesigner::applyRect(CVARNFBControl& control, const FormRect& r) {
    control.rect() = r;
    if (control.kind == kind::Grid) control.layoutGridCells(doc_->environment().scrollBarWidth);
}

void FormDesigner::giveWindows(CVARNFBControl& control) {
    doc_->giveWindow(control);
    const std::size_t rows = static_cast<std::size_t>(control.gridRows());
    for (std::size_t i = 0; i < control.cells.size(); ++i) {
        CVARNFBControl& cell = *control.cells[i];
        // The first cell of a column is named afresh; the others take its name.
        const std::size_t row = i % rows;
        if (row > 0 && cell.name.empty()) cell.name = control.cells[i - row]->name;
        doc_->giveWindow(cell, control.window.get());
    }
}

void FormDesigner::remakeWindow(CVARNFBControl& control, PreviewWindow* parent) {
    PreviewHost* host = doc_->previewHost();
    if (!host) return;
    control.window = host->createPreview(control, parent, control.controlId);
    if (!control.window) return;
    doc_->applyFont(control);
    control.window->showText(doc_->previewText(control));
}

void FormDesigner::remakeWindows(CVARNFBControl& control) {
    remakeWindow(control, nullptr);
    for (auto& cell : control.cells) remakeWindow(*cell, control.window.get());
}

CVARNFBControl* FormDesigner::findRecorded(const CVARNfbUndo& change) {
    auto& list = doc_->controls();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (change.recordedFor(**it)) return it->get();
    return nullptr;
}

bool FormDesigner::undo() {
    auto change = undo_.takeNewest();
    if (!change) return false;
    tracking_ = nullptr;
    switch (change->action) {
        case CVARNfbUndo::Added:
            if (CVARNFBControl* c = findRecorded(*change)) {
                selection_.forget(c);
                if (pending_ == c) pending_ = nullptr;
                doc_->remove(c);
            }
            break;
        case CVARNfbUndo::Modified:
            if (CVARNFBControl* c = findRecorded(*change)) {
                const bool selected = c->selected;
                c->cells.clear();  // the cells' windows go before the grid's
                c->window.reset();
                c->copyFrom(change->record);
                c->selected = selected;
                c->processed = false;
                for (const CVARNFBControl& cell : change->cells)
                    c->cells.push_back(std::make_unique<CVARNFBControl>(cell));
                remakeWindows(*c);
            }
            break;
        case CVARNfbUndo::Deleted: {
            std::unique_ptr<CVARNFBControl> made = change->recreate();
            made->selected = false;
            made->processed = false;
            CVARNFBControl& c =
                made->kind == kind::Frame ? doc_->insertAtHead(std::move(made)) : doc_->append(std::move(made));
            remakeWindows(c);
            break;
        }
    }
    listChanged();
    return true;
}

// --- adding, placing, frame ---

void FormDesigner::addControl(int kindCode) {
    dropPending();
    auto made = doc_->newRecord(kindCode);
    const FormScale& scale = doc_->scale();
    for (const UnitSize& s : kNewSizes)
        if (s.kind == kindCode) made->rect() = FormRect{0, 0, scale.pixelsX(s.width), scale.pixelsY(s.height)};
    if (kindCode == kind::Grid) {
        made->displayRows = kNewGridRows;
        made->dataRows = kNewGridDataRows;
        CVARNFBControl column(kind::Text, doc_->environment());
        column.columnWidth = kNewGridColumnWidth;
        made->appendGridColumn(column);
        made->layoutGridCells(doc_->environment().scrollBarWidth);
    }
    CVARNFBControl& c = doc_->append(std::move(made));
    giveWindows(c);
    pending_ = &c;
    if (events_) events_->controlsChanged();
}

void FormDesigner::dropPending() {
    if (!pending_) return;
    selection_.forget(pending_);
    doc_->remove(pending_);
    pending_ = nullptr;
    if (events_) events_->controlsChanged();
}

bool FormDesigner::placePending(int x, int y) {
    if (!pending_) return false;
    CVARNFBControl& c = *pending_;
    pending_ = nullptr;
    FormRect r = c.rect();
    r.moveTo(x, y);
    applyRect(c, constrain(r));
    selection_.clear();
    selection_.setDominant(&c);
    record(CVARNfbUndo::Added, c);
    changed();
    if (events_) events_->projectTreeChanged();
    return true;
}

void FormDesigner::toggleFrame() {
    if (CVARNFBControl* f = doc_->frame()) {
        record(CVARNfbUndo::Deleted, *f);
        selection_.forget(f);
        doc_->remove(f);
    } else {
        record(CVARNfbUndo::Added, doc_->addFrame());
    }
    listChanged();
}

// --- geometry commands ---

std::vector<CVARNFBControl*> FormDesigner::selectedUnlocked() const {
    std::vector<CVARNFBControl*> out;
    for (auto& c : doc_->controls())
        if (c->selected && !c->locked) out.push_back(c.get());
    return out;
}

void FormDesigner::align(AlignEdge edge) {
    CVARNFBControl* d = selection_.dominant();
    if (!d) return;
    for (CVARNFBControl* c : selectedUnlocked()) {
        if (c == d) continue;
        record(CVARNfbUndo::Modified, *c);
        applyRect(*c, alignedTo(c->rect(), d->rect(), edge));
    }
    changed();
}

void FormDesigner::makeSameSize(SameSize size) {
    CVARNFBControl* d = selection_.dominant();
    if (!d) return;
    for (auto& c : doc_->controls()) c->processed = false;
    for (CVARNFBControl* c : selectedUnlocked()) {
        if (c == d || c->processed) continue;
        const FormRect sized = sizedLike(c->rect(), d->rect(), size);
        // An element of a control array gives its new size to every element.
        for (CVARNFBControl* e : doc_->arrayElements(*c)) {
            if (e->processed || e == d) continue;
            e->processed = true;
            record(CVARNfbUndo::Modified, *e);
            FormRect r = e->rect();
            r.right = addClamped(r.left, sized.width());
            r.bottom = addClamped(r.top, sized.height());
            applyRect(*e, r);
        }
    }
    for (auto& c : doc_->controls()) c->processed = false;
    changed();
}

void FormDesigner::centre(Axis axis) {
    const FormEnvironment& env = doc_->environment();
    for (CVARNFBControl* c : selectedUnlocked()) {
        record(CVARNfbUndo::Modified, *c);
        applyRect(*c, centredIn(c->rect(), env.pixelWidth, env.pixelHeight, axis));
    }
    changed();
}

void FormDesigner::spaceEvenly(Axis axis) {
    std::vector<CVARNFBControl*> list = selectedUnlocked();
    if (list.size() < 3) return;
    std::stable_sort(list.begin(), list.end(), [axis](const CVARNFBControl* a, const CVARNFBControl* b) {
        return axis == Axis::Horizontal ? a->rect().left < b->rect().left : a->rect().top < b->rect().top;
    });
    std::vector<FormRect> rects;
    rects.reserve(list.size());
    for (const CVARNFBControl* c : list) rects.push_back(c->rect());
    rects = spacedEvenly(std::move(rects), axis);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i]->rect() == rects[i]) continue;
        record(CVARNfbUndo::Modified, *list[i]);
        applyRect(*list[i], rects[i]);
    }
    changed();
}

void FormDesigner::sizeToContent() {
    if (!measure_) return;
    const FormEnvironment& env = doc_->environment();
    const DesignerGrid noSnap{};
    for (CVARNFBControl* c : selection_.selected()) {
        record(CVARNfbUndo::Modified, *c);
        const auto size = contentSize(*c, doc_->fontOf(*c), doc_->previewText(*c), *measure_);
        if (!size) continue;
        const FormRect& r = c->rect();
        const FormRect fitted{r.left, r.top, addClamped(r.left, size->width), addClamped(r.top, size->height)};
        applyRect(*c, constrainRect(fitted, noSnap, doc_->scale(), env.displayWidth, env.displayHeight));
    }
    changed();
}

void FormDesigner::setLocked(bool locked) {
    for (CVARNFBControl* c : selection_.selected()) c->locked = locked;
    changed();
}

bool FormDesigner::setGridSpacing(int spacing) {
    if (spacing < 0 || spacing > DesignerGrid::kMaxSpacing) return false;
    grid.spacing = spacing;
    if (events_) events_->gridChanged();
    return true;
}

// --- clipboard and delete ---

void FormDesigner::copy() {
    if (!clipboard_) return;
    const auto chosen = selection_.selected();
    clipboard_->writeBlock(FormClipboardBlock::write({chosen.begin(), chosen.end()}));
}

bool FormDesigner::paste() {
    if (!clipboard_ || !clipboard_->holdsBlock()) return false;
    unsigned error = 0;
    std::optional<std::vector<ClipboardItem>> items;
    if (auto bytes = clipboard_->readBlock(error)) items = FormClipboardBlock::read(*bytes, error);
    if (!items) {
        ui_.error(formatted(kCouldNotPaste, error));
        return false;
    }
    selection_.clear();
    CVARNFBControl* first = nullptr;
    for (PasteGroup& group : groupForPaste(std::move(*items))) {
        std::string name;  // element 0's fresh name, taken by the other elements
        for (ClipboardItem& item : group.members) {
            auto made = std::make_unique<CVARNFBControl>(std::move(item.record));
            made->name = name;
            const int rows = made->gridRows();
            for (std::size_t i = 0; i < item.cells.size(); ++i) {
                auto cell = std::make_unique<CVARNFBControl>(std::move(item.cells[i]));
                cell->name.clear();
                cell->arrayCount = rows;
                cell->arrayIndex = static_cast<int>(i % static_cast<std::size_t>(rows));
                made->cells.push_back(std::move(cell));
            }
            CVARNFBControl& c = doc_->append(std::move(made));
            giveWindows(c);
            if (name.empty()) name = c.name;
            c.selected = true;
            if (!first) first = &c;
            record(CVARNfbUndo::Added, c);
        }
    }
    selection_.setDominant(first);
    listChanged();
    return true;
}

void FormDesigner::deleteSelected() {
    auto& list = doc_->controls();
    for (auto& c : list) c->processed = false;
    bool any = false;
    for (auto& c : list) {
        if (!c->selected || c->processed) continue;
        any = true;
        if (!c->isArrayElement()) {
            c->processed = true;
            continue;
        }
        for (CVARNFBControl* e : doc_->arrayElements(*c)) e->processed = true;  // arrays go together
    }
    if (!any) return;
    // Recorded from the end, so that undoing puts them back in list order.
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (!(*it)->processed) continue;
        record(CVARNfbUndo::Deleted, **it);
        selection_.forget(it->get());
        if (pending_ == it->get()) pending_ = nullptr;
        if (tracking_ == it->get()) tracking_ = nullptr;
    }
    std::erase_if(list, [](const auto& c) { return c->processed; });
    listChanged();
}

// --- mouse and keys ---

DesignerSelection::Click FormDesigner::click(CVARNFBControl& control, bool shift) {
    const DesignerSelection::Click out = selection_.click(control, shift);
    if (out.onFrame) return out;
    if (out.raised) {
        if (events_) {
            events_->controlRaised(control);
            events_->controlsChanged();
        }
        changed();
    }
    record(CVARNfbUndo::Modified, control);
    tracking_ = &control;
    return out;
}

FormRect FormDesigner::constrain(const FormRect& pixels) const {
    const FormEnvironment& env = doc_->environment();
    return constrainRect(pixels, grid, doc_->scale(), env.displayWidth, env.displayHeight);
}

void FormDesigner::finishTrack(CVARNFBControl& control, const FormRect& tracked) {
    FormRect r = constrain(tracked);
    if (control.kind == kind::Dropdown && control.window) {
        const int closed = control.window->closedBoxHeight();
        if (closed > 0) r.bottom = addClamped(r.top, closed);
    }
    const bool ownRecord = tracking_ == &control && !undo_.empty() && undo_.at(0).recordedFor(control);
    tracking_ = nullptr;
    if (r == control.rect()) {
        if (ownRecord) undo_.dropNewest();
        return;
    }
    applyRect(control, r);
    changed();
}

bool FormDesigner::nudge(NudgeKey key) {
    const PixelOffset step = nudgeOffset(key, grid, doc_->scale());
    const FormEnvironment& env = doc_->environment();
    long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;
    bool any = false;
    for (auto& c : doc_->controls()) {
        if (!c->selected || c->locked) continue;
        any = true;
        const FormRect& r = c->rect();
        left = std::min<long long>(left, static_cast<long long>(r.left) + step.dx);
        top = std::min<long long>(top, static_cast<long long>(r.top) + step.dy);
        right = std::max<long long>(right, static_cast<long long>(r.right) + step.dx);
        bottom = std::max<long long>(bottom, static_cast<long long>(r.bottom) + step.dy);
    }
    if (!any || left < 0 || top < 0 || right >= env.pixelWidth || bottom >= env.pixelHeight) return false;
    for (auto& c : doc_->controls()) {
        if (!c->selected || c->locked) continue;
        FormRect& r = c->rect();
        r.moveTo(r.left + step.dx, r.top + step.dy);
    }
    changed();
    return true;
}

bool FormDesigner::resizeStep(NudgeKey key) {
    const PixelOffset step = nudgeOffset(key, grid, doc_->scale());
    if (key != NudgeKey::Left && key != NudgeKey::Right && key != NudgeKey::Up && key != NudgeKey::Down) return false;
    const int unit = std::max(std::abs(step.dx), std::abs(step.dy));
    const FormEnvironment& env = doc_->environment();
    const std::vector<CVARNFBControl*> list = selectedUnlocked();
    if (list.empty()) return false;
    for (const CVARNFBControl* c : list) {
        const FormRect& r = c->rect();
        const long long right = static_cast<long long>(r.right) + step.dx;
        const long long bottom = static_cast<long long>(r.bottom) + step.dy;
        if (right - r.left < unit || bottom - r.top < unit || right >= env.pixelWidth || bottom >= env.pixelHeight)
            return false;
    }
    for (CVARNFBControl* c : list) {
        FormRect r = c->rect();
        r.right += step.dx;
        r.bottom += step.dy;
        applyRect(*c, r);
    }
    changed();
    return true;
}

CVARNFBControl* FormDesigner::cycle(bool backwards) {
    std::vector<CVARNFBControl*> order;
    for (auto& c : doc_->controls())
        if (c->kind != kind::Frame && c.get() != pending_) order.push_back(c.get());
    if (order.empty()) return nullptr;
    const auto at = std::find(order.begin(), order.end(), selection_.dominant());
    std::size_t next = 0;
    if (at == order.end()) next = backwards ? order.size() - 1 : 0;
    else if (backwards) next = at == order.begin() ? order.size() - 1 : static_cast<std::size_t>(at - order.begin()) - 1;
    else next = (static_cast<std::size_t>(at - order.begin()) + 1) % order.size();
    selectOnly(*order[next]);
    return order[next];
}

void FormDesigner::selectOnly(CVARNFBControl& control) {
    selection_.clear();
    if (control.kind != kind::Frame) selection_.setDominant(&control);
}

// --- texts ---

std::string FormDesigner::statusText() const {
    const CVARNFBControl* d = selection_.dominant();
    if (!d) return {};
    const FormScale& s = doc_->scale();
    const FormRect& r = d->rect();
    return formatted(kStatusFormat, s.unitsX(r.left), s.unitsY(r.top), s.unitsX(r.width()), s.unitsY(r.height()));
}

std::string FormDesigner::selectorEntry(const CVARNFBControl& control) {
    if (!control.isArrayElement()) return control.name;
    return formatted(kSelectorArrayEntry, control.name.c_str(), control.arrayIndex);
}

std::vector<std::string> FormDesigner::objectSelectorEntries() const {
    std::vector<std::string> out;
    out.reserve(doc_->controls().size());
    for (const auto& c : doc_->controls()) out.push_back(selectorEntry(*c));
    return out;
}

std::optional<std::string> FormDesigner::invokerName(const CVARNFBControl& control) {
    if (control.kind == kind::Label || control.kind == kind::Frame) {
        ui_.error(kNoInvokerType);
        return std::nullopt;
    }
    std::string name = trimBlanks(control.invokes);
    if (name.empty()) name = trimBlanks(control.name);
    if (name.empty()) {
        ui_.warning(kEnterInvokerName);
        return std::nullopt;
    }
    return name;
}

std::optional<FindLocation> FormDesigner::goToInvoker() {
    CVARNFBControl* c = selection_.single();
    if (!c || selection_.count() != 1) return std::nullopt;
    const auto name = invokerName(*c);
    if (!name || !invokerSearch_) return std::nullopt;
    return invokerSearch_(*name);
}

}  // namespace varn
