#include "imaging/color_math.hpp"

#include <algorithm>

#include "frame/variant.hpp"

namespace zorbel::imaging {

namespace {

float channel(int32_t value) { return static_cast<float>(value / 255.0); }

int32_t toChannel(float value) { return zorbel::convert::toLong(static_cast<double>(value) * 255.0); }

}  // namespace

void rgbToHls(int32_t red, int32_t green, int32_t blue, float& h, float& s, float& l) {
    const float r = channel(red), g = channel(green), b = channel(blue);
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});
    l = (max + min) / 2.0f;
    if (max == min) {
        s = 0.0f;
        h = 0.0f;
        return;
    }
    s = l <= 0.5f ? (max - min) / (max + min) : (max - min) / (2.0f - max - min);
    const float d = max - min;
    if (r == max) h = (g - b) / d;
    else if (g == max) h = 2.0f + (b - r) / d;
    else h = 4.0f + (r - g) / d;
}

void hlsToRgb(float h, float s, float l, int32_t& red, int32_t& green, int32_t& blue) {
    float r, g, b;
    if (s == 0.0f) {
        r = g = b = l;
    } else {
        const float min = l <= 0.5f ? l * (1.0f - s) : l - s * (1.0f - l);
        const float max = 2.0f * l - min;
        const float d = max - min;
        if (h < 1.0f) {
            r = max;
            if (h < 0.0f) g = min, b = min - h * d;
            else b = min, g = min + h * d;
        } else if (h < 3.0f) {
            g = max;
            if (h < 2.0f) b = min, r = min - (h - 2.0f) * d;
            else r = min, b = min + (h - 2.0f) * d;
        } else {
            b = max;
            if (h < 4.0f) r = min, g = min - (h - 4.0f) * d;
            else g = min, r = min + (h - 4.0f) * d;
        }
    }
    red = toChannel(r);
    green = toChannel(g);
    blue = toChannel(b);
}

}  // namespace zorbel::imaging
