// Fuzz target for the palette cell lookup: every colour gives exactly the
// full scan's answer on the device palette and on a palette of the input.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/DevicePalette.h"
#include "image/NearestPaletteIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const varn::Rgb colour{data[0], data[1], data[2]};
    const varn::DevicePalette& palm = varn::DevicePalette::palm();
    static varn::NearestPaletteIndex palmLookup(palm.entries());
    if (palmLookup(colour) != palm.nearestIndex(colour)) std::abort();

    // The rest of the input as palette entries, unused ones black.
    std::array<varn::Rgb, 256> entries{};
    for (std::size_t i = 0; i < entries.size() && 3 + 3 * i + 2 < size; ++i)
        entries[i] = varn::Rgb{data[3 + 3 * i], data[4 + 3 * i], data[5 + 3 * i]};
    varn::NearestPaletteIndex lookup(entries);
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; ++i) {
        const long dr = long(entries[i].r) - colour.r, dg = long(entries[i].g) - colour.g, db = long(entries[i].b) - colour.b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) best = i, bestDistance = d;
    }
    if (lookup(colour) != best) std::abort();
    return 0;
}
