#include "app/GuiStartupHost.h"

namespace varn {

bool GuiStartupHost::createMainFrame(VARNWorkspaceManager& manager) {
    frame_ = std::make_unique<CMainFrame>(manager);
    ui_.setParentWindow(frame_.get());
    return true;
}

void GuiStartupHost::showMainWindow(bool /*maximizeDocument*/, bool /*showTip*/) {
    if (!frame_) return;
    frame_->show();
    frame_->activateWindow();
}

}  // namespace varn
