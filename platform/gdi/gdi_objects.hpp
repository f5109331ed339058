#pragma once
// The small graphics objects kept in the handle table next to bitmaps and device contexts.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/bitmap.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

struct Brush {
    ColorRef color = 0;
};

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
    bool operator==(const PaletteEntry&) const = default;
};

struct Palette {
    std::vector<PaletteEntry> entries;
};

// An icon: a colour image and an AND mask of the same size (1 = transparent).
struct Icon {
    std::shared_ptr<Bitmap> color;
    std::shared_ptr<Bitmap> mask;
    int32_t width() const { return color ? color->width() : 0; }
    int32_t height() const { return color ? color->height() : 0; }
};

}  // namespace zorbel::gdi
