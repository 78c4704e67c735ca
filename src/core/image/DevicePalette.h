// The Palm OS 8-bit system palette of 256 colours. Drawing colours, default
// form colours and the colours of converted bitmaps are snapped to its
// nearest entry.
#pragma once

#include <array>
#include <cstdint>

#include "image/Rgb.h"

namespace varn {

class DevicePalette {
public:
    static constexpr int kSize = 256;

    DevicePalette();

    // The one palette of the process, built on first use.
    static const DevicePalette& palm();

    Rgb entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    const std::array<Rgb, kSize>& entries() const { return entries_; }

    // Index of the nearest entry (squared RGB distance); the lowest index wins a tie.
    int nearestIndex(Rgb c) const;
    Rgb snap(Rgb c) const { return entry(nearestIndex(c)); }
    // The same for a packed 0x00BBGGRR colour.
    std::uint32_t snapPacked(std::uint32_t packed) const { return snap(Rgb::fromPacked(packed)).packed(); }

private:
    std::array<Rgb, kSize> entries_{};
};

}  // namespace varn
