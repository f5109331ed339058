#include "imaging/nearest_color.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>

namespace zorbel::imaging {

namespace {

// Distance of one channel value to the levels lo..hi: smallest and largest.
int nearestDistance(int value, int lo, int hi) { return value < lo ? lo - value : value > hi ? value - hi : 0; }
int farthestDistance(int value, int lo, int hi) { return std::max(std::abs(value - lo), std::abs(value - hi)); }

std::array<int, 3> channels(const PaletteColor& e) { return {e.red, e.green, e.blue}; }

}  // namespace

NearestColorSearch::Level::Level(int cellBits) : bits(cellBits) {
    const size_t perAxis = size_t{256} >> bits;
    offset.assign(perAxis * perAxis * perAxis, kUnbuilt);
}

namespace {
// Entry numbers must fit the 22 bits of a list record.
constexpr size_t kMaxListedEntries = (size_t{1} << 22) - 1;
}  // namespace

NearestColorSearch::NearestColorSearch(std::vector<PaletteColor> entries)
    : entries_(std::move(entries)), everyEntry_(entries_.size()), slots_(small_.offset.size()) {
    std::iota(everyEntry_.begin(), everyEntry_.end(), 1);
    for (Slot& slot : slots_) slot.words[0] = kUnbuilt;
}

const uint32_t* NearestColorSearch::smallList(uint8_t red, uint8_t green, uint8_t blue) {
    Slot& slot = slots_[small_.cellOf(red, green, blue)];
    if (slot.words[0] != kUnbuilt) return slot.words[0] < 16 ? slot.words : small_.pool.data() + slot.words[1];
    // The large cell's entry numbers are all the small cell can need.
    const uint32_t* around = list(large_, red, green, blue, everyEntry_);
    scratch_.clear();
    for (uint32_t k = 1; k <= around[0]; ++k) scratch_.push_back(static_cast<int32_t>(around[k] >> 10));
    const uint32_t* built = list(small_, red, green, blue, scratch_);
    if (built[0] < 16) {
        std::copy(built, built + built[0] + 1, slot.words);
    } else {
        slot.words[0] = built[0];
        slot.words[1] = small_.offset[small_.cellOf(red, green, blue)];
    }
    return built;
}

const uint32_t* NearestColorSearch::list(Level& level, uint8_t red, uint8_t green, uint8_t blue,
                                         const std::vector<int32_t>& from) {
    const size_t cell = level.cellOf(red, green, blue);
    if (level.offset[cell] == kUnbuilt) {
        const int side = 1 << level.bits;
        const std::array<int, 3> colour = {red, green, blue};
        std::array<int, 3> lo, hi;
        for (int c = 0; c < 3; ++c) lo[c] = colour[c] >> level.bits << level.bits, hi[c] = lo[c] + side - 1;
        int bound = 765;
        for (int32_t i : from) {
            auto v = channels(entries_[static_cast<size_t>(i - 1)]);
            int farthest = 0;
            for (int c = 0; c < 3; ++c) farthest += farthestDistance(v[c], lo[c], hi[c]);
            bound = std::min(bound, farthest);
        }
        sorting_.clear();
        for (int32_t i : from) {
            auto v = channels(entries_[static_cast<size_t>(i - 1)]);
            int nearest = 0;
            for (int c = 0; c < 3; ++c) nearest += nearestDistance(v[c], lo[c], hi[c]);
            if (nearest <= bound) sorting_.emplace_back(nearest, i);
        }
        std::sort(sorting_.begin(), sorting_.end());
        level.offset[cell] = static_cast<uint32_t>(level.pool.size());
        level.pool.push_back(static_cast<uint32_t>(sorting_.size()));
        for (auto [nearest, i] : sorting_) level.pool.push_back(static_cast<uint32_t>(i) << 10 | static_cast<uint32_t>(nearest));
    }
    return level.pool.data() + level.offset[cell];
}

int32_t NearestColorSearch::linearSearch(uint8_t red, uint8_t green, uint8_t blue) const {
    int32_t best = 0;
    int bestDistance = 765;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const PaletteColor& e = entries_[i];
        const int d = std::abs(red - e.red) + std::abs(blue - e.blue) + std::abs(green - e.green);
        if (d < bestDistance) best = static_cast<int32_t>(i + 1), bestDistance = d;
    }
    return best;
}

int32_t NearestColorSearch::closestIndex(uint8_t red, uint8_t green, uint8_t blue) {
    if (entries_.size() > kMaxListedEntries) return linearSearch(red, green, blue);
    const uint32_t* inSlot = slots_[small_.cellOf(red, green, blue)].words;
    const uint32_t* candidates = inSlot[0] < 16 ? inSlot : smallList(red, green, blue);
    // The smallest (distance, entry number) pair wins; nothing at 765 or more counts, so the
    // result stays 0 unless an entry is nearer. Short lists are scanned whole without
    // branches (a data-dependent early exit costs more in mispredictions than it saves);
    // long ones stop at the first entry whose smallest distance to the cell exceeds the best
    // distance, as the list is ordered by it.
    constexpr uint32_t kNone = 765u << 22;
    uint32_t best = kNone;
    const uint32_t count = candidates[0];
    for (uint32_t k = 1; k <= count; ++k) {
        if (count >= 16 && (candidates[k] & 1023) > (best >> 22)) break;
        const uint32_t index = candidates[k] >> 10;
        const PaletteColor& e = entries_[index - 1];
        const uint32_t d = static_cast<uint32_t>(std::abs(red - e.red) + std::abs(blue - e.blue) + std::abs(green - e.green));
        best = std::min(best, d << 22 | index);
    }
    return best >= kNone ? 0 : static_cast<int32_t>(best & ((1u << 22) - 1));
}

}  // namespace zorbel::imaging
