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

// One output row: down the three rows first, then across the three columns (3 bytes apart).

ZORBEL_VECTOR_CLONES
void minimumRow(uint8_t* out, const uint8_t* a, const uint8_t* b, const uint8_t* c, uint8_t* down, size_t n) {
    for (size_t j = 0; j < n + 6; ++j) down[j] = std::min(std::min(a[j], b[j]), c[j]);
    for (size_t i = 0; i < n; ++i) out[i] = std::min(std::min(down[i], down[i + 3]), down[i + 6]);
}

ZORBEL_VECTOR_CLONES
void maximumRow(uint8_t* out, const uint8_t* a, const uint8_t* b, const uint8_t* c, uint8_t* down, size_t n) {
    for (size_t j = 0; j < n + 6; ++j) down[j] = std::max(std::max(a[j], b[j]), c[j]);
    for (size_t i = 0; i < n; ++i) out[i] = std::max(std::max(down[i], down[i + 3]), down[i + 6]);
}

ZORBEL_VECTOR_CLONES
void meanRow(uint8_t* out, const uint8_t* a, const uint8_t* b, const uint8_t* c, uint16_t* down, size_t n,
             uint32_t magic, uint32_t shift) {
    for (size_t j = 0; j < n + 6; ++j) down[j] = static_cast<uint16_t>(a[j] + b[j] + c[j]);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t sum = static_cast<uint32_t>(down[i] + down[i + 3] + down[i + 6]);
        out[i] = static_cast<uint8_t>((sum * magic) >> shift);
    }
}

void passInStrips(const PixelBuffer& s, const PixelBuffer& t, Neighbourhood kind, OperationEvents& events) {
    const size_t wide = 3 * static_cast<size_t>(kStripColumns + 2);
    std::vector<uint8_t> down(wide);
    std::vector<uint16_t> sums(wide);
    const ByteDivider nine(9);
    forEachStrip(1, s.width - 1, &events, [&](int32_t c0, int32_t c1) {
        const size_t n = 3 * static_cast<size_t>(c1 - c0);
        const size_t left = 3 * static_cast<size_t>(c0 - 1);
        for (int32_t r = 1; r < s.height - 1; ++r) {
            const uint8_t* a = s.row(r - 1) + left;
            const uint8_t* b = s.row(r) + left;
            const uint8_t* c = s.row(r + 1) + left;
            uint8_t* out = t.row(r) + 3 * static_cast<size_t>(c0);
            switch (kind) {
                case Neighbourhood::Minimum: minimumRow(out, a, b, c, down.data(), n); break;
                case Neighbourhood::Maximum: maximumRow(out, a, b, c, down.data(), n); break;
                case Neighbourhood::Mean: meanRow(out, a, b, c, sums.data(), n, nine.magic16, nine.shift16); break;
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
