#pragma once
// GrayScale's row step: each pixel's blue, green and red become round(lum / 1000), rounded to
// nearest with ties to even, lum = 222 x red + 707 x green + 71 x blue.

#include <cstddef>
#include <cstdint>

namespace zorbel::imaging {

void grayRow(uint8_t* pixels, size_t count);

}  // namespace zorbel::imaging
