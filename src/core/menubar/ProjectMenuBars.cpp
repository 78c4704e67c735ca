#include "menubar/ProjectMenuBars.h"

#include <algorithm>

#include "app/Ui.h"
#include "menubar/MenuBarFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/ProjectTree.h"

namespace varn {

std::string menuBarFilePath(const std::string& projectPath) {
    return paths::join(paths::folderOf(projectPath), paths::baseName(projectPath) + "_MenuBar.ini");
}

bool saveMenuBars(const MenuBarList& bars, const std::string& path, Ui& ui, std::time_t when) {
    if (fsys::exists(path) && fsys::isReadOnly(path)) {
        ui.error(kMenuBarReadOnly);
        return false;
    }
    Status written = fsys::writeFileAtomic(path, writeMenuBarFile(bars, paths::fileName(path), when));
    if (!written) {
        ui.error(written.error().message);
        return false;
    }
    return true;
}

bool loadMenuBars(MenuBarList& bars, ProjectTree& tree, const std::string& path, Ui& ui) {
    if (!fsys::exists(path)) return true;
    Result<std::string> bytes = fsys::readFile(path);
    if (!bytes) {
        ui.error(fillMenuMessage(kMenuBarLoadError, {path}));
        return false;
    }
    MenuBarReadResult read = readMenuBarFile(*bytes);
    for (CMenuBar& bar : read.bars) {
        tree.addMenuBar(bar.name);
        bars.push_back(std::move(bar));
    }
    if (!read.complete) ui.error(fillMenuMessage(kMenuBarLoadError, {path}));
    return read.complete;
}

bool removeMenuBar(MenuBarList& bars, ProjectTree& tree, int item, const std::string& projectPath,
                   const MenuBarUserFinder& findUser, Ui& ui, std::time_t when) {
    const PROJECT_ITEM* record = tree.find(item);
    if (!record || record->kind != ItemKind::MenuBar) return false;
    const std::string name = record->path;
    if (findUser) {
        if (std::optional<std::string> frame = findUser(name)) {
            ui.error(fillMenuMessage(kMenuBarInUse, {name, *frame}));
            return false;
        }
    }
    auto it = std::find_if(bars.begin(), bars.end(),
                           [&](const CMenuBar& bar) { return paths::equalNoCase(bar.name, name); });
    if (it != bars.end()) bars.erase(it);
    tree.remove(item);
    // A second bar of the same name (from a hand-made file) keeps its item.
    if (findMenuBar(bars, name)) tree.addMenuBar(name);

    const std::string path = menuBarFilePath(projectPath);
    saveMenuBars(bars, path, ui, when);
    if (bars.empty() && fsys::exists(path) && !fsys::isReadOnly(path)) fsys::removeFile(path);
    return true;
}

}  // namespace varn
