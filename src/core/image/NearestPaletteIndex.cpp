#include "image/NearestPaletteIndex.h"

#include <algorithm>

namespace varn {

namespace {

// Squared distance from a value to the interval [lo, hi], and to its far end.
int nearSq(int v, int lo, int hi) {
    int d = v < lo ? lo - v : (v > hi ? v - hi : 0);
    return d * d;
}
int farSq(int v, int lo, int hi) {
    int d = std::max(v - lo, hi - v);
    return d * d;
}

}  // namespace

NearestPaletteIndex::NearestPaletteIndex(const std::array<Rgb, 256>& entries)
    : entries_(entries), start_(static_cast<std::size_t>(kCells) * kCells * kCells, kUnset),
      count_(static_cast<std::size_t>(kCells) * kCells * kCells, 0),
      blocks_(static_cast<std::size_t>(kBlocks) * kBlocks * kBlocks) {
    for (int i = 0; i < 256; ++i) all_.push_back(static_cast<std::uint8_t>(i));
    cacheKey_.fill(0xFFFFFFFF);
}

void NearestPaletteIndex::candidatesFor(int r0, int g0, int b0, int size, const std::vector<std::uint8_t>& from,
                                        std::vector<std::uint8_t>& out) const {
    const int r1 = r0 + size - 1, g1 = g0 + size - 1, b1 = b0 + size - 1;
    // No colour of the box is farther from its nearest entry than `bound`.
    int bound = 1 << 30;
    for (std::uint8_t i : from) {
        const Rgb& e = entries_[i];
        bound = std::min(bound, farSq(e.r, r0, r1) + farSq(e.g, g0, g1) + farSq(e.b, b0, b1));
    }
    out.clear();
    for (std::uint8_t i : from) {  // `from` is in index order, so ties keep the lowest index first
        const Rgb& e = entries_[i];
        if (nearSq(e.r, r0, r1) + nearSq(e.g, g0, g1) + nearSq(e.b, b0, b1) <= bound) out.push_back(i);
    }
}

void NearestPaletteIndex::fillCell(std::size_t cell, int r0, int g0, int b0) {
    const int s = kCoarseShift;
    const std::size_t block = (static_cast<std::size_t>(r0 >> s) * kBlocks + static_cast<std::size_t>(g0 >> s)) * kBlocks +
                              static_cast<std::size_t>(b0 >> s);
    auto& seeds = blocks_[block];
    if (seeds.empty()) candidatesFor(r0 >> s << s, g0 >> s << s, b0 >> s << s, 1 << s, all_, seeds);
    candidatesFor(r0, g0, b0, 1 << kShift, seeds, scratch_);
    if (scratch_.size() > 255) {  // more candidates than the count holds: this cell uses the full scan
        start_[cell] = kFullScan;
        return;
    }
    start_[cell] = static_cast<std::uint32_t>(candidates_.size());
    count_[cell] = static_cast<std::uint8_t>(scratch_.size());
    candidates_.insert(candidates_.end(), scratch_.begin(), scratch_.end());
}

std::uint8_t NearestPaletteIndex::lookup(Rgb c) {
    const int r0 = c.r >> kShift, g0 = c.g >> kShift, b0 = c.b >> kShift;
    const std::size_t cell = (static_cast<std::size_t>(r0) * kCells + static_cast<std::size_t>(g0)) * kCells +
                             static_cast<std::size_t>(b0);
    if (start_[cell] == kUnset) fillCell(cell, r0 << kShift, g0 << kShift, b0 << kShift);
    int best = -1, bestDistance = 0;
    auto consider = [&](int i) {
        int d = colourDistance(c, entries_[static_cast<std::size_t>(i)]);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    };
    if (start_[cell] == kFullScan) {
        for (int i = 0; i < 256; ++i) consider(i);
    } else {
        const std::uint8_t* p = candidates_.data() + start_[cell];
        for (int k = 0; k < count_[cell]; ++k) consider(p[k]);
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace varn
