#pragma once
// The per-pixel operations of ImageProcessingDIB. Each visits every pixel of the target
// (`to`, whose size counts) and, where there is one, the source pixel at the same place;
// callers make sure the source is at least as large.
//
// A pixel's result depends on that pixel alone, so the operations work row by row in strips
// of columns and report each strip's columns when it is finished. Where a value can fall
// outside a byte or a 32-bit sum can overflow (error 6) the operation runs in the described
// column-by-column order instead, so that it stops at the same pixel with the same pixels
// already changed.

#include <cstdint>

#include "imaging/operation_events.hpp"
#include "imaging/pixel_buffer.hpp"

namespace zorbel::imaging {

// The brightness of a pixel (blue, green, red bytes), 0..255000.
inline int32_t luminance(const uint8_t* p) { return 222 * p[2] + 707 * p[1] + 71 * p[0]; }

// Copy the source pixel where it is darker (AddLightest) or lighter (AddDarkest).
void copyDarker(const PixelBuffer& from, const PixelBuffer& to);
void copyLighter(const PixelBuffer& from, const PixelBuffer& to);

// to = clamp(fromMultiplier x (from + fromOffset) + toMultiplier x (to + toOffset)), with the
// offsets in byte order (the first one acts on the blue byte).
struct ImageSum {
    int32_t fromMultiplier;
    int32_t fromOffset[3];
    int32_t toMultiplier;
    int32_t toOffset[3];
};
void addImages(const PixelBuffer& from, const PixelBuffer& to, const ImageSum& terms);

// These raise InitProgress(Width - 1), Progress per column and Complete.
void grayScale(const PixelBuffer& to, OperationEvents& events);
void fade(const PixelBuffer& to, int32_t amount, OperationEvents& events);
void lighten(const PixelBuffer& to, int32_t amount, OperationEvents& events);
void colourise(const PixelBuffer& to, float hue, OperationEvents& events);

}  // namespace zorbel::imaging
