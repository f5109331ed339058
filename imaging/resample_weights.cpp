#include "imaging/resample_weights.hpp"

#include <cmath>

namespace zorbel::imaging {

std::vector<AxisSample> axisSamples(int32_t sourceSize, int32_t targetSize) {
    const float step = static_cast<float>(static_cast<double>(sourceSize - 1) / targetSize);
    std::vector<AxisSample> out(static_cast<size_t>(targetSize));
    for (int32_t i = 0; i < targetSize; ++i) {
        const float position = static_cast<float>(static_cast<double>(step) * i);
        const double whole = std::floor(static_cast<double>(position));
        const float fraction = static_cast<float>(static_cast<double>(position) - whole);
        const double scaled = static_cast<double>(fraction) * kWeightOne;
        const bool exact = scaled == std::floor(scaled);
        out[static_cast<size_t>(i)] = {static_cast<int32_t>(whole), exact ? static_cast<uint32_t>(scaled) : 0u,
                                       exact, fraction};
    }
    return out;
}

}  // namespace zorbel::imaging
