#include "app/GuiStartupHost.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

#include <utility>

#include "app/CVarnIdeApp.h"
#include "app/WindowState.h"

namespace varn {

bool GuiStartupHost::activateOtherInstance(const std::string& file) {
    return instance_.activateOther(QString::fromStdString(file));
}

void GuiStartupHost::processShellCommand(const CVarnCommandLineInfo& info) { shellFile_ = info.fileName; }

bool GuiStartupHost::createMainFrame(VARNWorkspaceManager& manager) {
    frame_ = std::make_unique<CMainFrame>(manager, ui_, app_.settings());
    frame_->setApplication(&app_);
    journal_ = std::make_unique<DocumentJournal>(RecoveryJournal::defaultFolder());
    frame_->setDocumentJournal(journal_.get());
    frame_->setWindowFonts(app_.fonts);
    frame_->windowState().restoreDockLayout();
    if (auto* gui = dynamic_cast<GuiUi*>(&ui_)) gui->setParentWindow(frame_.get());
    // Later starts of the IDE hand over to this one. With several IDEs allowed
    // the first keeps the name and the others simply do not answer.
    instance_.listen([this] { if (frame_) bringToFront(*frame_); },
                     [this](const QString& file) { if (frame_) frame_->openFromShell(file.toStdString()); });
    return true;
}

WorkspaceWindows* GuiStartupHost::workspaceWindows() { return frame_ ? &frame_->windowState() : nullptr; }

void GuiStartupHost::showMainWindow(bool maximizeDocument, bool showTip) {
    if (!frame_) return;
    if (maximizeDocument)
        if (QMdiSubWindow* active = frame_->mdiArea()->activeSubWindow()) active->showMaximized();
    frame_->show();
    // Hidden and shown again so that its layout follows the restored docks.
    if (QToolBar* execute = frame_->executeToolBar(); execute->isVisible()) {
        execute->hide();
        execute->show();
    }
    if (!shellFile_.empty()) frame_->openFromShell(std::exchange(shellFile_, {}));
    // Work left by an IDE that ended without saving comes before the tip.
    journal_->offerRecovery(frame_->documentManager(), ui_);
    if (showTip) frame_->showTipOfDay();
    frame_->activateWindow();
    frame_->updateCommands();
}

bool GuiStartupHost::tipState(int& currentTip, bool& showAtStartup) {
    return frame_ && frame_->tipState(currentTip, showAtStartup);
}

}  // namespace varn
