// The build host of a batch build: no window, the build pane's text goes to
// standard output so that a build script shows what the compiler said.
#pragma once

#include "build/BuildHost.h"

namespace varn {

struct ProjectModel;
class Ui;

class ConsoleBuildHost : public BuildHost {
public:
    // The project and Ui the application settings are checked against.
    void attach(ProjectModel& project, Ui& ui) {
        project_ = &project;
        ui_ = &ui;
    }
    // Without a window the dialog counts as confirmed when its OK checks pass
    // (their messages go to standard error), and as cancelled otherwise.
    bool confirmApplicationSettings() override;
    void showBuildText(const std::string& text) override;
    void showBuildLog(const BuildLogResult& result) override;

private:
    ProjectModel* project_ = nullptr;
    Ui* ui_ = nullptr;
};

}  // namespace varn
