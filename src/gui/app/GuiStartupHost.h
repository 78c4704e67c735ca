// Start-up of the interactive IDE: the single-instance rule, the main frame
// around the workspace manager with its window state, showing it with the
// tip of the day, and the tip's state for shutdown.
#pragma once

#include <memory>

#include "app/CMainFrame.h"
#include "app/DocumentJournal.h"
#include "app/GuiUi.h"
#include "app/SingleInstance.h"
#include "app/StartupHost.h"

namespace varn {

class CVarnIdeApp;

class GuiStartupHost : public StartupHost {
public:
    // Message boxes of a GuiUi take the main frame as their parent.
    GuiStartupHost(Ui& ui, CVarnIdeApp& app, QString instanceName = SingleInstance::defaultServerName())
        : ui_(ui), app_(app), instance_(std::move(instanceName)) {}

    bool activateOtherInstance(const std::string& file) override;
    // A file named on the command line opens once the project is open.
    void processShellCommand(const CVarnCommandLineInfo& info) override;
    bool createMainFrame(VARNWorkspaceManager& manager) override;
    WorkspaceWindows* workspaceWindows() override;
    void showMainWindow(bool maximizeDocument, bool showTip) override;
    bool tipState(int& currentTip, bool& showAtStartup) override;

    CMainFrame* mainFrame() { return frame_.get(); }
    SingleInstance& instance() { return instance_; }

private:
    Ui& ui_;
    CVarnIdeApp& app_;
    SingleInstance instance_;
    std::unique_ptr<DocumentJournal> journal_;
    std::unique_ptr<CMainFrame> frame_;
    std::string shellFile_;
};

}  // namespace varn
