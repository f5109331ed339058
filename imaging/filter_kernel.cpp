#include "imaging/filter_kernel.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace zorbel::imaging {

namespace {

int32_t sumOf(const FilterKernel& kernel) { return std::accumulate(kernel.entries.begin(), kernel.entries.end(), 0); }

void fill(FilterKernel& kernel, int32_t size, int32_t value) {
    kernel.resize(size);
    for (int32_t& entry : kernel.entries) entry = value;
}

// Rings falling off from the centre by one per step; the centre is size x (size / 2),
// rounded to even.
void soften(FilterKernel& kernel, int32_t size) {
    kernel.resize(size);
    const int32_t h = kernel.half;
    for (int32_t iX = -h; iX <= h; ++iX)
        for (int32_t iY = -h; iY <= h; ++iY) kernel.at(iX, iY) = h - std::max(std::abs(iX), std::abs(iY)) + 1;
    kernel.at(0, 0) = static_cast<int32_t>(std::nearbyint(size * (size / 2.0)));
}

}  // namespace

bool FilterKernel::inRange(int32_t iX, int32_t iY) const {
    return exists() && iX >= -half && iX <= half && iY >= -half && iY <= half;
}

void FilterKernel::resize(int32_t newSize) {
    size = newSize;
    half = newSize / 2;
    entries.assign(static_cast<size_t>(side()) * static_cast<size_t>(side()), 0);
}

void buildPreset(FilterKernel& kernel, int32_t filterType) {
    kernel.weight = 0;
    switch (filterType) {
        case eBlur: fill(kernel, 3, 1); break;
        case eBlurMore: fill(kernel, 5, 1); break;
        case eSoften: soften(kernel, 3); break;
        case eSoftenMore: soften(kernel, 5); break;
        case eSharpen:
            fill(kernel, 3, -1);
            kernel.at(0, 0) = 15;
            break;
        case eSharpenMore:
            kernel.resize(3);
            kernel.at(0, 0) = 5;
            kernel.at(-1, 0) = kernel.at(1, 0) = kernel.at(0, -1) = kernel.at(0, 1) = -1;
            break;
        case eEmboss:
            kernel.resize(3);
            kernel.at(-1, -1) = -1;
            kernel.at(1, 1) = 1;
            kernel.weight = 1;  // the entries sum to 0: the weight is not their sum
            return;
        default: return;  // no preset: kernel and size stay, weight 0
    }
    kernel.weight = sumOf(kernel);
}

}  // namespace zorbel::imaging
