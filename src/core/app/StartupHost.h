// What start-up needs of the window layer. Batch mode runs with the default
// host, which has no windows: every step that would show one does nothing.
#pragma once

namespace varn {

class CVarnCommandLineInfo;
class VARNWorkspaceManager;
class WorkspaceWindows;

class StartupHost {
public:
    virtual ~StartupHost() = default;
    // Brings an already running IDE to the front, handing it `file` (a full
    // path, or empty) to open; true when one was found.
    virtual bool activateOtherInstance(const std::string& /*file*/) { return false; }
    // Builds the main frame around the workspace manager; false on failure.
    virtual bool createMainFrame(VARNWorkspaceManager& /*manager*/) { return true; }
    virtual WorkspaceWindows* workspaceWindows() { return nullptr; }
    // The standard shell command of the command line (new document, open, print).
    virtual void processShellCommand(const CVarnCommandLineInfo& /*info*/) {}
    // Interactive start: show the main window (maximising the active document
    // window when asked), show the tip of the day when asked.
    virtual void showMainWindow(bool /*maximizeDocument*/, bool /*showTip*/) {}
    // Exit: the tip of the day's state when its window was created during this run.
    virtual bool tipState(int& /*currentTip*/, bool& /*showAtStartup*/) { return false; }
};

}  // namespace varn
