#include "build/HotSyncInstaller.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

namespace varn {

std::string FolderHotSyncInstaller::desktopFolder() {
    const char* home = std::getenv("XDG_CONFIG_HOME");
    std::string config = (home && *home) ? home : paths::join(std::getenv("HOME") ? std::getenv("HOME") : "/tmp", ".config");
    for (const char* company : {"Palm Computing", "U.S. Robotics"}) {
        SettingsStore store = SettingsStore::open(paths::join(paths::join(config, company), "Pilot Desktop.ini"));
        std::string path = store.getString("Core", "Path");
        if (!path.empty()) return paths::toNative(path);
    }
    return {};
}

std::vector<std::string> FolderHotSyncInstaller::users() {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder_.c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == ".." || !fsys::isDirectory(paths::join(folder_, name))) continue;
        names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

int FolderHotSyncInstaller::userCount() { return static_cast<int>(users().size()); }

std::string FolderHotSyncInstaller::userName(int index) {
    auto list = users();
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return {};
    return list[static_cast<std::size_t>(index)];
}

int FolderHotSyncInstaller::prepare(const std::string& user, const std::string&) {
    return fsys::createFolders(paths::join(paths::join(folder_, user), "Install")).ok() ? 0 : kInstallFailed;
}

int FolderHotSyncInstaller::install(const std::string& user, const std::string& file) {
    std::string queue = paths::join(paths::join(folder_, user), "Install");
    if (!fsys::isDirectory(queue)) return kInstallFailed;
    return fsys::copyFile(file, paths::join(queue, paths::fileName(file))).ok() ? 0 : kInstallFailed;
}

}  // namespace varn
