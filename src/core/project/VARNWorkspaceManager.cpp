#include "project/VARNWorkspaceManager.h"

#include "app/Ui.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "menubar/ProjectMenuBars.h"
#include "platform/SettingsStore.h"
#include "project/ProjectCommands.h"
#include "project/ProjectFile.h"
#include "project/WorkspaceWindows.h"

namespace varn {

VARNWorkspaceManager::VARNWorkspaceManager(Ui& ui, SettingsStore& settings, SymbolList& symbols,
                                           std::string installPath)
    : ui_(ui), settings_(settings), symbols_(symbols), installPath_(std::move(installPath)) {}

std::string VARNWorkspaceManager::dialogFilter() {
    return "Workspaces (*.vpj)|*.vpj|All Files (*.*)|*.*||";
}

std::string VARNWorkspaceManager::dialogFolder() const {
    std::string current = settings_.getString("Settings", "CurrentDirectory");
    return current.empty() ? paths::join(installPath_, "samples") : current;
}

bool VARNWorkspaceManager::openWorkspace(const std::string& requested, bool quiet, bool /*projectPathGiven*/) {
    std::string path = requested;
    if (path.empty()) {
        auto chosen = ui_.openFile({"Open Workspace", dialogFilter(), dialogFolder(), "vpj", {}, false});
        if (!chosen) return false;
        path = *chosen;
    }
    path = fsys::resolveCase(paths::absolute(path));

    std::optional<SettingsNode> root;
    if (fsys::exists(path) && !fsys::isDirectory(path)) {
        auto profile = ProfileFile::load(path);
        if (profile) root = SettingsNode::load(*profile, ProjectFile::kRootName);
    }
    if (!root) {
        if (!quiet) ui_.error(kInvalidWorkspace);
        removeRecent(path);
        return false;
    }

    closeWorkspace();
    model_.tree.clear();
    model_.projectPath = path;
    if (const SettingsNode* node = root->child(ProjectFile::kSettingsNode)) ProjectFile::readSettings(*node, model_);
    // The derived items: the files the application and C files include.
    refreshIncludes(model_.tree, nullptr);
    model_.menuBarFileUnread = !loadMenuBars(model_.menuBars, model_.tree, menuBarFilePath(path), ui_);
    windowNodes_.clear();
    for (const auto& c : root->children())
        if (!paths::equalNoCase(c->name(), ProjectFile::kSettingsNode)) windowNodes_.push_back(*c);
    if (windows_) windows_->restoreWindowState(*root);
    fsys::changeDirectory(model_.projectFolder());

    model_.workspaceOpen = true;
    model_.modified = false;
    addRecent(path);
    loadSymbolList();
    if (opened_) opened_();
    return true;
}

// The project file as a save to `path` writes it: the window state and the
// settings node over what the file already holds.
ProfileFile VARNWorkspaceManager::workspaceProfile(const std::string& path) const {
    SettingsNode root(ProjectFile::kRootName);
    if (windows_) {
        windows_->saveWindowState(root, paths::folderOf(path));
    } else {
        for (const auto& n : windowNodes_) root.addChild(n.name()) = n;
    }
    root.addChild(ProjectFile::kSettingsNode) = ProjectFile::writeSettings(model_, paths::folderOf(path));
    auto profile = ProfileFile::load(path);
    ProfileFile file = profile ? std::move(*profile) : ProfileFile{};
    root.save(file);
    return file;
}

std::string VARNWorkspaceManager::workspaceBytes() const {
    return workspaceProfile(model_.projectPath).serialize();
}

std::string VARNWorkspaceManager::settingsText() const {
    SettingsNode root(ProjectFile::kRootName);
    root.addChild(ProjectFile::kSettingsNode) = ProjectFile::writeSettings(model_, model_.projectFolder());
    ProfileFile file;
    root.save(file);
    return file.serialize();
}

bool VARNWorkspaceManager::restoreSettings(const std::string& bytes) {
    if (!model_.workspaceOpen || model_.projectPath.empty()) return false;
    auto profile = ProfileFile::parse(bytes);
    if (!profile) return false;
    auto root = SettingsNode::load(*profile, ProjectFile::kRootName);
    const SettingsNode* node = root ? root->child(ProjectFile::kSettingsNode) : nullptr;
    if (!node) return false;
    model_.tree.clear();
    ProjectFile::readSettings(*node, model_);
    refreshIncludes(model_.tree, nullptr);
    // The menu bars live in their own file and stay as they are.
    for (const CMenuBar& bar : model_.menuBars) model_.tree.addMenuBar(bar.name);
    model_.modified = true;
    if (opened_) opened_();
    return true;
}

bool VARNWorkspaceManager::saveWorkspace(const std::string& requested) {
    std::string path = requested;
    if (path.empty()) {
        auto chosen = ui_.saveFile({"Save Workspace", dialogFilter(), dialogFolder(), "vpj", {}, false});
        if (!chosen) return false;
        path = *chosen;
    }
    path = paths::absolute(path);

    // A read-only project file, or one this user may not write, is left as it
    // is without a message.
    Status written;
    if (!fsys::isReadOnly(path) && (!fsys::exists(path) || fsys::isWritable(path)))
        written = workspaceProfile(path).save(path);

    // The model now belongs to this path even when it could not be written:
    // it stays modified, so a later save writes it there.
    if (!paths::equalNoCase(path, model_.projectPath)) {
        model_.projectPath = path;
        if (written) addRecent(path);
    }
    model_.workspaceOpen = true;
    if (!written) {
        ui_.error(std::string(kCouldNotSave) + "\n" + written.error().message);
        model_.modified = true;
        return false;
    }
    model_.modified = false;
    return true;
}

bool VARNWorkspaceManager::saveCurrentWorkspace() {
    if (model_.projectPath.empty()) return false;
    return saveWorkspace(model_.projectPath);
}

bool VARNWorkspaceManager::openRecent(bool prompt) {
    if (prompt) return openWorkspace({}, false);
    auto list = recentProjects();
    if (list.empty()) return false;
    return openWorkspace(list.front(), true);
}

std::optional<std::string> VARNWorkspaceManager::currentWorkspaceName() const {
    if (!model_.workspaceOpen || model_.projectPath.empty()) return std::nullopt;
    return model_.projectPath;
}

void VARNWorkspaceManager::closeWorkspace() {
    model_.projectPath.clear();
    model_.workspaceOpen = false;
    model_.menuBars.clear();
    model_.menuBarFileUnread = false;
    if (windows_) windows_->closeAllDocuments();
}

void VARNWorkspaceManager::loadSymbolList() { symbols_.load(model_.projectFolder(), installPath_, ui_); }

std::vector<std::string> VARNWorkspaceManager::recentProjects() const {
    std::vector<std::string> list;
    for (std::size_t i = 1; i <= kRecentMax; ++i) {
        std::string v = settings_.getString(kRecentSection, "File" + std::to_string(i));
        if (!v.empty()) list.push_back(v);
    }
    return list;
}

void VARNWorkspaceManager::setRecent(const std::vector<std::string>& list) {
    settings_.removeSection(kRecentSection);
    for (std::size_t i = 0; i < list.size() && i < kRecentMax; ++i)
        settings_.setString(kRecentSection, "File" + std::to_string(i + 1), list[i]);
}

void VARNWorkspaceManager::addRecent(const std::string& path) {
    auto list = recentProjects();
    std::erase_if(list, [&](const std::string& p) { return paths::equalNoCase(p, path); });
    list.insert(list.begin(), path);
    setRecent(list);
}

void VARNWorkspaceManager::removeRecent(const std::string& path) {
    auto list = recentProjects();
    std::erase_if(list, [&](const std::string& p) { return paths::equalNoCase(p, path); });
    setRecent(list);
}

}  // namespace varn
