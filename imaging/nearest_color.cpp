#include "imaging/nearest_color.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zorbel::imaging {

namespace {

// Distance of one channel value to the levels lo..hi: smallest and largest.
int nearestDistance(int value, int lo, int hi) { return value < lo ? lo - value : value > hi ? value - hi : 0; }
int farthestDistance(int value, int lo, int hi) { return std::max(std::abs(value - lo), std::abs(value - hi)); }

}  // namespace

NearestColorSearch::NearestColorSearch(std::vector<PaletteColor> entries)
    : entries_(std::move(entries)),
      cells_(kCellsPerAxis * kCellsPerAxis * kCellsPerAxis),
      built_(cells_.size(), false) {}

const std::vector<int32_t>& NearestColorSearch::candidates(uint8_t red, uint8_t green, uint8_t blue) {
    const int cr = red >> kCellBits, cg = green >> kCellBits, cb = blue >> kCellBits;
    const size_t cell = (static_cast<size_t>(cr) * kCellsPerAxis + cg) * kCellsPerAxis + cb;
    std::vector<int32_t>& list = cells_[cell];
    if (built_[cell]) return list;
    const int size = 1 << kCellBits;
    const int lo[3] = {cr * size, cg * size, cb * size};
    const int hi[3] = {lo[0] + size - 1, lo[1] + size - 1, lo[2] + size - 1};
    auto channels = [](const PaletteColor& e) { return std::array<int, 3>{e.red, e.green, e.blue}; };
    int bound = 765;
    for (const PaletteColor& e : entries_) {
        auto v = channels(e);
        int farthest = 0;
        for (int c = 0; c < 3; ++c) farthest += farthestDistance(v[c], lo[c], hi[c]);
        bound = std::min(bound, farthest);
    }
    for (size_t i = 0; i < entries_.size(); ++i) {
        auto v = channels(entries_[i]);
        int nearest = 0;
        for (int c = 0; c < 3; ++c) nearest += nearestDistance(v[c], lo[c], hi[c]);
        if (nearest <= bound) list.push_back(static_cast<int32_t>(i + 1));
    }
    built_[cell] = true;
    return list;
}

int32_t NearestColorSearch::closestIndex(uint8_t red, uint8_t green, uint8_t blue) {
    int32_t best = 0;
    int bestDistance = 765;
    for (int32_t i : candidates(red, green, blue)) {
        const PaletteColor& e = entries_[static_cast<size_t>(i - 1)];
        const int d = std::abs(red - e.red) + std::abs(blue - e.blue) + std::abs(green - e.green);
        if (d == 0) return i;
        if (d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

}  // namespace zorbel::imaging
