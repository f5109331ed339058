#include "imaging/pixel_ops.hpp"

#include <array>
#include <cmath>

#include "frame/error.hpp"
#include "imaging/color_math.hpp"
#include "imaging/gray_row.hpp"

namespace zorbel::imaging {

namespace {

// A value stored into a pixel byte without a clamp.
uint8_t storedByte(int64_t value) {
    if (value < 0 || value > 255) throw Error::runtime(err::kOverflow);
    return static_cast<uint8_t>(value);
}

int64_t checked32(int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX) throw Error::runtime(err::kOverflow);
    return value;
}

template <class Fn>
void eachPixelPair(const PixelBuffer& from, const PixelBuffer& to, Fn fn) {
    for (int32_t r = 0; r < to.height; ++r) {
        const uint8_t* f = from.row(r);
        uint8_t* t = to.row(r);
        for (int32_t c = 0; c < to.width; ++c) fn(f + 3 * c, t + 3 * c);
    }
}

template <class Fn>
void eachPixelPairInDescribedOrder(const PixelBuffer& from, const PixelBuffer& to, Fn fn) {
    for (int32_t c = 0; c < to.width; ++c)
        for (int32_t r = 0; r < to.height; ++r) fn(from.row(r) + 3 * c, to.row(r) + 3 * c);
}

template <class Fn>
void eachPixelInStrips(const PixelBuffer& to, OperationEvents& events, Fn fn) {
    forEachStrip(0, to.width, &events, [&](int32_t c0, int32_t c1) {
        for (int32_t r = 0; r < to.height; ++r) {
            uint8_t* p = to.row(r);
            for (int32_t c = c0; c < c1; ++c) fn(p + 3 * c);
        }
    }, kPixelStripColumns);
}

template <class Fn>
void eachPixelInDescribedOrder(const PixelBuffer& to, OperationEvents& events, Fn fn) {
    for (int32_t c = 0; c < to.width; ++c) {
        for (int32_t r = 0; r < to.height; ++r) fn(to.row(r) + 3 * c);
        events.progress(3 * c);
    }
}

// Runs an operation that raises InitProgress(Width - 1) and Complete around its loop.
template <class Loop>
void timedOperation(const PixelBuffer& to, OperationEvents& events, Loop loop) {
    OperationClock clock;
    events.initProgress(to.width - 1);
    loop();
    events.complete(clock.elapsedMilliseconds());
}

// Each of a pixel's colours through HLS and back; the channels are stored without a clamp.
template <class Adjust>
void throughHls(uint8_t* p, Adjust adjust) {
    float h, s, l;
    rgbToHls(p[2], p[1], p[0], h, s, l);
    adjust(h, s, l);
    int32_t red, green, blue;
    hlsToRgb(h, s, l, red, green, blue);
    const uint8_t r = storedByte(red), g = storedByte(green), b = storedByte(blue);
    p[0] = b, p[1] = g, p[2] = r;
}

}  // namespace

void copyDarker(const PixelBuffer& from, const PixelBuffer& to) {
    eachPixelPair(from, to, [](const uint8_t* f, uint8_t* t) {
        if (luminance(f) < luminance(t)) t[0] = f[0], t[1] = f[1], t[2] = f[2];
    });
}

void copyLighter(const PixelBuffer& from, const PixelBuffer& to) {
    eachPixelPair(from, to, [](const uint8_t* f, uint8_t* t) {
        if (luminance(f) > luminance(t)) t[0] = f[0], t[1] = f[1], t[2] = f[2];
    });
}

void addImages(const PixelBuffer& from, const PixelBuffer& to, const ImageSum& terms) {
    const int64_t a = terms.fromMultiplier, b = terms.toMultiplier;
    // The described arithmetic, each step checked for 32-bit overflow.
    auto checkedSum = [&](int64_t f, int64_t t, int c) {
        const int64_t left = checked32(a * checked32(f + terms.fromOffset[c]));
        const int64_t right = checked32(b * checked32(t + terms.toOffset[c]));
        return checked32(left + right);
    };
    // Every step is linear in the two bytes: when it fits at 0 and 255 it fits in between.
    bool canOverflow = false;
    for (int c = 0; c < 3; ++c)
        for (int64_t f : {0, 255})
            for (int64_t t : {0, 255}) {
                try {
                    checkedSum(f, t, c);
                } catch (const Error&) {
                    canOverflow = true;
                }
            }
    if (canOverflow) {
        eachPixelPairInDescribedOrder(from, to, [&](const uint8_t* f, uint8_t* t) {
            for (int c = 0; c < 3; ++c) t[c] = static_cast<uint8_t>(std::clamp<int64_t>(checkedSum(f[c], t[c], c), 0, 255));
        });
        return;
    }
    const int32_t fa = terms.fromMultiplier, ta = terms.toMultiplier;
    int32_t constant[3];
    for (int c = 0; c < 3; ++c) constant[c] = static_cast<int32_t>(a * terms.fromOffset[c] + b * terms.toOffset[c]);
    eachPixelPair(from, to, [&](const uint8_t* f, uint8_t* t) {
        for (int c = 0; c < 3; ++c) t[c] = static_cast<uint8_t>(std::clamp(fa * f[c] + ta * t[c] + constant[c], 0, 255));
    });
}

void grayScale(const PixelBuffer& to, OperationEvents& events) {
    timedOperation(to, events, [&] {
        forEachStrip(0, to.width, &events, [&](int32_t c0, int32_t c1) {
            for (int32_t r = 0; r < to.height; ++r) grayRow(to.row(r) + 3 * c0, static_cast<size_t>(c1 - c0));
        }, kPixelStripColumns);
    });
}

void fade(const PixelBuffer& to, int32_t amount, OperationEvents& events) {
    timedOperation(to, events, [&] {
        if (amount < 0 || amount > 255) {
            eachPixelInDescribedOrder(to, events, [&](uint8_t* p) {
                for (int c = 0; c < 3; ++c) p[c] = storedByte(checked32(int64_t{amount} * p[c]) / 255);
            });
            return;
        }
        std::array<uint8_t, 256> faded;
        for (int v = 0; v < 256; ++v) faded[static_cast<size_t>(v)] = static_cast<uint8_t>(amount * v / 255);
        eachPixelInStrips(to, events, [&](uint8_t* p) {
            for (int c = 0; c < 3; ++c) p[c] = faded[p[c]];
        });
    });
}

void lighten(const PixelBuffer& to, int32_t amount, OperationEvents& events) {
    const double factor = 1.0 + amount / 100.0;
    auto pixel = [factor](uint8_t* p) {
        throughHls(p, [factor](float&, float&, float& l) {
            l = static_cast<float>(static_cast<double>(l) * factor);
            if (l > 1.0f) l = 1.0f;
        });
    };
    timedOperation(to, events, [&] {
        // From -100 up the lightness stays within 0..1 and every channel within 0..255.
        if (amount >= -100) eachPixelInStrips(to, events, pixel);
        else eachPixelInDescribedOrder(to, events, pixel);
    });
}

void colourise(const PixelBuffer& to, float hue, OperationEvents& events) {
    auto pixel = [hue](uint8_t* p) {
        throughHls(p, [hue](float& h, float& s, float&) {
            if (h == 0.0f) s = 0.5f;
            h = hue;
        });
    };
    timedOperation(to, events, [&] {
        // Hues from -1 to 5 keep every channel within 0..255.
        if (hue >= -1.0f && hue <= 5.0f) eachPixelInStrips(to, events, pixel);
        else eachPixelInDescribedOrder(to, events, pixel);
    });
}

}  // namespace zorbel::imaging
