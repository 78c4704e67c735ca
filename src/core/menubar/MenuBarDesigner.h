// The rules of the "MenuBars" dialog: a working copy of the project's menu
// bars edited as a tree (bars, their tops, their items), the checks made when
// the user leaves a node, default names for new objects, deletion, the
// invoker look-up and OK, which puts the copy back into the project.
#pragma once

#include <array>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "menubar/CMenuBar.h"
#include "menubar/ProjectMenuBars.h"

namespace varn {

class Ui;
struct ProjectModel;

// The tree level of a node: it gives the kind of object.
enum class MenuLevel { Bar = 0, Top = 1, Item = 2 };

// A node of the tree by position: the bar, the top in it, the item in that.
// -1 below the node's level; a node with no bar is the root (nothing chosen).
struct MenuNode {
    int bar = -1;
    int top = -1;
    int item = -1;

    bool isRoot() const { return bar < 0; }
    MenuLevel level() const { return item >= 0 ? MenuLevel::Item : top >= 0 ? MenuLevel::Top : MenuLevel::Bar; }
    bool operator==(const MenuNode&) const = default;
};

// The dialog's fields as the user sees them.
struct MenuFields {
    bool expression = false;
    std::string display;
    std::string name;
    std::string invokes;
    bool operator==(const MenuFields&) const = default;
};

// Which fields a level uses; the name is used by every level.
struct MenuFieldStates {
    bool expression = false;
    bool display = false;
    bool invokes = false;
};

// The three counters that number default names ("menubar%d", "menutop%d",
// "menuitem%d"): one per level, shared by every dialog of the process. They
// start at 0 and only grow, except when a test resets them.
class MenuNameCounters {
public:
    // The counter's value; it is then one higher.
    static int take(MenuLevel level);
    static int peek(MenuLevel level);
    static void reset();
};

// What the designer asks of the rest of the project.
struct MenuDesignerHooks {
    // The base name of the first form with an object of that name (without
    // regard to case), or none. Not quiet: it may report forms it cannot read.
    using FormObjectFinder = std::function<std::optional<std::string>(const std::string& name, bool quiet)>;
    // Finds and opens the declaration "function <name>;" in the project's
    // sources; reports itself when there is none. True when found.
    using InvokerSearch = std::function<bool(const std::string& name)>;
    // Whether the display-expression checker accepts the text. Unset: core's checker.
    using ExpressionCheck = std::function<bool(const std::string& text)>;

    FormObjectFinder formOfObject;
    MenuBarUserFinder frameOfMenuBar;
    InvokerSearch findInvoker;
    ExpressionCheck checkExpression;
};

class MenuBarDesigner {
public:
    static constexpr const char* kTitle = "MenuBars";
    static constexpr const char* kReadOnlyTitle = "MenuBars (read-only)";
    static constexpr const char* kInvalidExpression = "The display property expression is invalid.";
    static constexpr const char* kEmptyName = "The name can not be empty.";
    static constexpr const char* kUsedByBar = "The name is already used by MenuBar %s.";
    static constexpr const char* kUsedByTop = "The name is already used by MenuTop %s on MenuBar %s.";
    static constexpr const char* kUsedByItem = "The name is already used by MenuItem %s on MenuBar %s MenuTop %s.";
    static constexpr const char* kUsedOnForm = "The name is already used by an object on form %s.";
    static constexpr const char* kEnterInvokerName = "Please enter an invoker function name.";
    static constexpr const char* kBarName = "menubar%d";
    static constexpr const char* kTopName = "menutop%d";
    static constexpr const char* kItemName = "menuitem%d";

    // Works on a copy of `bars`.
    MenuBarDesigner(const MenuBarList& bars, Ui& ui, MenuDesignerHooks hooks = {});

    const MenuBarList& bars() const { return bars_; }
    bool exists(const MenuNode& node) const;
    // The node of the bar named `name` (without regard to case); the root when none.
    MenuNode findBar(const std::string& name) const;

    static MenuFieldStates fieldStates(MenuLevel level);
    // The stored fields of a node; the fields its level does not use are empty.
    MenuFields fields(const MenuNode& node) const;
    // The object's name, or empty for the root.
    std::string nameOf(const MenuNode& node) const;

    // Leaving a node with the fields as typed: the display expression, an
    // empty name and a changed name that is in use are refused with their
    // message; otherwise the fields are stored. False keeps the user on the
    // node. The root has nothing to check.
    bool leave(const MenuNode& node, const MenuFields& typed);

    // "New": a bar at the root, a top below a bar, an item below a top or
    // beside an item (appended to its top). The new object takes the first
    // default name that no object uses, with an empty plain display. Its node.
    MenuNode addNew(const MenuNode& selected);

    // The Delete key. A bar that a frame shows is refused with a message; a
    // top or an item always goes. True when the node was deleted.
    bool remove(const MenuNode& node);

    // Moves a top or an item to position `to` among its siblings (dragging
    // within its parent); a bar to position `to` among the bars. The node's
    // new position; the node itself when it cannot move.
    MenuNode move(const MenuNode& node, int to);

    // The invokes browse button: the invokes text trimmed, or the name; with
    // both empty "Please enter an invoker function name." (exclamation).
    // Otherwise the search runs. True when the declaration was found.
    bool browseInvokes(const MenuFields& typed);

private:
    // Where a name is used, as a message; none when it is free. `except` is
    // the object being renamed.
    std::optional<std::string> nameClash(const std::string& name, const void* except, bool quiet) const;
    const void* objectOf(const MenuNode& node) const;
    bool expressionValid(const std::string& text);

    MenuBarList bars_;
    Ui& ui_;
    MenuDesignerHooks hooks_;
};

// The text a handheld shows for a top or an item with these fields: the
// display, or for an expression its value; the name when the display is blank.
std::string menuShownText(const MenuFields& fields);

// How OK ended.
enum class MenuBarsApplied {
    Written,    // the project holds the edited menu bars and the file was written
    ReadOnly,   // the file is read-only: nothing changed
    Declined,   // the user kept the unreadable file: nothing changed
    NotWritten  // the project holds the edited bars; writing the file failed (reported)
};

// Whether the project's menu bar file exists and is read-only: the dialog
// then only shows the menu bars.
bool menuBarFileReadOnly(const ProjectModel& project);

// The question asked before OK replaces a menu bar file that could not be
// read when the project was opened.
inline constexpr const char* kReplaceUnreadMenuBars =
    "The MenuBar file %s could not be read when the project was opened.\r\n\nReplace it with the menu bars shown here?";

// OK: the project's menu bars become `bars` in their order, the project tree
// lists them, and the file is written at once. A file that could not be read
// at load is replaced only when the user agrees.
MenuBarsApplied applyMenuBars(ProjectModel& project, const MenuBarList& bars, Ui& ui,
                              std::time_t when = std::time(nullptr));

}  // namespace varn
