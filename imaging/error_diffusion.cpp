#include "imaging/error_diffusion.hpp"

#include <algorithm>
#include <cstdlib>

#include "frame/error.hpp"

namespace zorbel::imaging {

namespace {

uint8_t clampByte(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

void setGrey(uint8_t* p, uint8_t v) { p[0] = p[1] = p[2] = v; }

}  // namespace

void diffuseBlackAndWhite(const PixelBuffer& from, const PixelBuffer& to, OperationEvents& events) {
    const int32_t last = 3 * (to.width - 1);
    events.initProgress(last);
    struct Share {
        int32_t dx, weight;
    };
    const Share below[] = {{-3, 3}, {0, 5}, {3, 1}};
    for (int32_t x = 0; x <= last; x += 3) {
        for (int32_t r = 0; r < to.height; ++r) {
            const int32_t g = from.at(x, r);
            int32_t e;
            if (g <= 128) {
                setGrey(&to.at(x, r), 0);
                e = g > 16 ? g : 0;
            } else {
                setGrey(&to.at(x, r), 255);
                e = 127 - g;
            }
            if (x < last - 3) {
                uint8_t* p = &from.at(x + 3, r);
                setGrey(p, clampByte(p[0] + 7 * e / 16));
            }
            if (r < to.height - 1)
                for (const Share& s : below)
                    if (0 < x + s.dx && x + s.dx < last) {
                        uint8_t* p = &from.at(x + s.dx, r + 1);
                        setGrey(p, clampByte(s.weight * e / 16 + p[0]));
                    }
        }
        events.progress(x);
    }
}

void diffusePalette(const PixelBuffer& from, const PixelBuffer& to, NearestColorSearch& palette,
                    OperationEvents& events) {
    const int32_t last = 3 * (to.width - 1);
    events.initProgress(last);
    for (int32_t x = 0; x <= last; x += 3) {
        for (int32_t r = 0; r < to.height; ++r) {
            const uint8_t* f = &from.at(x, r);
            // The next pixel's colour before this one's error reaches it: usually in the same cell.
            if (r + 1 < to.height) {
                const uint8_t* next = &from.at(x, r + 1);
                palette.prefetch(next[2], next[1], next[0]);
            }
            // The column walk steps a row at a time; fetch the rows a few steps ahead.
            if (r + 8 < to.height) {
                __builtin_prefetch(&from.at(x, r + 8));
                __builtin_prefetch(&to.at(x, r + 8), 1);
            }
            const int32_t i = palette.closestIndex(f[2], f[1], f[0]);
            if (i == 0) throw Error::runtime(err::kSubscriptOutOfRange);
            const PaletteColor& chosen = palette.entry(i);
            uint8_t* t = &to.at(x, r);
            t[2] = chosen.red, t[1] = chosen.green, t[0] = chosen.blue;
            const int32_t e[3] = {f[0] - t[0], f[1] - t[1], f[2] - t[2]};
            if (std::abs(e[0]) + std::abs(e[1]) + std::abs(e[2]) >= 4) {
                if (x < last - 3) {
                    uint8_t* p = &from.at(x + 3, r);
                    for (int c = 0; c < 3; ++c) p[c] = clampByte(p[c] + 7 * e[c] / 16);
                }
                // Of the three pixels of the next row only the one straight above has a
                // weight (4); the neighbours' weight of 0 leaves them as they are.
                if (r < to.height - 1 && 0 < x && x < last) {
                    uint8_t* p = &from.at(x, r + 1);
                    for (int c = 0; c < 3; ++c) p[c] = clampByte(p[c] + 4 * e[c] / 16);
                }
            }
        }
        events.progress(x);
    }
}

}  // namespace zorbel::imaging
