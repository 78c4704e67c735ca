// The project's settings as the project file keeps them under
// "ProjectSettings", with their defaults, range rules and write order.
#pragma once

#include <cstdint>
#include <string>

namespace varn {

struct ProjectSettings {
    std::string creatorID;     // up to 8 hexadecimal digits, two per character
    std::string ppcCreatorID;  // the same form; missing: the value of creatorID
    std::string desktopName;
    std::string prcVersion;
    std::string prcType = "Application";
    std::string splashScreen;
    bool v2Compatibility = false;
    bool optimizedBuild = false;
    bool allow1BitColor = false;
    std::string formFontName = "Arial Narrow";
    int palmOSFormSizeX = 160;
    int palmOSFormSizeY = 160;
    int pocketPCFormSizeX = 240;
    int pocketPCFormSizeY = 320;
    int windowsFormSizeX = 320;
    int windowsFormSizeY = 320;
    int gridSpacing = 10;
    bool gridEnabled = false;
    bool snapToGrid = false;
    bool useVARNFonts = false;
    bool changeDBCreatorID = false;
    bool disableBeamApplication = false;
    bool enableApplicationBackup = false;
    bool enableSipResize = false;
    int lastBitmapWidth = 32;
    int lastBitmapHeight = 22;
    int varnWidth = 160;
    int varnHeight = 160;
    bool useSystemColors = true;
    std::uint32_t defaultForeGroundColor = 0;
    std::uint32_t defaultBackGroundColor = 16777215;
    std::uint32_t defaultImageForeGroundColor = 0;
    std::uint32_t defaultImageBackGroundColor = 16777215;
    int lastBitmapColorDepth = 0;

    // Replaces out-of-range values by their defaults (grid spacing below 1,
    // bitmap sizes outside 1..1000).
    void applyRangeRules();
};

}  // namespace varn
