#include "image/ImageColours.h"

#include "image/DevicePalette.h"

namespace varn {

void ImageColours::bind(std::uint32_t* savedForeground, std::uint32_t* savedBackground) {
    savedForeground_ = savedForeground ? savedForeground : &ownForeground_;
    savedBackground_ = savedBackground ? savedBackground : &ownBackground_;
}

void ImageColours::activate(bool monochrome) {
    monochrome_ = monochrome;
    if (monochrome) {
        foreground_ = kBlack;
        background_ = kWhite;
        return;
    }
    foreground_ = Rgb::fromPacked(*savedForeground_);
    background_ = Rgb::fromPacked(*savedBackground_);
}

void ImageColours::pick(Rgb c, ColourSide side) {
    const Rgb snapped = DevicePalette::palm().snap(c);
    (side == ColourSide::Foreground ? foreground_ : background_) = snapped;
    if (!monochrome_) (side == ColourSide::Foreground ? *savedForeground_ : *savedBackground_) = snapped.packed();
}

}  // namespace varn
