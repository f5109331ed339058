#pragma once
// The memory context and DIB section behind a picture class: the bitmap made with the header
// of the class's format, selected into a context of the class's own, both released together.

#include <cstdint>
#include <functional>

#include "platform/gdi/types.hpp"

namespace zorbel::imaging {

struct DibHandles {
    gdi::BitmapInfoHeader header{};
    gdi::HBITMAP dib = 0;
    gdi::HBITMAP previous = 0;  // the context's bitmap before ours was selected
    gdi::HDC dc = 0;
    uint8_t* bits = nullptr;

    // A bottom-up DIB section for `hdc` of the given size and bit count, with rowBytes(width)
    // bytes a row and the colour table `colors` (or none). The header records the size even
    // when the creation fails or raises: rowBytes and the image's byte count raise overflow (6)
    // when they do not fit 32 bits.
    bool createBitmap(int32_t hdc, int32_t width, int32_t height, uint16_t bitCount, int32_t (*rowBytes)(int32_t),
                      const gdi::RgbQuad* colors);
    // Takes the memory context `context`, makes the bitmap in it with `makeBitmap(context)` and
    // selects it; when that fails or raises, the context is deleted again.
    bool createIn(gdi::HDC context, const std::function<bool(gdi::HDC)>& makeBitmap);
    // Selects the previous bitmap back, deletes ours and the context.
    void release();
    // Copies a part of the picture to another context; widths and heights below 0 mean the
    // picture's own.
    void paint(int32_t lHDC, int32_t destLeft, int32_t destTop, int32_t destWidth, int32_t destHeight,
               int32_t srcLeft, int32_t srcTop, int32_t rop) const;
};

}  // namespace zorbel::imaging
