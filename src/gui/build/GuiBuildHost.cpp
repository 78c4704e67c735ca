#include "build/GuiBuildHost.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include "build/COutputControlBar.h"
#include "build/CUserListDlg.h"
#include "project/ProjectCommands.h"

namespace varn {

GuiBuildHost::GuiBuildHost(COutputControlBar& output, ProjectCommands& commands, QWidget& clientArea)
    : output_(output), commands_(commands), clientArea_(clientArea) {}

void GuiBuildHost::showBuildText(const std::string& text) { output_.showBuildText(QString::fromStdString(text)); }

void GuiBuildHost::showBuildLog(const BuildLogResult& result) { output_.showBuildLog(result); }

void GuiBuildHost::pump() {
    ++pumps_;
    if (beforePump_) beforePump_();
    // Everything queued: repaints, input, timers. Commands that must not run
    // now are disabled by the busy flag, so input is safe to deliver.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void GuiBuildHost::buildStarted() {
    if (buildStarted_) buildStarted_();
}

void GuiBuildHost::saveDocuments(bool ask, bool refreshIncludes) {
    commands_.saveProjectSources(ask);
    if (refreshIncludes) commands_.scanIncludes();
}

bool GuiBuildHost::confirmApplicationSettings() { return applicationSettings_ ? applicationSettings_() : true; }

// The keys go back to the active document's view, else to the document area.
void GuiBuildHost::focusClientArea() {
    auto* area = qobject_cast<QMdiArea*>(&clientArea_);
    QMdiSubWindow* active = area ? area->activeSubWindow() : nullptr;
    if (active && active->widget()) active->widget()->setFocus();
    else clientArea_.setFocus();
}

std::optional<std::string> GuiBuildHost::chooseHotSyncUser(const std::vector<std::string>& users,
                                                           const std::string& preselected) {
    if (userChooser_) return userChooser_(users, preselected);
    CUserListDlg dlg(users, preselected, clientArea_.window());
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.chosen();
}

}  // namespace varn
