// The project's menu bars on disk: the menu bar file beside the project file,
// loaded with the project, written on request, and the removal of one menu bar
// from the project tree.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "menubar/CMenuBar.h"

namespace varn {

class Ui;
class ProjectTree;

inline constexpr const char* kMenuBarReadOnly = "The file can not be saved because it is marked read-only";
inline constexpr const char* kMenuBarLoadError = "Error loading MenuBar file %s";

// The menu bar file of a project: its folder, its base name and "_MenuBar.ini".
std::string menuBarFilePath(const std::string& projectPath);

// Writes the whole file from `bars`. A read-only file is left alone with a
// stop box; false when nothing was written.
bool saveMenuBars(const MenuBarList& bars, const std::string& path, Ui& ui, std::time_t when = std::time(nullptr));

// Reads the file, when it exists, appending each menu bar read to `bars` and
// to the project tree. A malformed definition shows the load error with the
// path and ends loading, the bars read before it staying; false then. A
// missing file adds nothing and is no error.
bool loadMenuBars(MenuBarList& bars, ProjectTree& tree, const std::string& path, Ui& ui);

// The name of the first frame, over the project's forms in tree order, whose
// menu bar is the given one (without regard to case); none when no frame
// uses it. The form walk shows its own messages for forms it cannot open.
using MenuBarUserFinder = std::function<std::optional<std::string>(const std::string& menuBarName)>;

// "Remove Project Item" on a menu bar item of the tree. Refused with a message
// while a frame uses the menu bar. Otherwise the menu bar and its item go, the
// file is rewritten, and with the last menu bar gone the file is deleted
// unless it is read-only. True when the menu bar was removed.
bool removeMenuBar(MenuBarList& bars, ProjectTree& tree, int item, const std::string& projectPath,
                   const MenuBarUserFinder& findUser, Ui& ui, std::time_t when = std::time(nullptr));

}  // namespace varn
