// What a build needs of the window layer: the build pane, the pump that keeps
// the window alive while a tool runs, saving open documents, the application
// settings dialog and the focus. Batch mode supplies its own console host.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "build/BuildLogReader.h"

namespace varn {

class BuildHost {
public:
    virtual ~BuildHost() = default;
    // Replaces the build pane's text (empty: clear it).
    virtual void showBuildText(const std::string& /*text*/) {}
    // Shows a read log: its text, scrolled to the first line when the build
    // failed and to the end otherwise, with a horizontal scroll bar for its widest line.
    virtual void showBuildLog(const BuildLogResult& result) { showBuildText(result.paneText); }
    // Called every 200 ms while a tool runs.
    virtual void pump() {}
    // A compile starts: the marks of the last build's errors go.
    virtual void buildStarted() {}
    // Saves the modified documents of the project (asking first when `ask`),
    // then, when `refreshIncludes`, updates the include items of the tree.
    virtual void saveDocuments(bool /*ask*/, bool /*refreshIncludes*/) {}
    // Shows the application settings dialog; true when confirmed with OK.
    virtual bool confirmApplicationSettings() { return true; }
    virtual void focusClientArea() {}
    // The HotSync user list dialog: the chosen name, or nothing on Cancel.
    virtual std::optional<std::string> chooseHotSyncUser(const std::vector<std::string>& users,
                                                         const std::string& preselected) {
        (void)users;
        if (preselected.empty()) return std::nullopt;
        return preselected;
    }
};

}  // namespace varn
