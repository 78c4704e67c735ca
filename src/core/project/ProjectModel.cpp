#include "project/ProjectModel.h"

#include "platform/Paths.h"
#include "project/BuildConfiguration.h"

namespace varn {

void ProjectModel::setActiveConfiguration(const std::string& name) {
    activeConfiguration = name.empty() ? std::string(config::kWindowsDebug) : name;
}

std::string ProjectModel::projectFolder() const { return paths::folderOf(projectPath); }

}  // namespace varn
