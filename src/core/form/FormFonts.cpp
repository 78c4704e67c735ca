#include "form/FormFonts.h"

#include "form/FormGeometry.h"
#include "form/FormText.h"
#include "platform/Paths.h"

namespace varn {

namespace {

enum class Size { Std, Bold, Large };

struct DeviceFont {
    const char* keyword;
    const char* varnFace;
    double heightFactor;  // of the form pixel height, with VARN fonts
    int charSet;
    Size size;            // height class without VARN fonts
    int weight;           // without VARN fonts
};

constexpr DeviceFont kDeviceFonts[] = {
    {"stdfont", "VARNstd", 0.06875, 0, Size::Std, 400},
    {"boldfont", "VARNbold", 0.06875, 0, Size::Bold, 900},
    {"largefont", "VARNlarge", 0.09375, 0, Size::Large, 400},
    {"largeboldfont", "VARNlarge", 0.09375, 0, Size::Large, 900},
    {"ledfont", "VARNled", 0.09375, 0, Size::Large, 400},
    {"Symbolfont", "VARNsym", 0.06875, 255, Size::Std, 400},
    {"Symbol11font", "VARNsym11", 0.06875, 0, Size::Std, 400},
    {"Symbol7font", "VARNsymbol7", 0.05, 0, Size::Std, 400},
};

const DeviceFont* findDeviceFont(const std::string& name) {
    const std::string n = trimBlanks(name);
    if (n.empty()) return &kDeviceFonts[0];
    for (const DeviceFont& f : kDeviceFonts)
        if (paths::equalNoCase(n, f.keyword)) return &f;
    return nullptr;
}

// Character heights without VARN fonts, by form pixel height 160, 320, 480.
int deviceHeight(Size size, int formPixelHeight) {
    static constexpr int kStd[] = {11, 23, 33};
    static constexpr int kBold[] = {10, 23, 33};
    static constexpr int kLarge[] = {15, 29, 44};
    const int* table = size == Size::Std ? kStd : size == Size::Bold ? kBold : kLarge;
    switch (formPixelHeight) {
        case 160: return table[0];
        case 320: return table[1];
        case 480: return table[2];
        default: break;
    }
    const double factor = size == Size::Large ? 0.09375 : 0.06875;
    return clampToIntTrunc(formPixelHeight * factor);
}

}  // namespace

bool isDeviceFont(const std::string& fontName) { return findDeviceFont(fontName) != nullptr; }

bool isStandardFont(const std::string& fontName) {
    const std::string n = trimBlanks(fontName);
    return n.empty() || paths::equalNoCase(n, "stdfont");
}

FormFont resolveFormFont(const std::string& fontName, const std::string& fontStyle, int fontSize,
                         bool useVARNFonts, const std::string& formFontName, int formPixelHeight) {
    FormFont font;
    if (const DeviceFont* d = findDeviceFont(fontName)) {
        if (useVARNFonts) {
            font.face = d->varnFace;
            font.height = clampToIntTrunc(formPixelHeight * d->heightFactor);
            font.charSet = d->charSet;
        } else {
            font.face = formFontName;
            font.height = deviceHeight(d->size, formPixelHeight);
            font.characterHeight = true;
            font.weight = d->weight;
        }
        return font;
    }
    const std::string style = trimBlanks(fontStyle);
    font.face = trimBlanks(fontName);
    font.height = fontSize != 0 ? fontSize : deviceHeight(Size::Std, formPixelHeight);
    font.characterHeight = true;
    font.weight = (style == "Bold" || style == "Bold Italic") ? 700 : 400;
    font.italic = style == "Italic" || style == "Bold Italic";
    font.fixedPitch = true;
    return font;
}

}  // namespace varn
