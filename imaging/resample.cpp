#include "imaging/resample.hpp"

#include <cmath>
#include <vector>

namespace zorbel::imaging {

namespace {

struct Sample {
    int32_t index;    // the lower neighbour
    double fraction;  // the 32-bit fraction, widened
};

// Sample positions for one axis: position = step x i as a 32-bit float.
std::vector<Sample> samplesFor(int32_t sourceSize, int32_t targetSize) {
    const float step = static_cast<float>(static_cast<double>(sourceSize - 1) / targetSize);
    std::vector<Sample> out(static_cast<size_t>(targetSize));
    for (int32_t i = 0; i < targetSize; ++i) {
        float position = static_cast<float>(static_cast<double>(step) * i);
        double whole = std::floor(static_cast<double>(position));
        float fraction = static_cast<float>(static_cast<double>(position) - whole);
        out[static_cast<size_t>(i)] = {static_cast<int32_t>(whole), fraction};
    }
    return out;
}

// Round to nearest, ties to even, for 0 <= v < 2^51: adding and removing 2^52 + 2^51 leaves
// the value rounded by the floating-point unit's default mode. Much cheaper than a library
// call per channel, and the same result as nearbyint in that range (the build does not use
// fast-math, so the two steps are not folded away).
inline double roundEven(double v) {
    constexpr double kMagic = 6755399441055744.0;
    return (v + kMagic) - kMagic;
}

inline uint8_t clampByte(double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

void resampleBilinear(const PixelBuffer& source, const PixelBuffer& target) {
    const std::vector<Sample> columns = samplesFor(source.width, target.width);
    const std::vector<Sample> rows = samplesFor(source.height, target.height);
    // The vertical step of each source column for the current target row, computed once and
    // shared by every target column that samples it.
    std::vector<double> blended(3 * static_cast<size_t>(source.width));
    for (int32_t i = 0; i < target.height; ++i) {
        const Sample& ry = rows[static_cast<size_t>(i)];
        const uint8_t* low = source.row(ry.index);
        const uint8_t* high = source.row(ry.index + 1);
        const double fy = ry.fraction, gy = 1.0 - ry.fraction;
        for (size_t k = 0; k < blended.size(); ++k) blended[k] = roundEven(gy * low[k] + fy * high[k]);
        uint8_t* out = target.row(i);
        for (int32_t j = 0; j < target.width; ++j) {
            const Sample& cx = columns[static_cast<size_t>(j)];
            const double* left = blended.data() + 3 * static_cast<size_t>(cx.index);
            const double fx = cx.fraction, gx = 1.0 - cx.fraction;
            for (size_t c = 0; c < 3; ++c)
                out[3 * static_cast<size_t>(j) + c] = clampByte(roundEven(gx * left[c] + fx * left[c + 3]));
        }
    }
}

}  // namespace zorbel::imaging
