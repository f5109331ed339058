#pragma once
// The palette entry nearest to a colour, by the sum of the absolute channel differences, with
// the answers of the linear search: the lowest entry number among the nearest, 0 when the
// palette is empty or every entry is 765 away.
//
// The colour cube is cut into cells of 16 x 16 x 16 levels. The first query in a cell lists
// the entries that can be nearest to some colour of the cell: an entry whose smallest
// distance to the cell exceeds the smallest largest distance of any entry is farther than
// that entry from every colour of the cell, so it can never win or tie. A query then scans
// only its cell's list, in entry order.

#include <cstdint>
#include <vector>

#include "imaging/palette_file.hpp"

namespace zorbel::imaging {

class NearestColorSearch {
public:
    explicit NearestColorSearch(std::vector<PaletteColor> entries);

    int32_t closestIndex(uint8_t red, uint8_t green, uint8_t blue);
    const PaletteColor& entry(int32_t index) const { return entries_[static_cast<size_t>(index - 1)]; }

private:
    static constexpr int kCellBits = 4;
    static constexpr int kCellsPerAxis = 256 >> kCellBits;

    const std::vector<int32_t>& candidates(uint8_t red, uint8_t green, uint8_t blue);

    std::vector<PaletteColor> entries_;
    std::vector<std::vector<int32_t>> cells_;  // entry numbers per cell, in order
    std::vector<bool> built_;
};

}  // namespace zorbel::imaging
