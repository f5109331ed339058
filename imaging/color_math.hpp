#pragma once
// Conversions between red-green-blue channels (0..255) and hue-lightness-saturation. Hue is
// on a sector scale from -1 to 5 (0 red, 2 green, 4 blue), saturation and lightness 0..1.
// Every intermediate is held in single precision; channels are rounded to nearest with
// ties to even.

#include <cstdint>

namespace zorbel::imaging {

void rgbToHls(int32_t red, int32_t green, int32_t blue, float& h, float& s, float& l);
// Raises overflow (6) when a channel does not fit 32 bits (arguments are not clamped).
void hlsToRgb(float h, float s, float l, int32_t& red, int32_t& green, int32_t& blue);

}  // namespace zorbel::imaging
