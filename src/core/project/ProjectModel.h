// The one project model of the process: identity of the open project, its
// settings, its file tree and its collections (project variables, watch lists,
// breakpoints, custom colours). Other subsystems read and write it directly;
// it reaches the disk when the workspace is saved.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "menubar/CMenuBar.h"
#include "project/ProjectSettings.h"
#include "project/ProjectTree.h"

namespace varn {

struct Breakpoint {
    int line = 0;
    std::string path;  // full native path
};

struct ProjectModel {
    static constexpr std::uint32_t kWhite = 16777215;
    static constexpr int kWatchLists = 3;

    std::string projectPath;  // full path of the open .vpj; empty when none
    bool workspaceOpen = false;
    bool modified = false;

    ProjectSettings settings;
    ProjectTree tree;
    // The active build configuration; the "Pilot" names are held as "PalmOS".
    std::string activeConfiguration;
    // The project file used a "Pilot" name: it is written back that way.
    bool legacyConfigurationName = false;

    std::vector<std::string> projectVars;
    std::array<std::vector<std::string>, kWatchLists> watchLists;
    std::vector<Breakpoint> breakpoints;
    std::array<std::uint32_t, 16> customColors = whiteColors();
    // The designer's display size before the project settings last changed it
    // (0: the same as the current one); form files without a units line were
    // written in it.
    int previousVarnWidth = 0;
    int previousVarnHeight = 0;
    // The project's menu bars, kept in "<project>_MenuBar.ini" beside the project file.
    MenuBarList menuBars;
    // The menu bar file was there but could not be read when the project was
    // opened: it is not replaced without asking.
    bool menuBarFileUnread = false;

    // Makes `name` the active configuration; an empty name selects "Windows Debug".
    void setActiveConfiguration(const std::string& name);

    // Folder of the project file (native, no trailing separator).
    std::string projectFolder() const;

    static std::array<std::uint32_t, 16> whiteColors() {
        std::array<std::uint32_t, 16> c;
        c.fill(kWhite);
        return c;
    }
};

}  // namespace varn
