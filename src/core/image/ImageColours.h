// The two drawing colours of the image editor, shared by every image window:
// black on white for a monochrome image, the project's saved image colours
// for a colour image. Picked colours are snapped to the device palette and
// saved back into the project.
#pragma once

#include <array>
#include <cstdint>

#include "image/Rgb.h"

namespace varn {

enum class ColourSide { Foreground, Background };

class ImageColours {
public:
    // The device palette entries of the colour bar's twenty cells, and the
    // entry of its fixed swatch.
    static constexpr std::array<int, 20> kBarEntries = {0, 161, 212, 158, 107, 53,  104, 25, 24, 37,
                                                        6, 50,  165, 125, 210, 120, 95,  5,  90, 255};
    static constexpr int kFixedSwatchEntry = 229;

    // Where the colours of colour images are kept (the project settings,
    // packed 0x00BBGGRR); unbound, they are kept here only.
    void bind(std::uint32_t* savedForeground, std::uint32_t* savedBackground);

    // A monochrome image draws black on white; a colour image takes the saved colours.
    void activate(bool monochrome);
    bool monochrome() const { return monochrome_; }

    Rgb foreground() const { return foreground_; }
    Rgb background() const { return background_; }
    Rgb colour(ColourSide side) const { return side == ColourSide::Foreground ? foreground_ : background_; }

    // A colour the user picked (colour bar or dropper): snapped to the
    // palette, used at once and, for a colour image, saved.
    void pick(Rgb c, ColourSide side);

private:
    std::uint32_t ownForeground_ = 0;
    std::uint32_t ownBackground_ = 0xFFFFFF;
    std::uint32_t* savedForeground_ = &ownForeground_;
    std::uint32_t* savedBackground_ = &ownBackground_;
    bool monochrome_ = false;
    Rgb foreground_ = kBlack;
    Rgb background_ = kWhite;
};

}  // namespace varn
