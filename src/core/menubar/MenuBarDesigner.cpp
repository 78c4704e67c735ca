#include "menubar/MenuBarDesigner.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "app/Ui.h"
#include "expr/ExprChecker.h"
#include "form/FormText.h"
#include "platform/FileSystem.h"
#include "project/ProjectModel.h"

namespace varn {

namespace {

std::array<int, 3> counters{};

std::string numbered(const char* format, int n) {
    char text[32];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

// Moves element `from` of `list` to position `to` (clamped); the new position.
template <class T>
int moveWithin(std::vector<T>& list, int from, int to) {
    const int last = static_cast<int>(list.size()) - 1;
    to = std::clamp(to, 0, last);
    if (from == to) return from;
    auto first = list.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    return to;
}

bool inRange(int i, std::size_t size) { return i >= 0 && static_cast<std::size_t>(i) < size; }

}  // namespace

// --- counters ---

int MenuNameCounters::take(MenuLevel level) { return counters[static_cast<int>(level)]++; }
int MenuNameCounters::peek(MenuLevel level) { return counters[static_cast<int>(level)]; }
void MenuNameCounters::reset() { counters.fill(0); }

// --- designer ---

MenuBarDesigner::MenuBarDesigner(const MenuBarList& bars, Ui& ui, MenuDesignerHooks hooks)
    : bars_(bars), ui_(ui), hooks_(std::move(hooks)) {}

bool MenuBarDesigner::exists(const MenuNode& node) const {
    if (!inRange(node.bar, bars_.size())) return false;
    const CMenuBar& bar = bars_[node.bar];
    if (node.top < 0) return node.item < 0;
    if (!inRange(node.top, bar.tops.size())) return false;
    return node.item < 0 || inRange(node.item, bar.tops[node.top].items.size());
}

MenuNode MenuBarDesigner::findBar(const std::string& name) const {
    for (std::size_t i = 0; i < bars_.size(); ++i)
        if (equalsNoCase(bars_[i].name, name)) return MenuNode{static_cast<int>(i)};
    return {};
}

const void* MenuBarDesigner::objectOf(const MenuNode& node) const {
    if (!exists(node)) return nullptr;
    const CMenuBar& bar = bars_[node.bar];
    if (node.top < 0) return &bar;
    const CMenuTop& top = bar.tops[node.top];
    if (node.item < 0) return &top;
    return &top.items[node.item];
}

MenuFieldStates MenuBarDesigner::fieldStates(MenuLevel level) {
    switch (level) {
        case MenuLevel::Bar:
            return {false, false, false};
        case MenuLevel::Top:
            return {true, true, false};
        case MenuLevel::Item:
            return {true, true, true};
    }
    return {};
}

MenuFields MenuBarDesigner::fields(const MenuNode& node) const {
    MenuFields f;
    if (!exists(node)) return f;
    const CMenuBar& bar = bars_[node.bar];
    if (node.top < 0) {
        f.name = bar.name;
        return f;
    }
    const CMenuTop& top = bar.tops[node.top];
    if (node.item < 0) {
        f.expression = top.displayIsExpression;
        f.display = top.display;
        f.name = top.name;
        return f;
    }
    const CMenuItem& item = top.items[node.item];
    return MenuFields{item.displayIsExpression, item.display, item.name, item.invokes};
}

std::string MenuBarDesigner::nameOf(const MenuNode& node) const { return fields(node).name; }

bool MenuBarDesigner::expressionValid(const std::string& text) {
    if (hooks_.checkExpression) return hooks_.checkExpression(text);
    ExprChecker checker;
    return checker.check(text, ';').status == ExprResult::Ok;
}

std::optional<std::string> MenuBarDesigner::nameClash(const std::string& name, const void* except, bool quiet) const {
    for (const CMenuBar& bar : bars_) {
        std::optional<MenuNameUse> use = findMenuName(bar, name, except);
        if (!use) continue;
        switch (use->kind) {
            case MenuNameUse::Kind::Bar:
                return fillMenuMessage(kUsedByBar, {bar.name});
            case MenuNameUse::Kind::Top:
                return fillMenuMessage(kUsedByTop, {use->top->name, bar.name});
            case MenuNameUse::Kind::Item:
                return fillMenuMessage(kUsedByItem, {use->item->name, bar.name, use->top->name});
        }
    }
    if (hooks_.formOfObject) {
        if (std::optional<std::string> form = hooks_.formOfObject(name, quiet))
            return fillMenuMessage(kUsedOnForm, {*form});
    }
    return std::nullopt;
}

bool MenuBarDesigner::leave(const MenuNode& node, const MenuFields& typed) {
    if (!exists(node)) return true;
    const MenuLevel level = node.level();
    if (typed.expression && level != MenuLevel::Bar && !expressionValid(typed.display)) {
        ui_.error(kInvalidExpression);
        return false;
    }
    if (typed.name.empty()) {
        ui_.error(kEmptyName);
        return false;
    }
    const void* object = objectOf(node);
    if (typed.name != nameOf(node)) {
        if (std::optional<std::string> clash = nameClash(typed.name, object, false)) {
            ui_.error(*clash);
            return false;
        }
    }
    CMenuBar& bar = bars_[node.bar];
    if (level == MenuLevel::Bar) {
        bar.name = typed.name;
    } else if (level == MenuLevel::Top) {
        CMenuTop& top = bar.tops[node.top];
        top.name = typed.name;
        top.displayIsExpression = typed.expression;
        top.display = typed.display;
    } else {
        CMenuItem& item = bar.tops[node.top].items[node.item];
        item.name = typed.name;
        item.displayIsExpression = typed.expression;
        item.display = typed.display;
        item.invokes = typed.invokes;
    }
    return true;
}

MenuNode MenuBarDesigner::addNew(const MenuNode& selected) {
    const MenuNode parent = exists(selected) ? selected : MenuNode{};
    MenuLevel level = MenuLevel::Bar;
    const char* format = kBarName;
    if (!parent.isRoot()) {
        const bool underBar = parent.level() == MenuLevel::Bar;
        level = underBar ? MenuLevel::Top : MenuLevel::Item;
        format = underBar ? kTopName : kItemName;
    }
    std::string name;
    do {
        name = numbered(format, MenuNameCounters::take(level));
    } while (nameClash(name, nullptr, true));

    if (level == MenuLevel::Bar) {
        bars_.push_back(CMenuBar{name, {}});
        return MenuNode{static_cast<int>(bars_.size()) - 1};
    }
    CMenuBar& bar = bars_[parent.bar];
    if (level == MenuLevel::Top) {
        bar.tops.push_back(CMenuTop{false, name, {}, {}});
        return MenuNode{parent.bar, static_cast<int>(bar.tops.size()) - 1};
    }
    CMenuTop& top = bar.tops[parent.top];
    top.items.push_back(CMenuItem{false, {}, {}, name});
    return MenuNode{parent.bar, parent.top, static_cast<int>(top.items.size()) - 1};
}

bool MenuBarDesigner::remove(const MenuNode& node) {
    if (!exists(node)) return false;
    CMenuBar& bar = bars_[node.bar];
    if (node.level() == MenuLevel::Bar) {
        if (hooks_.frameOfMenuBar) {
            if (std::optional<std::string> frame = hooks_.frameOfMenuBar(bar.name)) {
                ui_.error(fillMenuMessage(kMenuBarInUse, {bar.name, *frame}));
                return false;
            }
        }
        bars_.erase(bars_.begin() + node.bar);
    } else if (node.level() == MenuLevel::Top) {
        bar.tops.erase(bar.tops.begin() + node.top);
    } else {
        auto& items = bar.tops[node.top].items;
        items.erase(items.begin() + node.item);
    }
    return true;
}

MenuNode MenuBarDesigner::move(const MenuNode& node, int to) {
    if (!exists(node)) return node;
    MenuNode moved = node;
    switch (node.level()) {
        case MenuLevel::Bar:
            moved.bar = moveWithin(bars_, node.bar, to);
            break;
        case MenuLevel::Top:
            moved.top = moveWithin(bars_[node.bar].tops, node.top, to);
            break;
        case MenuLevel::Item:
            moved.item = moveWithin(bars_[node.bar].tops[node.top].items, node.item, to);
            break;
    }
    return moved;
}

bool MenuBarDesigner::browseInvokes(const MenuFields& typed) {
    std::string name = trimBlanks(typed.invokes);
    if (name.empty()) name = typed.name;
    if (name.empty()) {
        ui_.warning(kEnterInvokerName);
        return false;
    }
    return hooks_.findInvoker && hooks_.findInvoker(name);
}

std::string menuShownText(const MenuFields& f) {
    if (trimBlanks(f.display).empty()) return f.name;
    if (!f.expression) return f.display;
    ExprChecker checker;
    return expressionPreview(checker, f.display);
}

// --- OK ---

bool menuBarFileReadOnly(const ProjectModel& project) {
    if (project.projectPath.empty()) return false;
    const std::string path = menuBarFilePath(project.projectPath);
    return fsys::exists(path) && fsys::isReadOnly(path);
}

MenuBarsApplied applyMenuBars(ProjectModel& project, const MenuBarList& bars, Ui& ui, std::time_t when) {
    if (menuBarFileReadOnly(project)) return MenuBarsApplied::ReadOnly;
    const std::string path = menuBarFilePath(project.projectPath);
    if (project.menuBarFileUnread && fsys::exists(path)) {
        Message ask{
            fillMenuMessage(kReplaceUnreadMenuBars, {path}), {}, MsgIcon::Warning, MsgButtons::YesNo, Answer::No};
        if (ui.message(ask) != Answer::Yes) return MenuBarsApplied::Declined;
    }

    project.menuBars = bars;
    std::vector<std::string> names;
    names.reserve(bars.size());
    std::transform(bars.begin(), bars.end(), std::back_inserter(names), [](const CMenuBar& b) { return b.name; });
    project.tree.replaceKind(ItemKind::MenuBar, names);
    if (!saveMenuBars(project.menuBars, path, ui, when)) return MenuBarsApplied::NotWritten;
    project.menuBarFileUnread = false;
    return MenuBarsApplied::Written;
}

}  // namespace varn
