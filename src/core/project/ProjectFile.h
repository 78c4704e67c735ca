// Reader and writer of the "ProjectSettings" node of a project file: the
// settings in their key order, the relative paths of the project's files and
// the lists (forms, images, C files, project variables, watch lists,
// breakpoints, custom colours).
#pragma once

#include <string>

#include "project/ProjectModel.h"
#include "project/SettingsNode.h"

namespace varn {

class ProjectFile {
public:
    static constexpr const char* kRootName = "WorkState_v1";
    static constexpr const char* kSettingsNode = "ProjectSettings";

    // Loads the settings node into the model (tree, settings, lists). Missing
    // keys take their defaults; the project path must already be set.
    static void readSettings(const SettingsNode& node, ProjectModel& model);
    // Builds the settings node from the model, paths relative to `folder`.
    static SettingsNode writeSettings(const ProjectModel& model, const std::string& folder);

    // The project-variable escape rule: an entry holding backslash + quote has
    // its first such pair and its last two characters made plain quotes.
    static std::string unescapeProjectVar(const std::string& entry);
};

}  // namespace varn
