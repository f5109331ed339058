#pragma once
// Drawing between contexts: bit-block transfers with any of the 256 ternary raster
// operations, nearest-neighbour stretching (deleting the dropped pixels), pattern fills with
// brushes, and single pixels.
//
// Source pixels are brought into the destination's format before the operation, which then
// works on the destination's stored bits. Monochrome meets colour by the classic rules: a
// colour source pixel equal to the source context's background colour becomes 1 (white) in
// a monochrome destination, every other pixel 0; a monochrome source's 0 bits take the
// destination context's text colour and its 1 bits its background colour. Indexed
// destinations take the nearest colour of their table. The pattern is the brush selected in
// the destination (white when none).

#include <cstdint>

#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

bool bitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t srcX, int32_t srcY,
            uint32_t rop);
// Positive sizes only; the source rectangle is scaled to the destination rectangle.
bool stretchBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t srcX,
                int32_t srcY, int32_t srcWidth, int32_t srcHeight, uint32_t rop);
// A raster operation of pattern and destination only.
bool patBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop);
// Fills [left, right) x [top, bottom) with a brush; nonzero on success.
int fillRect(HDC dst, const Rect& rect, HBRUSH brush);

ColorRef getPixel(HDC hdc, int32_t x, int32_t y);
// Sets a pixel to the nearest colour the surface can hold and returns that colour, or
// kInvalidColor when the pixel lies outside.
ColorRef setPixel(HDC hdc, int32_t x, int32_t y, ColorRef color);

}  // namespace zorbel::gdi
