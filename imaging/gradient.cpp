#include "imaging/gradient.hpp"

#include <cmath>
#include <optional>

#include "frame/variant.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/brushes_palettes.hpp"
#include "platform/gdi/contexts.hpp"

namespace zorbel::imaging {

namespace {

struct Channels {
    float red = 0, green = 0, blue = 0;
};

// Blue = Int(C / 65536), green = (C - blue x 65536) \ 256, red = the rest.
Channels split(int32_t color) {
    int64_t blue = static_cast<int64_t>(std::floor(color / 65536.0));
    int64_t green = (color - blue * 65536) / 256;
    int64_t red = color - blue * 65536 - green * 256;
    return {static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue)};
}

// A 16-bit copy of a 32-bit argument; nullopt where the conversion overflows.
std::optional<int16_t> toInt16(int32_t v) {
    if (v < INT16_MIN || v > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(v);
}

// (end - start) / (size - 60) x 15; a division by zero leaves the step at 0.
float stepFor(float start, float end, int16_t size) {
    if (size == 60) return 0.0f;
    return static_cast<float>((end - start) / (size - 60.0) * 15.0);
}

// The fill colour, or nullopt when a channel is negative (the colour cannot be made);
// channels above 255 count as 255.
std::optional<gdi::ColorRef> colorOf(const Channels& c) {
    double r = std::nearbyint(c.red), g = std::nearbyint(c.green), b = std::nearbyint(c.blue);
    if (r < 0 || g < 0 || b < 0) return std::nullopt;
    auto byte = [](double v) { return static_cast<uint8_t>(std::min(v, 255.0)); };
    return gdi::rgb(byte(r), byte(g), byte(b));
}

void fillStrip(gdi::HDC dc, const gdi::Rect& strip, const Channels& current) {
    std::optional<gdi::ColorRef> color = colorOf(current);
    if (!color) return;
    gdi::HBRUSH brush = gdi::createSolidBrush(*color);
    gdi::fillRect(dc, strip, brush);
    gdi::deleteObject(brush);
}

int32_t roundToLong(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

}  // namespace

void drawGradient(int32_t hdc, int32_t widthTwips, int32_t heightTwips, int32_t startColor, int32_t endColor,
                  int16_t style) {
    if (style != 0 && style != 1) return;
    const Channels start = split(startColor), end = split(endColor);
    const int16_t w = toInt16(widthTwips).value_or(0), h = toInt16(heightTwips).value_or(0);
    const int16_t n = style == 0 ? w : h;
    const Channels step{stepFor(start.red, end.red, n), stepFor(start.green, end.green, n),
                        stepFor(start.blue, end.blue, n)};
    gdi::Rect strip = style == 0 ? gdi::Rect{0, 0, 3, roundToLong(h / 15.0 - 2)}
                                 : gdi::Rect{0, 0, roundToLong(w / 15.0 - 2), 3};
    Channels current = start;
    const int32_t last = roundToLong(n / 15.0 - 5);
    for (int32_t k = 0; k <= last; ++k) {
        fillStrip(static_cast<gdi::HDC>(hdc), strip, current);
        current.red += step.red, current.green += step.green, current.blue += step.blue;
        if (style == 0) ++strip.left, ++strip.right;
        else ++strip.top, ++strip.bottom;
    }
}

}  // namespace zorbel::imaging
