#pragma once
// The kernel of the convolution filters: an odd size 3..9, entries indexed (iX, iY) from
// -half to +half (iX columns to the right, iY storage rows up), and the weight that divides
// the weighted sums. The presets of the filter types are built here.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorbel::imaging {

enum EFilterTypes : int32_t {
    _Min = 0,
    eBlur = 1,
    eBlurMore = 2,
    eSoften = 3,
    eSoftenMore = 4,
    eSharpen = 5,
    eSharpenMore = 6,
    eUnSharp = 7,
    eEmboss = 8,
    eMedian = 9,
    eMinimum = 10,
    eMaximum = 11,
    eCount = 12,
    eCustom = 13,
    _Max = 14,
};

struct FilterKernel {
    int32_t size = 0;
    int32_t half = 0;
    std::vector<int32_t> entries;  // empty until a size is set; (2 half + 1)^2 otherwise
    int32_t weight = 0;

    bool exists() const { return !entries.empty(); }
    int32_t side() const { return 2 * half + 1; }
    bool inRange(int32_t iX, int32_t iY) const;
    int32_t& at(int32_t iX, int32_t iY) { return entries[index(iX, iY)]; }
    int32_t at(int32_t iX, int32_t iY) const { return entries[index(iX, iY)]; }

    // A new kernel of zeros; the weight stays.
    void resize(int32_t newSize);

private:
    size_t index(int32_t iX, int32_t iY) const {
        return static_cast<size_t>(iX + half) * static_cast<size_t>(side()) + static_cast<size_t>(iY + half);
    }
};

// Sets the weight to 0, then builds the preset of the type; the types without a preset of
// their own keep the kernel as it is.
void buildPreset(FilterKernel& kernel, int32_t filterType);

}  // namespace zorbel::imaging
