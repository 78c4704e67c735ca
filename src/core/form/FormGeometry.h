// Geometry of a form: rectangles in designer pixels, the conversion between
// pixels and the project's display units ("VARNunits"), and the settings a
// form document takes from the project when it is made.
#pragma once

#include <cstdint>
#include <string>

namespace varn {

struct ProjectModel;

// A rectangle in designer pixels: left, top, right, bottom.
struct FormRect {
    int left = 0;
    int top = 0;
    int right = 1;
    int bottom = 1;

    int width() const;
    int height() const;
    // Moves the top-left corner to (x, y) keeping the size.
    void moveTo(int x, int y);
    bool operator==(const FormRect&) const = default;
};

// The control's rectangle and its selection-handle look (drawn by the GUI).
struct CVARNRectTracker {
    static constexpr int kHandleSize = 7;
    FormRect rect;
    int handleSize = kHandleSize;
    int style = 0;  // set by the designer: dominant or plain selection
    bool operator==(const CVARNRectTracker&) const = default;
};

// Integer helpers that never overflow on values read from a file.
int clampToInt(long long v);
int addClamped(int a, int b);
// The integer part of v + 0.5, kept inside the int range (NaN gives 0).
int roundHalfUp(double v);
// The integer part of v, kept inside the int range (NaN gives 0).
int clampToIntTrunc(double v);

// What a form document takes from the project when it is made.
struct FormEnvironment {
    static constexpr int kDefaultPixelSize = 480;

    // Form pixel size: the target device's screen.
    int pixelWidth = kDefaultPixelSize;
    int pixelHeight = kDefaultPixelSize;
    // Display size: the units positions are stored in.
    int displayWidth = 160;
    int displayHeight = 160;
    // The display size in force before the project's display size was last
    // changed; a file without a units line was written in it.
    int previousDisplayWidth = 160;
    int previousDisplayHeight = 160;
    // New-record colours.
    std::uint32_t defaultForeground = 0;
    std::uint32_t defaultBackground = 16777215;
    bool useSystemColours = true;
    // Fonts.
    bool useVARNFonts = false;
    std::string formFontName = "Arial Narrow";
    // Width of a vertical scroll bar in pixels (a system metric).
    int scrollBarWidth = 16;

    // The project's values: the form size pair of the active configuration's
    // target (480 by 480 when it is not set), the display size (the previous
    // one taken equal to it), the default colours and the font settings.
    static FormEnvironment fromProject(const ProjectModel& project);
};

// Designer pixels per unit, and the conversions both ways.
struct FormScale {
    float x = 1.0f;
    float y = 1.0f;

    // Pixel size divided by display size; a display size below 1 counts as
    // the pixel size (scale 1).
    static FormScale of(const FormEnvironment& env);

    // Pixels to units: integer part of (v / scale + 0.5).
    int unitsX(int pixels) const;
    int unitsY(int pixels) const;
    // Units to pixels with the scale as factor.
    int pixelsX(int units) const;
    int pixelsY(int units) const;
};

// Units to pixels with a factor: integer part of (u * factor + 0.5).
int unitsToPixels(int units, float factor);

}  // namespace varn
