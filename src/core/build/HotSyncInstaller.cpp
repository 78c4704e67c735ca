#include "build/HotSyncInstaller.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

namespace varn {

namespace {

std::string settingsFileOf(const char* company) {
    const char* home = std::getenv("XDG_CONFIG_HOME");
    std::string config = (home && *home) ? home : paths::join(std::getenv("HOME") ? std::getenv("HOME") : "/tmp", ".config");
    return paths::join(paths::join(config, company), "Pilot Desktop.ini");
}

constexpr const char* kCompanies[] = {"Palm Computing", "U.S. Robotics"};

}  // namespace

std::string FolderHotSyncInstaller::settingsFile() { return settingsFileOf(kCompanies[0]); }

std::string FolderHotSyncInstaller::desktopFolder() {
    for (const char* company : kCompanies) {
        std::string path = SettingsStore::open(settingsFileOf(company)).getString("Core", "Path");
        if (!path.empty()) return paths::toNative(path);
    }
    return {};
}

std::string FolderHotSyncInstaller::whereUsersAre() {
    const std::string desktop = folder();
    if (desktop.empty())
        return "The HotSync users are the folders of the Palm desktop folder, which is not set: "
               "give it as \"Path\" in the section [Core] of " + settingsFile() + ".";
    return "The HotSync users are the folders of " + desktop + "; none was found.";
}

std::vector<std::string> FolderHotSyncInstaller::users() {
    std::vector<std::string> names;
    const std::string desktop = folder();
    DIR* dir = ::opendir(desktop.c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == ".." || !fsys::isDirectory(paths::join(desktop, name))) continue;
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
    if (folder().empty()) return kInstallFailed;
    return fsys::createFolders(paths::join(paths::join(folder(), user), "Install")).ok() ? 0 : kInstallFailed;
}

int FolderHotSyncInstaller::install(const std::string& user, const std::string& file) {
    std::string queue = paths::join(paths::join(folder(), user), "Install");
    if (folder().empty() || !fsys::isDirectory(queue)) return kInstallFailed;
    return fsys::copyFile(file, paths::join(queue, paths::fileName(file))).ok() ? 0 : kInstallFailed;
}

}  // namespace varn
