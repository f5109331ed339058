#pragma once
// The palette entry nearest to a colour, by the sum of the absolute channel differences, with
// the answers of the linear search: the lowest entry number among the nearest, 0 when the
// palette is empty or every entry is 765 away.
//
// The colour cube is cut into cells. The first query in a cell lists the entries that can be
// nearest to some colour of the cell: an entry whose smallest distance to the cell exceeds
// the smallest largest distance of any entry is farther than that entry from every colour of
// the cell, so it can never win or tie. The list is sorted by that smallest distance; a query
// scans it until the next entry's smallest distance exceeds the best distance found, and
// among equal distances keeps the lowest number. Cells come in two sizes: the lists of the
// small cells are drawn from the list of the large cell around them, which holds every entry
// that can be nearest anywhere in it.

#include <cstdint>
#include <vector>

#include "imaging/palette_file.hpp"

namespace zorbel::imaging {

class NearestColorSearch {
public:
    explicit NearestColorSearch(std::vector<PaletteColor> entries);

    int32_t closestIndex(uint8_t red, uint8_t green, uint8_t blue);
    // A hint that a query for about this colour follows soon.
    void prefetch(uint8_t red, uint8_t green, uint8_t blue) const {
        __builtin_prefetch(&slots_[small_.cellOf(red, green, blue)]);
    }
    const PaletteColor& entry(int32_t index) const { return entries_[static_cast<size_t>(index - 1)]; }

private:
    // A level of cells 2^bits levels wide. A cell's list sits in the level's pool at the
    // cell's offset: the count, then per candidate its entry number << 10 | its smallest
    // distance to the cell (below 1024).
    struct Level {
        int bits;
        std::vector<uint32_t> offset;  // kUnbuilt: not listed yet
        std::vector<uint32_t> pool;
        explicit Level(int cellBits);
        size_t cellOf(uint8_t red, uint8_t green, uint8_t blue) const {
            const size_t perAxis = size_t{256} >> bits;
            return ((size_t{red} >> bits) * perAxis + (size_t{green} >> bits)) * perAxis + (size_t{blue} >> bits);
        }
    };
    static constexpr uint32_t kUnbuilt = UINT32_MAX;

    // The list of the cell holding the colour, built from the given entry numbers.
    const uint32_t* list(Level& level, uint8_t red, uint8_t green, uint8_t blue, const std::vector<int32_t>& from);
    int32_t linearSearch(uint8_t red, uint8_t green, uint8_t blue) const;

    std::vector<PaletteColor> entries_;
    std::vector<int32_t> everyEntry_;
    // The cells a query looks in keep their list in one cache line of their own when it is
    // short enough (count, then up to 15 records), so that a query on a picture of many
    // colours costs one memory access; longer lists stay in the level's pool.
    struct alignas(64) Slot {
        uint32_t words[16];
    };
    const uint32_t* smallList(uint8_t red, uint8_t green, uint8_t blue);

    Level large_{5};
    Level small_{4};
    std::vector<Slot> slots_;
    std::vector<int32_t> scratch_;
    std::vector<std::pair<int32_t, int32_t>> sorting_;
};

}  // namespace zorbel::imaging
