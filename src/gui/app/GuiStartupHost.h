// Start-up of the interactive IDE: creates the main frame around the
// workspace manager and shows it.
#pragma once

#include <memory>

#include "app/CMainFrame.h"
#include "app/GuiUi.h"
#include "app/StartupHost.h"

namespace varn {

class CVarnIdeApp;

class GuiStartupHost : public StartupHost {
public:
    GuiStartupHost(GuiUi& ui, CVarnIdeApp& app) : ui_(ui), app_(app) {}

    bool createMainFrame(VARNWorkspaceManager& manager) override;
    void showMainWindow(bool maximizeDocument, bool showTip) override;

    CMainFrame* mainFrame() { return frame_.get(); }

private:
    GuiUi& ui_;
    CVarnIdeApp& app_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace varn
