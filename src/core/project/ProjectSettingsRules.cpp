#include "project/ProjectSettingsRules.h"

#include "image/DevicePalette.h"
#include "platform/FileSystem.h"

namespace varn {

ProjectSettingsFields ProjectSettingsRules::load(const ProjectSettings& s) {
    ProjectSettingsFields f;
    f.formFontName = s.formFontName;
    f.useVARNFonts = s.useVARNFonts;
    f.displayWidth = s.varnWidth;
    f.displayHeight = s.varnHeight;
    f.useSystemColors = s.useSystemColors;
    f.allow1BitColor = s.allow1BitColor;
    f.textColour = s.defaultForeGroundColor;
    f.backgroundColour = s.defaultBackGroundColor;
    return f;
}

std::string ProjectSettingsRules::title(const std::string& projectPath) {
    return fsys::isReadOnly(projectPath) ? kReadOnlyTitle : kTitle;
}

void ProjectSettingsRules::chooseFont(ProjectSettingsFields& f, ProjectSettings& s, const std::string& faceName) {
    f.formFontName = faceName;
    s.formFontName = faceName;
}

void ProjectSettingsRules::apply(const ProjectSettingsFields& f, ProjectModel& model, DisplaySize& previous,
                                 const ColourSnap& snap) {
    ProjectSettings& s = model.settings;
    if (s.useVARNFonts != f.useVARNFonts || s.formFontName != f.formFontName || s.varnWidth != f.displayWidth ||
        s.varnHeight != f.displayHeight)
        model.modified = true;

    s.useVARNFonts = f.useVARNFonts;
    s.formFontName = f.formFontName;
    previous = {s.varnWidth, s.varnHeight};
    s.varnWidth = f.displayWidth;
    s.varnHeight = f.displayHeight;
    s.allow1BitColor = f.allow1BitColor;
    s.useSystemColors = f.useSystemColors;

    auto snapped = [&](std::uint32_t c) { return snap ? snap(c) : DevicePalette::palm().snapPacked(c); };
    s.defaultForeGroundColor = snapped(f.textColour);
    s.defaultBackGroundColor = snapped(f.backgroundColour);
}

}  // namespace varn
