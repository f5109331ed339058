#include "imaging/noise.hpp"

#include <algorithm>
#include <cmath>

#include "frame/error.hpp"
#include "platform/system/random.hpp"

namespace zorbel::imaging {

void addNoise(const PixelBuffer& to, int32_t percent, bool randomPixels, OperationEvents& events) {
    OperationClock clock;
    const int64_t scaled = int64_t{percent} * 128;
    if (scaled < INT32_MIN || scaled > INT32_MAX) throw Error::runtime(err::kOverflow);
    const int32_t range = static_cast<int32_t>(scaled / 100);
    const int32_t half = range / 2;
    events.initProgress(to.width - 1);
    for (int32_t x = 0; x < 3 * to.width; x += 3) {
        for (int32_t r = 0; r < to.height; ++r) {
            if (randomPixels && !(100.0 * system::nextRandom() > percent)) continue;
            uint8_t* p = &to.at(x, r);
            for (int c = 0; c < 3; ++c) {
                const double u = static_cast<float>(system::nextRandom());
                const double shifted = std::nearbyint(u * range + (int64_t{p[c]} - half));
                p[c] = static_cast<uint8_t>(std::clamp(shifted, 0.0, 255.0));
            }
        }
        events.progress(x);
    }
    events.complete(clock.elapsedMilliseconds());
}

}  // namespace zorbel::imaging
