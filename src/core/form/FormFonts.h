// The fonts of form controls: the device font keywords, the desktop faces,
// and the font the designer's preview is drawn with (the GUI makes the
// platform font from the FormFont; core never draws).
#pragma once

#include <array>
#include <string>

namespace varn {

struct FormFont {
    std::string face;
    int height = 0;  // pixels
    bool characterHeight = false;  // height is the character height, not the cell height
    int weight = 400;
    bool italic = false;
    int charSet = 0;  // 255: OEM character set
    bool fixedPitch = false;
    bool operator==(const FormFont&) const = default;
};

// The device font keywords as the property pane offers them.
inline constexpr std::array<const char*, 8> kDeviceFontChoices = {
    "StdFont", "BoldFont", "LargeFont", "LargeBoldFont", "Ledfont", "Symbolfont", "Symbol11font", "Symbol7font",
};

// True for an empty name and for the device font keywords (any case).
bool isDeviceFont(const std::string& fontName);
// True for an empty (or blank) name and "stdfont" in any case: the file omits the font line.
bool isStandardFont(const std::string& fontName);

// The preview font of a control: name, style and point size of the record,
// with the project's font settings and the form pixel height.
FormFont resolveFormFont(const std::string& fontName, const std::string& fontStyle, int fontSize,
                         bool useVARNFonts, const std::string& formFontName, int formPixelHeight);

}  // namespace varn
