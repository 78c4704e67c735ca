// Opens, saves and closes projects: reads the project file into the one
// project model, writes it back, keeps the recent-projects list in the settings
// store and reloads the symbol list after every open.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"
#include "project/ProjectModel.h"
#include "project/SettingsNode.h"
#include "project/SymbolList.h"

namespace varn {

class Ui;
class SettingsStore;
class WorkspaceWindows;

class VARNWorkspaceManager {
public:
    static constexpr const char* kRegistryKey = "Workspace Manager";
    static constexpr const char* kRecentSection = "Workspace Manager\\Recent File List";
    static constexpr std::size_t kRecentMax = 8;
    static constexpr const char* kInvalidWorkspace = "Invalid workspace. Operation has been cancelled.";
    static constexpr const char* kCouldNotSave = "The project could not be saved.";

    VARNWorkspaceManager(Ui& ui, SettingsStore& settings, SymbolList& symbols, std::string installPath);

    ProjectModel& project() { return model_; }
    const ProjectModel& project() const { return model_; }
    const std::string& installPath() const { return installPath_; }
    // The symbol list the compiler last wrote (completion in the source views).
    SymbolList& symbols() { return symbols_; }
    void setWindows(WorkspaceWindows* windows) { windows_ = windows; }
    // Called after a project was opened and all of it was read (its build
    // configuration, watch lists and windows), so the window layer can follow it.
    void setOpenedHandler(std::function<void()> f) { opened_ = std::move(f); }

    // Opens a project file. An empty path asks with the "Open Workspace" dialog.
    bool openWorkspace(const std::string& path, bool quiet, bool projectPathGiven = false);
    // Saves the workspace. An empty path asks with the "Save Workspace" dialog.
    // A file that cannot be written is reported with the system's reason and
    // leaves the project modified; the result is then false.
    bool saveWorkspace(const std::string& path);
    bool saveCurrentWorkspace();
    // The bytes a save of the open project to its file would write now.
    std::string workspaceBytes() const;
    // The project's settings and lists as text, made without reading the
    // file: what tells whether the project changed since it was last looked at.
    std::string settingsText() const;
    // Takes the project's settings and lists from `bytes` (a copy of its file)
    // in place of the open project's; the project is then modified. False
    // when no project is open or the bytes are not a project file.
    bool restoreSettings(const std::string& bytes);
    // Opens the newest recent project, or asks for one when `prompt` is set.
    bool openRecent(bool prompt);
    // Path of the open workspace; empty when none is open.
    std::optional<std::string> currentWorkspaceName() const;
    void closeWorkspace();
    void loadSymbolList();

    std::vector<std::string> recentProjects() const;

    // The dialog filter and initial folder used by both dialogs.
    static std::string dialogFilter();
    std::string dialogFolder() const;

private:
    ProfileFile workspaceProfile(const std::string& path) const;
    void addRecent(const std::string& path);
    void removeRecent(const std::string& path);
    void setRecent(const std::vector<std::string>& list);

    Ui& ui_;
    SettingsStore& settings_;
    SymbolList& symbols_;
    std::string installPath_;
    WorkspaceWindows* windows_ = nullptr;
    std::function<void()> opened_;
    ProjectModel model_;
    // Window state read from the open project, written back when no window
    // layer supplies its own (a batch build keeps the user's layout).
    std::vector<SettingsNode> windowNodes_;
};

}  // namespace varn
