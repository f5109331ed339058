#include "imaging/resample_kernels.hpp"

#include <algorithm>

#if defined(__x86_64__)
// GCC 12's AVX-512 header initialises its "undefined" vectors from themselves, which its own
// flow analysis then reports as uninitialised use (fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ < 13
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif
#endif

namespace zorbel::imaging {

namespace {

// value / 2^23 rounded to nearest, ties to even.
inline uint32_t roundWeighted(uint32_t value) {
    return (value + (kWeightOne / 2 - 1) + ((value >> kWeightBits) & 1)) >> kWeightBits;
}

// a x (1 - f) + b x f in fixed point; never negative and below 2^31 for bytes.
inline uint32_t blendFixed(uint32_t a, uint32_t b, uint32_t weight) {
    return a * (kWeightOne - weight) + b * weight;
}

}  // namespace

ColumnPlan planColumns(const std::vector<AxisSample>& columns) {
    ColumnPlan plan;
    const size_t values = 3 * columns.size();
    plan.left.resize(values);
    plan.weight.resize(values);
    for (size_t j = 0; j < columns.size(); ++j)
        for (size_t c = 0; c < 3; ++c) {
            plan.left[3 * j + c] = 3 * columns[j].index + static_cast<int32_t>(c);
            plan.weight[3 * j + c] = columns[j].weight;
        }
    const size_t blocks = values / kBlockValues;
    plan.blockBase.resize(blocks);
    plan.blockFits.resize(blocks);
    plan.blockOffsets.assign(blocks * kBlendedRowSlack, 0);
    for (size_t b = 0; b < blocks; ++b) {
        const int32_t* first = plan.left.data() + b * kBlockValues;
        const int32_t base = *std::min_element(first, first + kBlockValues);
        const int32_t top = *std::max_element(first, first + kBlockValues) + 3;  // the right neighbour
        plan.blockBase[b] = base;
        plan.blockFits[b] = top - base < static_cast<int32_t>(kBlendedRowSlack);
        if (!plan.blockFits[b]) continue;
        for (size_t lane = 0; lane < kBlockValues; ++lane)
            plan.blockOffsets[b * kBlendedRowSlack + 4 * lane] = static_cast<uint8_t>(first[lane] - base);
    }
    return plan;
}

void blendRowsPortable(const uint8_t* low, const uint8_t* high, uint32_t weight, uint8_t* out, size_t count) {
    for (size_t k = 0; k < count; ++k) out[k] = static_cast<uint8_t>(roundWeighted(blendFixed(low[k], high[k], weight)));
}

void blendColumnsPortable(const uint8_t* blended, const ColumnPlan& plan, size_t first, size_t count, uint8_t* out) {
    for (size_t k = first; k < first + count; ++k) {
        const uint8_t* left = blended + plan.left[k];
        out[k] = static_cast<uint8_t>(roundWeighted(blendFixed(left[0], left[3], plan.weight[k])));
    }
}

#if defined(__x86_64__)

bool wideKernelsSupported() {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi");
}

namespace {

#define ZORBEL_WIDE __attribute__((target("avx512f,avx512bw,avx512vbmi")))

ZORBEL_WIDE inline __m512i roundWeighted16(__m512i value) {
    const __m512i odd = _mm512_and_si512(_mm512_srli_epi32(value, kWeightBits), _mm512_set1_epi32(1));
    const __m512i bias = _mm512_set1_epi32(static_cast<int>(kWeightOne / 2 - 1));
    return _mm512_srli_epi32(_mm512_add_epi32(_mm512_add_epi32(value, bias), odd), kWeightBits);
}

// a x 2^23 + (b - a) x F: the same value as blendFixed, with one multiplication.
ZORBEL_WIDE inline __m512i blendFixed16(__m512i a, __m512i b, __m512i weight) {
    return _mm512_add_epi32(_mm512_slli_epi32(a, kWeightBits), _mm512_mullo_epi32(_mm512_sub_epi32(b, a), weight));
}

ZORBEL_WIDE inline void store16(uint8_t* out, __m512i values) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm512_cvtepi32_epi8(values));
}

}  // namespace

ZORBEL_WIDE void blendRowsWide(const uint8_t* low, const uint8_t* high, uint32_t weight, uint8_t* out, size_t count) {
    const __m512i w = _mm512_set1_epi32(static_cast<int>(weight));
    size_t k = 0;
    for (; k + kBlockValues <= count; k += kBlockValues) {
        const __m512i a = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low + k)));
        const __m512i b = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(high + k)));
        store16(out + k, roundWeighted16(blendFixed16(a, b, w)));
    }
    blendRowsPortable(low + k, high + k, weight, out + k, count - k);
}

ZORBEL_WIDE void blendColumnsWide(const uint8_t* blended, const ColumnPlan& plan, uint8_t* out) {
    const __mmask64 lowByteOfEachLane = 0x1111111111111111ull;
    const __m512i rightNeighbour = _mm512_set1_epi8(3);
    const size_t blocks = plan.blockBase.size();
    for (size_t b = 0; b < blocks; ++b) {
        const size_t first = b * kBlockValues;
        if (!plan.blockFits[b]) {
            blendColumnsPortable(blended, plan, first, kBlockValues, out);
            continue;
        }
        const __m512i window = _mm512_loadu_si512(blended + plan.blockBase[b]);
        const __m512i offsets = _mm512_loadu_si512(plan.blockOffsets.data() + b * kBlendedRowSlack);
        const __m512i a = _mm512_maskz_permutexvar_epi8(lowByteOfEachLane, offsets, window);
        const __m512i c = _mm512_maskz_permutexvar_epi8(lowByteOfEachLane, _mm512_add_epi8(offsets, rightNeighbour), window);
        const __m512i w = _mm512_loadu_si512(plan.weight.data() + first);
        store16(out + first, roundWeighted16(blendFixed16(a, c, w)));
    }
    const size_t done = blocks * kBlockValues;
    blendColumnsPortable(blended, plan, done, plan.left.size() - done, out);
}

#undef ZORBEL_WIDE

#endif

}  // namespace zorbel::imaging
