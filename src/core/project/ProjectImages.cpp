#include "project/ProjectImages.h"

namespace varn {

ImageProjectSettings ProjectImages::settingsOf(const ProjectModel& model) {
    const ProjectSettings& s = model.settings;
    ImageProjectSettings out;
    out.formWidth = s.varnWidth;
    out.formHeight = s.varnHeight;
    out.lastBitmapWidth = s.lastBitmapWidth;
    out.lastBitmapHeight = s.lastBitmapHeight;
    out.lastBitmapColorDepth = s.lastBitmapColorDepth;
    return out;
}

}  // namespace varn
