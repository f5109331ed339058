#pragma once
// The last step of a weighted sum: value = sum / weight truncated toward zero, then clamped
// to 0..255, done without a division per byte. Only the sums that can give 1..254 need a real
// quotient: with n = clamp(sign(weight) x sum, 0, 256 |weight| - 1) the value is n / |weight|,
// found exactly by a multiply and a shift (16-bit sums) or by a single-precision multiply
// whose error stays below the distance to the next whole quotient (32-bit sums, weights up
// to 4096).

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace zorbel::imaging {

struct ByteDivider {
    int32_t sign;       // +1 or -1, the sign of the weight
    int64_t divisor;    // |weight|, at least 1
    int64_t limit;      // 256 |weight| - 1: every n at or above it gives 255
    // 16-bit sums (|sum| < 2^15): n / divisor = (n * magic) >> shift for every n < 2^15.
    uint32_t magic16;
    uint32_t shift16;
    int32_t cap16;      // min(limit, 32767)
    // 32-bit sums: n / divisor = int(n * reciprocal + halfReciprocal) when floatExact.
    float reciprocal;
    float halfReciprocal;
    bool floatExact;

    explicit ByteDivider(int32_t weight) {
        const int64_t w = weight;
        sign = w < 0 ? -1 : 1;
        const int64_t d = std::llabs(w);
        divisor = d;
        limit = 256 * d - 1;
        uint32_t ceilLog2 = 0;
        while ((int64_t{1} << ceilLog2) < d) ++ceilLog2;
        shift16 = 15 + std::min<uint32_t>(ceilLog2, 16);
        magic16 = d >= 65536 ? 0 : static_cast<uint32_t>(((int64_t{1} << shift16) + d - 1) / d);
        cap16 = static_cast<int32_t>(std::min<int64_t>(limit, 32767));
        floatExact = d <= 4096;
        reciprocal = static_cast<float>(1.0 / static_cast<double>(d));
        halfReciprocal = static_cast<float>(0.5 / static_cast<double>(d));
    }

    // The plain computation, for any sum.
    uint8_t operator()(int64_t sum) const {
        const int64_t n = std::clamp<int64_t>(sign * sum, 0, limit);
        return static_cast<uint8_t>(n / divisor);
    }
};

}  // namespace zorbel::imaging
