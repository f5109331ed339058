#pragma once
// Sample positions and weights of one resampling axis.
//
// Position i is step x i as a 32-bit float; its lower neighbour is floor(position) and its
// weight the 32-bit fraction. Every fraction of a position of at least 1 is a multiple of
// 2^-23, so (1 - f) x a + f x b rounds exactly like (a x 2^23 + (b - a) x F) / 2^23 with the
// integer F = f x 2^23, which stays inside 32 bits for bytes. Only fractions of positions
// below 1 can be finer; those samples keep the double-precision formula.

#include <cstdint>
#include <vector>

namespace zorbel::imaging {

inline constexpr int kWeightBits = 23;
inline constexpr uint32_t kWeightOne = uint32_t{1} << kWeightBits;

struct AxisSample {
    int32_t index;    // lower neighbour
    uint32_t weight;  // fraction x 2^23 when exact, else 0
    bool exact;       // the fraction is a multiple of 2^-23
    double fraction;  // the 32-bit fraction, widened
};

std::vector<AxisSample> axisSamples(int32_t sourceSize, int32_t targetSize);

}  // namespace zorbel::imaging
