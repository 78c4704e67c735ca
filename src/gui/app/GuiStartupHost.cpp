#include "app/GuiStartupHost.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/CVarnIdeApp.h"

namespace varn {

bool GuiStartupHost::createMainFrame(VARNWorkspaceManager& manager) {
    frame_ = std::make_unique<CMainFrame>(manager, ui_, app_.settings());
    frame_->setWindowFonts(app_.fonts);
    ui_.setParentWindow(frame_.get());
    return true;
}

void GuiStartupHost::showMainWindow(bool maximizeDocument, bool /*showTip*/) {
    if (!frame_) return;
    if (maximizeDocument)
        if (QMdiSubWindow* active = frame_->mdiArea()->activeSubWindow()) active->showMaximized();
    frame_->show();
    frame_->activateWindow();
    frame_->updateCommands();
}

}  // namespace varn
