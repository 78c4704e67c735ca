#include "menubar/CMenuBar.h"

#include "app/Ui.h"
#include "platform/Paths.h"

namespace varn {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return paths::equalNoCase(std::string(a), std::string(b));
}

}  // namespace

std::optional<MenuNameUse> findMenuName(const CMenuBar& bar, std::string_view name, const void* except) {
    if (&bar != except && sameName(bar.name, name)) return MenuNameUse{MenuNameUse::Kind::Bar, &bar, nullptr, nullptr};
    for (const CMenuTop& top : bar.tops) {
        if (&top != except && sameName(top.name, name))
            return MenuNameUse{MenuNameUse::Kind::Top, &bar, &top, nullptr};
        for (const CMenuItem& item : top.items)
            if (&item != except && sameName(item.name, name))
                return MenuNameUse{MenuNameUse::Kind::Item, &bar, &top, &item};
    }
    return std::nullopt;
}

std::string menuNameUsedMessage(const MenuNameUse& use, const std::string& prefix) {
    std::string lead = prefix.empty() ? std::string() : prefix + "\r\n\n";
    switch (use.kind) {
    case MenuNameUse::Kind::Bar: return fillMenuMessage(kMenuBarNameUsed, {lead, use.bar->name});
    case MenuNameUse::Kind::Top: return fillMenuMessage(kMenuTopNameUsed, {lead, use.top->name, use.bar->name});
    case MenuNameUse::Kind::Item:
        return fillMenuMessage(kMenuItemNameUsed, {lead, use.item->name, use.top->name, use.bar->name});
    }
    return {};
}

bool menuBarNameUsed(const CMenuBar& bar, std::string_view name, const std::string& prefix, Ui& ui) {
    std::optional<MenuNameUse> use = findMenuName(bar, name);
    if (!use) return false;
    ui.error(menuNameUsedMessage(*use, prefix));
    return true;
}

bool menuBarsNameUsed(const MenuBarList& bars, std::string_view name, const std::string& prefix, Ui& ui) {
    for (const CMenuBar& bar : bars)
        if (menuBarNameUsed(bar, name, prefix, ui)) return true;
    return false;
}

CMenuBar* findMenuBar(MenuBarList& bars, std::string_view name) {
    for (CMenuBar& bar : bars)
        if (sameName(bar.name, name)) return &bar;
    return nullptr;
}

const CMenuBar* findMenuBar(const MenuBarList& bars, std::string_view name) {
    for (const CMenuBar& bar : bars)
        if (sameName(bar.name, name)) return &bar;
    return nullptr;
}

std::string fillMenuMessage(std::string_view format, const std::vector<std::string>& values) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (next < values.size()) out += values[next];
            ++next;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace varn
