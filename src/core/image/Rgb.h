// A 24-bit colour as red, green and blue bytes, with the conversions to and
// from the packed 0x00BBGGRR form in which the project keeps its colours.
#pragma once

#include <cstdint>

namespace varn {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;

    // 0x00BBGGRR
    constexpr std::uint32_t packed() const {
        return std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16);
    }
    static constexpr Rgb fromPacked(std::uint32_t v) {
        return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
                static_cast<std::uint8_t>((v >> 16) & 0xFF)};
    }
    // 0xRRGGBB, the order in which colours are usually written down.
    static constexpr Rgb fromHex(std::uint32_t v) {
        return {static_cast<std::uint8_t>((v >> 16) & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
                static_cast<std::uint8_t>(v & 0xFF)};
    }
    constexpr std::uint32_t hex() const {
        return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | std::uint32_t{b};
    }
};

inline constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
inline constexpr Rgb kBlack{0, 0, 0};

// Squared distance in RGB space: the measure for every nearest-colour choice.
inline constexpr int colourDistance(const Rgb& a, const Rgb& b) {
    int dr = int{a.r} - int{b.r};
    int dg = int{a.g} - int{b.g};
    int db = int{a.b} - int{b.b};
    return dr * dr + dg * dg + db * db;
}

}  // namespace varn
