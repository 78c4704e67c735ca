// The build host of the window: the build pane of the output bar, the pump
// that keeps the window alive while a tool runs, saving the project's open
// documents, the application settings dialog, the HotSync user list and the
// focus of the document area.
#pragma once

#include <functional>

#include "build/BuildHost.h"

class QWidget;

namespace varn {

class COutputControlBar;
class ProjectCommands;

class GuiBuildHost : public BuildHost {
public:
    GuiBuildHost(COutputControlBar& output, ProjectCommands& commands, QWidget& clientArea);

    void showBuildText(const std::string& text) override;
    void showBuildLog(const BuildLogResult& result) override;
    void pump() override;
    void buildStarted() override;
    void saveDocuments(bool ask, bool refreshIncludes) override;
    bool confirmApplicationSettings() override;
    void focusClientArea() override;
    std::optional<std::string> chooseHotSyncUser(const std::vector<std::string>& users,
                                                 const std::string& preselected) override;

    // Runs before the event queue is processed on each pump (the frame
    // refreshes its commands there).
    void setBeforePump(std::function<void()> f) { beforePump_ = std::move(f); }
    // Called when a compile starts (the frame clears the error marks).
    void setBuildStarted(std::function<void()> f) { buildStarted_ = std::move(f); }
    // The application settings dialog; without one the build goes on as confirmed.
    void setApplicationSettingsDialog(std::function<bool()> f) { applicationSettings_ = std::move(f); }
    // Replaces the HotSync user dialog (tests answer without a window).
    using UserChooser =
        std::function<std::optional<std::string>(const std::vector<std::string>&, const std::string&)>;
    void setUserChooser(UserChooser f) { userChooser_ = std::move(f); }

    int pumpCount() const { return pumps_; }

private:
    COutputControlBar& output_;
    ProjectCommands& commands_;
    QWidget& clientArea_;
    std::function<void()> beforePump_;
    std::function<void()> buildStarted_;
    std::function<bool()> applicationSettings_;
    UserChooser userChooser_;
    int pumps_ = 0;
};

}  // namespace varn
