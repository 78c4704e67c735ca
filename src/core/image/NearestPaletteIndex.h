// Exact nearest-entry lookup in a 256-colour palette for large images: the
// colour cube is cut into cells of 4 × 4 × 4 values, and each cell, on first
// use, keeps the few entries that can be nearest to any colour inside it.
// Gives the same index as a full scan (squared distance, lowest index on a tie).
// A small cache of recent colours answers the repeats of drawn artwork at once.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/Rgb.h"

namespace varn {

class NearestPaletteIndex {
public:
    explicit NearestPaletteIndex(const std::array<Rgb, 256>& entries);

    std::uint8_t operator()(Rgb c) {
        const std::uint32_t key = c.packed();
        const std::size_t slot = (key * 2654435761u) >> (32 - kCacheBits);
        if (cacheKey_[slot] == key) return cacheValue_[slot];
        const std::uint8_t index = lookup(c);
        cacheKey_[slot] = key;
        cacheValue_[slot] = index;
        return index;
    }

private:
    static constexpr int kCacheBits = 12;
    std::uint8_t lookup(Rgb c);
    static constexpr int kShift = 2;  // cells of 4 values per channel
    static constexpr int kCells = 256 >> kShift;
    static constexpr int kCoarseShift = 5;  // blocks of 32: their candidates seed the cells inside
    static constexpr int kBlocks = 256 >> kCoarseShift;

    // The entries that can be nearest inside the box, chosen from `from`.
    void candidatesFor(int r0, int g0, int b0, int size, const std::vector<std::uint8_t>& from,
                       std::vector<std::uint8_t>& out) const;
    void fillCell(std::size_t cell, int r0, int g0, int b0);

    std::array<Rgb, 256> entries_;
    // Per cell: the start of its candidates in candidates_, or kUnset.
    std::vector<std::uint32_t> start_;
    std::vector<std::uint8_t> count_;
    std::vector<std::uint8_t> candidates_;
    std::vector<std::vector<std::uint8_t>> blocks_;  // per block; empty until first used
    std::vector<std::uint8_t> all_;                  // 0..255
    std::vector<std::uint8_t> scratch_;
    static constexpr std::uint32_t kUnset = 0xFFFFFFFF;
    static constexpr std::uint32_t kFullScan = 0xFFFFFFFE;
    // Keys are packed colours (at most 0xFFFFFF), so the fill value matches none.
    std::array<std::uint32_t, 1 << kCacheBits> cacheKey_;
    std::array<std::uint8_t, 1 << kCacheBits> cacheValue_{};
};

}  // namespace varn
