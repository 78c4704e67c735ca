// A project's menu bars: each menu bar owns its top-level menus (tops), each
// top owns its items. Names of all bars, tops and items share the project's
// one name space with the form controls; the name check below finds a clash.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varn {

class Ui;

struct CMenuItem {
    bool displayIsExpression = false;
    std::string display;
    std::string invokes;  // the function called when the item is chosen
    std::string name;
};

struct CMenuTop {
    bool displayIsExpression = false;
    std::string name;
    std::string display;
    std::vector<CMenuItem> items;
};

struct CMenuBar {
    std::string name;
    std::vector<CMenuTop> tops;
};

// The project's menu bars in project order.
using MenuBarList = std::vector<CMenuBar>;

inline constexpr const char* kMenuBarNameUsed = "%sThe name is already used by menubar %s";
inline constexpr const char* kMenuTopNameUsed = "%sThe name is already used by menutop %s on menubar %s";
inline constexpr const char* kMenuItemNameUsed =
    "%sThe name is already used by menuitem %s on menutop %s on menubar %s";
// Removing a menu bar, here or in the designer, that a form's frame shows.
inline constexpr const char* kMenuBarInUse = "Can not delete MenuBar %s because it is being used by frame %s.";

// Where a name is used in one menu bar.
struct MenuNameUse {
    enum class Kind { Bar, Top, Item };
    Kind kind = Kind::Bar;
    const CMenuBar* bar = nullptr;
    const CMenuTop* top = nullptr;    // for a top or an item
    const CMenuItem* item = nullptr;  // for an item
};

// The first object of `bar` named `name` (without regard to case): the bar
// itself, then each top in order, each followed by its items in order. `except` is an
// object (bar, top or item) left out, such as the one being renamed.
std::optional<MenuNameUse> findMenuName(const CMenuBar& bar, std::string_view name, const void* except = nullptr);

// The message for a name found in a menu bar, with `prefix` (when not empty)
// on lines of its own before it.
std::string menuNameUsedMessage(const MenuNameUse& use, const std::string& prefix);

// The name check: true when `name` is used in `bar`; the clash is shown in a
// stop box with `prefix` before the message.
bool menuBarNameUsed(const CMenuBar& bar, std::string_view name, const std::string& prefix, Ui& ui);

// The check over every menu bar of the project, stopping at the first bar that
// reports a clash.
bool menuBarsNameUsed(const MenuBarList& bars, std::string_view name, const std::string& prefix, Ui& ui);

// The first bar named `name` (without regard to case), or none.
CMenuBar* findMenuBar(MenuBarList& bars, std::string_view name);
const CMenuBar* findMenuBar(const MenuBarList& bars, std::string_view name);

// The text with its "%s" conversions filled in order (missing values are empty).
std::string fillMenuMessage(std::string_view format, const std::vector<std::string>& values);

}  // namespace varn
