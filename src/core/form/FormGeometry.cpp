#include "form/FormGeometry.h"

#include <climits>
#include <cmath>

#include "project/BuildConfiguration.h"
#include "project/ProjectModel.h"

namespace varn {

int FormRect::width() const { return clampToInt(static_cast<long long>(right) - left); }
int FormRect::height() const { return clampToInt(static_cast<long long>(bottom) - top); }

void FormRect::moveTo(int x, int y) {
    const int w = width();
    const int h = height();
    left = x;
    top = y;
    right = addClamped(x, w);
    bottom = addClamped(y, h);
}

int clampToInt(long long v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

int addClamped(int a, int b) { return clampToInt(static_cast<long long>(a) + b); }

int roundHalfUp(double v) { return clampToIntTrunc(v + 0.5); }

int clampToIntTrunc(double r) {
    if (std::isnan(r)) return 0;
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);  // truncation toward zero, as the integer part
}

FormEnvironment FormEnvironment::fromProject(const ProjectModel& project) {
    const ProjectSettings& s = project.settings;
    FormEnvironment env;
    int w = 0;
    int h = 0;
    switch (platformOf(project.activeConfiguration)) {
        case TargetPlatform::PalmOS: w = s.palmOSFormSizeX; h = s.palmOSFormSizeY; break;
        case TargetPlatform::PocketPC: w = s.pocketPCFormSizeX; h = s.pocketPCFormSizeY; break;
        case TargetPlatform::Windows: w = s.windowsFormSizeX; h = s.windowsFormSizeY; break;
    }
    if (w > 0 && h > 0) {
        env.pixelWidth = w;
        env.pixelHeight = h;
    }
    env.displayWidth = s.varnWidth;
    env.displayHeight = s.varnHeight;
    env.previousDisplayWidth = project.previousVarnWidth > 0 ? project.previousVarnWidth : s.varnWidth;
    env.previousDisplayHeight = project.previousVarnHeight > 0 ? project.previousVarnHeight : s.varnHeight;
    env.defaultForeground = s.defaultForeGroundColor;
    env.defaultBackground = s.defaultBackGroundColor;
    env.useSystemColours = s.useSystemColors;
    env.useVARNFonts = s.useVARNFonts;
    env.formFontName = s.formFontName;
    return env;
}

FormScale FormScale::of(const FormEnvironment& env) {
    FormScale s;
    if (env.displayWidth > 0 && env.pixelWidth > 0)
        s.x = static_cast<float>(env.pixelWidth) / static_cast<float>(env.displayWidth);
    if (env.displayHeight > 0 && env.pixelHeight > 0)
        s.y = static_cast<float>(env.pixelHeight) / static_cast<float>(env.displayHeight);
    return s;
}

int FormScale::unitsX(int pixels) const { return roundHalfUp(static_cast<float>(pixels) / x); }
int FormScale::unitsY(int pixels) const { return roundHalfUp(static_cast<float>(pixels) / y); }
int FormScale::pixelsX(int units) const { return unitsToPixels(units, x); }
int FormScale::pixelsY(int units) const { return unitsToPixels(units, y); }

int unitsToPixels(int units, float factor) {
    return roundHalfUp(static_cast<double>(static_cast<float>(units) * factor));
}

}  // namespace varn
