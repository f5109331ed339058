#pragma once
// Bitmaps by handle: device bitmaps, device-compatible bitmaps and DIB sections with their
// colour tables, descriptions, and conversion of a bitmap's pixels into a DIB layout.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/bitmap.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

// A bitmap of 1, 4, 8, 24 or 32 bits, filled from bits (rows padded to 4 bytes, top row
// first) when given; 0 for an invalid or too large size.
HBITMAP createBitmap(int32_t width, int32_t height, uint16_t bitCount, const void* bits = nullptr);
// A bitmap in the format of what the context draws into (a fresh memory context gives a
// monochrome bitmap, the screen 32 bits).
HBITMAP createCompatibleBitmap(HDC hdc, int32_t width, int32_t height);
// A DIB section described by header (uncompressed only), its colour table taken from colors
// for indexed formats (up to clrUsed or the full table). *bits receives its pixel memory, or
// nullptr on failure.
HBITMAP createDIBSection(HDC hdc, const BitmapInfoHeader& header, const RgbQuad* colors, void** bits);
// Adopts a bitmap object into the handle table.
HBITMAP addBitmap(std::shared_ptr<Bitmap> bitmap);

std::shared_ptr<Bitmap> bitmapOf(HBITMAP handle);
bool getBitmapDescription(HBITMAP handle, BitmapDescription& out);

// Colour-table entries of the DIB section selected in hdc; result = number copied.
uint32_t getDIBColorTable(HDC hdc, uint32_t start, uint32_t count, RgbQuad* out);
uint32_t setDIBColorTable(HDC hdc, uint32_t start, uint32_t count, const RgbQuad* in);

// Copies lines [start, start + count) (counted from the bottom) of a bitmap into out, laid
// out as header describes (bottom-up, 1/4/8/24/32 bits); indexed targets take the nearest
// entry of colors (the target colour table, header.clrUsed or the full size entries).
// Result = number of lines copied, 0 on failure.
int32_t getDIBits(HBITMAP handle, uint32_t start, uint32_t count, void* out, size_t outBytes,
                  const BitmapInfoHeader& header, const RgbQuad* colors);

}  // namespace zorbel::gdi
