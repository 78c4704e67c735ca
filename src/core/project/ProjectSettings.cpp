#include "project/ProjectSettings.h"

namespace varn {

void ProjectSettings::applyRangeRules() {
    if (gridSpacing < 1) gridSpacing = 10;
    if (lastBitmapWidth < 1 || lastBitmapWidth > 1000) lastBitmapWidth = 32;
    if (lastBitmapHeight < 1 || lastBitmapHeight > 1000) lastBitmapHeight = 22;
}

}  // namespace varn
