// The open project as the image document sees it: the sizes proposed for new
// images and icons, and the project items a saved image becomes.
#pragma once

#include "image/ImageProject.h"
#include "project/ProjectModel.h"

namespace varn {

class ProjectImages : public ImageProject {
public:
    explicit ProjectImages(ProjectModel& model) : model_(model) {}

    // The form size (the designer's display size) and the last bitmap size and depth.
    static ImageProjectSettings settingsOf(const ProjectModel& model);

    std::string imagePathByBaseName(const std::string& name) const override {
        return model_.tree.imagePathByBaseName(name);
    }
    void addBitmapFile(const std::string& path) override { model_.tree.addImageFile(path, true); }
    void setLargeIcon(const std::string& path) override { model_.tree.setLargeIcon(path); }
    void setSmallIcon(const std::string& path) override { model_.tree.setSmallIcon(path); }
    void markModified() override { model_.modified = true; }

private:
    ProjectModel& model_;
};

}  // namespace varn
