// What the "Project Settings" dialog does with the project settings: the
// fields it loads, its title, which controls are enabled, and what OK writes
// back (with the previous display size kept so forms can be rescaled and the
// default colours snapped to the device palette). The dialog itself only binds
// these fields to its controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "project/ProjectModel.h"

namespace varn {

// Colour snapping: a packed 0x00BBGGRR colour to the nearest palette entry.
using ColourSnap = std::function<std::uint32_t(std::uint32_t)>;

struct ProjectSettingsFields {
    std::string formFontName;
    bool useVARNFonts = false;
    int displayWidth = 160;
    int displayHeight = 160;
    bool useSystemColors = true;
    bool allow1BitColor = false;
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0;
};

// The display size "VARNWidth"/"VARNHeight" had before the last OK of the
// dialog: the form designer rescales forms from it to the new size.
struct DisplaySize {
    int width = 160;
    int height = 160;
};

class ProjectSettingsRules {
public:
    static constexpr int kMinDisplay = 100;
    static constexpr int kMaxDisplay = 1000;
    static constexpr const char* kTitle = "Project Settings";
    static constexpr const char* kReadOnlyTitle = "Project Settings (read-only)";

    static ProjectSettingsFields load(const ProjectSettings& s);
    // The read-only title when the project file has the read-only attribute.
    static std::string title(const std::string& projectPath);

    static bool fontNameEnabled(const ProjectSettingsFields& f) { return !f.useVARNFonts; }
    static bool colourWellsEnabled(const ProjectSettingsFields& f) { return !f.useSystemColors; }
    static bool displaySizeInRange(int value) { return value >= kMinDisplay && value <= kMaxDisplay; }

    // The font dialog's choice goes into the field and at once into the settings.
    static void chooseFont(ProjectSettingsFields& f, ProjectSettings& s, const std::string& faceName);

    // OK: marks the project modified when the fonts or the display size
    // changed, keeps the old display size in `previous`, then stores the fields.
    // An empty `snap` uses the Palm device palette.
    static void apply(const ProjectSettingsFields& f, ProjectModel& model, DisplaySize& previous,
                      const ColourSnap& snap = {});
};

}  // namespace varn
