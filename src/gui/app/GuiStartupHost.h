// Start-up of the interactive IDE: creates the main frame and shows it.
#pragma once

#include <memory>

#include "app/CMainFrame.h"
#include "app/GuiUi.h"
#include "app/StartupHost.h"

namespace varn {

class GuiStartupHost : public StartupHost {
public:
    explicit GuiStartupHost(GuiUi& ui) : ui_(ui) {}

    bool createMainFrame(VARNWorkspaceManager& manager) override;
    void showMainWindow(bool maximizeDocument, bool showTip) override;

    CMainFrame* mainFrame() { return frame_.get(); }

private:
    GuiUi& ui_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace varn
