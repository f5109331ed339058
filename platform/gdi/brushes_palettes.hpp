#pragma once
// Solid brushes and logical palettes by handle.

#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_objects.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

// A solid brush; a system-colour value is translated when the brush is made.
HBRUSH createSolidBrush(ColorRef color);
// The brush's colour, or kInvalidColor for an unknown handle.
ColorRef brushColor(HBRUSH brush);

// A logical palette of 1..256 entries; 0 for an empty or larger one.
HPALETTE createPalette(const std::vector<PaletteEntry>& entries);
// Copies entries [start, start + count) into out; result = number copied. With out ==
// nullptr the result is the palette's size.
uint32_t getPaletteEntries(HPALETTE palette, uint32_t start, uint32_t count, PaletteEntry* out);
uint32_t setPaletteEntries(HPALETTE palette, uint32_t start, uint32_t count, const PaletteEntry* in);

// An icon from a colour bitmap and a mask of the same size (copied), 0 when they disagree.
HICON createIcon(const Bitmap& color, const Bitmap& mask);
std::shared_ptr<Icon> iconOf(HICON icon);

}  // namespace zorbel::gdi
