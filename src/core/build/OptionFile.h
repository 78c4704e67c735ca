// The compiler's option file "varn_c.opt": target and screen options, the
// project variables as definitions, the icons and bitmaps as data lines, and
// the file lists of both passes, one entry a line.
#pragma once

#include <string>

#include "build/BuildPaths.h"
#include "platform/Result.h"

namespace varn {

struct ProjectModel;

class OptionFile {
public:
    static constexpr const char* kEmptyCreator =
        "The creator id can not be empty. Please enter one using the Project->Application Settings menu.";

    struct Output {
        std::string text;           // lines separated by "\n" (CR LF on disk)
        bool emptyCreator = false;  // stopped after the first line
    };

    // Builds the lines. `noBitmapSegments` suppresses "-enable_bitmap_segments".
    static Output build(const ProjectModel& project, const BuildPaths& paths, const BuildFlags& flags,
                        bool noBitmapSegments);
};

}  // namespace varn
