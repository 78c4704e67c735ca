// What the workspace manager needs of the window layer: the window state it
// stores in the project file ("MainFrame", "Frames" and the docking layout),
// and closing the open documents when a workspace closes.
#pragma once

#include <string>

#include "project/SettingsNode.h"

namespace varn {

class WorkspaceWindows {
public:
    virtual ~WorkspaceWindows() = default;
    // Adds the docking-layout nodes, "Frames" and "MainFrame" to `root`, in that
    // order. Document paths are written relative to `projectFolder`, the folder
    // of the project file being written (a Save As may change it).
    virtual void saveWindowState(SettingsNode& root, const std::string& projectFolder) = 0;
    // Reopens the document windows and places the main window from `root`.
    virtual void restoreWindowState(const SettingsNode& root) = 0;
    virtual void closeAllDocuments() = 0;
};

}  // namespace varn
