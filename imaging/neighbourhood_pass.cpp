#include "imaging/neighbourhood_pass.hpp"

#include <algorithm>
#include <vector>

#include "imaging/byte_divider.hpp"
#include "imaging/vector_clones.hpp"

namespace zorbel::imaging {

namespace {

uint8_t neighbourhoodValue(const PixelBuffer& s, Neighbourhood kind, int32_t x, int32_t r) {
    int32_t value = kind == Neighbourhood::Minimum ? 255 : 0;
    for (int32_t iX = -1; iX <= 1; ++iX)
        for (int32_t iY = -1; iY <= 1; ++iY) {
            const int32_t b = s.at(x + 3 * iX, r + iY);
            if (kind == Neighbourhood::Mean) value += b;
            else if (kind == Neighbourhood::Minimum ? b < value : b > value) value = b;
        }
    if (kind == Neighbourhood::Mean) value /= 9;
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

void passInDescribedOrder(const PixelBuffer& s, const PixelBuffer& t, Neighbourhood kind, OperationEvents& events) {
    for (int32_t x = 3; x <= 3 * (s.width - 2); x += 3) {
        for (int32_t r = 1; r <= s.height - 2; ++r)
            for (int32_t c = 0; c < 3; ++c) t.at(x + c, r) = neighbourhoodValue(s, kind, x + c, r);
        events.progress(x);
    }
}

// Output rows in pairs: down the four rows the pair needs first (the middle two shared),
// then across the three columns (3 bytes apart) of each.

#define ZORBEL_EXTREME_ROWS(name, pick)                                                                         \
    ZORBEL_VECTOR_CLONES                                                                                        \
    void name(uint8_t* __restrict out0, uint8_t* __restrict out1, const uint8_t* __restrict a,                  \
              const uint8_t* __restrict b, const uint8_t* __restrict c, const uint8_t* __restrict d,            \
              uint8_t* __restrict down0, uint8_t* __restrict down1, size_t n) {                                  \
        for (size_t j = 0; j < n + 6; ++j) {                                                                     \
            const uint8_t middle = pick(b[j], c[j]);                                                             \
            down0[j] = pick(a[j], middle);                                                                       \
            down1[j] = pick(middle, d[j]);                                                                       \
        }                                                                                                        \
        for (size_t i = 0; i < n; ++i) {                                                                         \
            out0[i] = pick(pick(down0[i], down0[i + 3]), down0[i + 6]);                                          \
            out1[i] = pick(pick(down1[i], down1[i + 3]), down1[i + 6]);                                          \
        }                                                                                                        \
    }

inline uint8_t lower(uint8_t x, uint8_t y) { return x < y ? x : y; }
inline uint8_t higher(uint8_t x, uint8_t y) { return x > y ? x : y; }
ZORBEL_EXTREME_ROWS(minimumRows, lower)
ZORBEL_EXTREME_ROWS(maximumRows, higher)
#undef ZORBEL_EXTREME_ROWS

ZORBEL_VECTOR_CLONES
void meanRows(uint8_t* __restrict out0, uint8_t* __restrict out1, const uint8_t* __restrict a,
              const uint8_t* __restrict b, const uint8_t* __restrict c, const uint8_t* __restrict d,
              uint16_t* __restrict down0, uint16_t* __restrict down1, size_t n, uint32_t magic, uint32_t shift) {
    for (size_t j = 0; j < n + 6; ++j) {
        const uint16_t middle = static_cast<uint16_t>(b[j] + c[j]);
        down0[j] = static_cast<uint16_t>(a[j] + middle);
        down1[j] = static_cast<uint16_t>(middle + d[j]);
    }
    for (size_t i = 0; i < n; ++i) {
        out0[i] = static_cast<uint8_t>((static_cast<uint32_t>(down0[i] + down0[i + 3] + down0[i + 6]) * magic) >> shift);
        out1[i] = static_cast<uint8_t>((static_cast<uint32_t>(down1[i] + down1[i + 3] + down1[i + 6]) * magic) >> shift);
    }
}

void passInStrips(const PixelBuffer& s, const PixelBuffer& t, Neighbourhood kind, OperationEvents& events) {
    const size_t wide = 3 * static_cast<size_t>(kStripColumns + 2);
    std::vector<uint8_t> down(2 * wide), spare(wide);
    std::vector<uint16_t> sums(2 * wide);
    const ByteDivider nine(9);
    forEachStrip(1, s.width - 1, &events, [&](int32_t c0, int32_t c1) {
        const size_t n = 3 * static_cast<size_t>(c1 - c0);
        const size_t left = 3 * static_cast<size_t>(c0 - 1);
        const size_t first = 3 * static_cast<size_t>(c0);
        for (int32_t r = 1; r < s.height - 1; r += 2) {
            // With an odd count of rows the last pair's second row goes to a spare row.
            const bool pair = r + 1 < s.height - 1;
            const uint8_t* a = s.row(r - 1) + left;
            const uint8_t* b = s.row(r) + left;
            const uint8_t* c = s.row(r + 1) + left;
            const uint8_t* d = pair ? s.row(r + 2) + left : c;
            uint8_t* out0 = t.row(r) + first;
            uint8_t* out1 = pair ? t.row(r + 1) + first : spare.data();
            switch (kind) {
                case Neighbourhood::Minimum: minimumRows(out0, out1, a, b, c, d, down.data(), down.data() + wide, n); break;
                case Neighbourhood::Maximum: maximumRows(out0, out1, a, b, c, d, down.data(), down.data() + wide, n); break;
                case Neighbourhood::Mean:
                    meanRows(out0, out1, a, b, c, d, sums.data(), sums.data() + wide, n, nine.magic16, nine.shift16);
                    break;
            }
        }
    });
}

}  // namespace

bool neighbourhoodPass(const PixelBuffer& source, const PixelBuffer& target, Neighbourhood kind,
                       OperationEvents& events) {
    OperationClock clock;
    events.initProgress(3 * source.width - 6);
    if (source.bits == target.bits) passInDescribedOrder(source, target, kind, events);
    else passInStrips(source, target, kind, events);
    events.complete(clock.elapsedMilliseconds());
    return true;
}

}  // namespace zorbel::imaging
