// What the image document needs of the open project: the settings that size
// new images and classify icons, and the project items a saved image file is
// registered as. The project model implements ImageProject.
#pragma once

#include <string>

namespace varn {

struct ImageProjectSettings {
    int formWidth = 160;  // the runtime form size, 160×160 or 320×320
    int formHeight = 160;
    int lastBitmapWidth = 32;      // "LastBitmapWidth"
    int lastBitmapHeight = 22;     // "LastBitmapHeight"
    int lastBitmapColorDepth = 0;  // "LastBitmapColorDepth": non-zero means monochrome
};

class ImageProject {
public:
    virtual ~ImageProject() = default;
    // Path of the first image item (bitmap, large icon or small icon, in list
    // order) whose base name equals name without regard to case; empty when none.
    virtual std::string imagePathByBaseName(const std::string& name) const = 0;
    virtual void addBitmapFile(const std::string& path) = 0;
    virtual void setLargeIcon(const std::string& path) = 0;  // the desktop icon
    virtual void setSmallIcon(const std::string& path) = 0;  // the list icon
    virtual void markModified() = 0;
};

}  // namespace varn
