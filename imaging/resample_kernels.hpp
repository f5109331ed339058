#pragma once
// Inner loops of the resampler in exact integer arithmetic (see resample_weights.hpp):
// blending two source rows into one row of channel values, and blending the channel values
// of neighbouring pixels (three bytes apart) into a target row.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/resample_weights.hpp"

namespace zorbel::imaging {

// The wide column loop reads this many bytes from any block start, so the blended row needs
// this much slack after its last channel value.
inline constexpr size_t kBlendedRowSlack = 64;
inline constexpr size_t kBlockValues = 16;

// Where each target channel value takes its neighbours from, computed once per resample.
struct ColumnPlan {
    std::vector<int32_t> left;      // index of the left neighbour's channel value
    std::vector<uint32_t> weight;   // the column's fixed-point weight
    // The wide loop works on blocks of 16 target values whose neighbours all lie in one
    // 64-byte window of the blended row: the window start, whether it fits, and the byte
    // offsets of the left neighbours inside it (one per 32-bit lane).
    std::vector<int32_t> blockBase;
    std::vector<uint8_t> blockFits;
    std::vector<uint8_t> blockOffsets;
};

ColumnPlan planColumns(const std::vector<AxisSample>& columns);

void blendRowsPortable(const uint8_t* low, const uint8_t* high, uint32_t weight, uint8_t* out, size_t count);
void blendColumnsPortable(const uint8_t* blended, const ColumnPlan& plan, size_t first, size_t count, uint8_t* out);

#if defined(__x86_64__)
bool wideKernelsSupported();
void blendRowsWide(const uint8_t* low, const uint8_t* high, uint32_t weight, uint8_t* out, size_t count);
void blendColumnsWide(const uint8_t* blended, const ColumnPlan& plan, uint8_t* out);
#endif

}  // namespace zorbel::imaging
