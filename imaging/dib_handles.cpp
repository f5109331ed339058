#include "imaging/dib_handles.hpp"

#include "frame/error.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/contexts.hpp"

namespace zorbel::imaging {

bool DibHandles::createBitmap(int32_t hdc, int32_t width, int32_t height, uint16_t bitCount,
                              int32_t (*rowBytes)(int32_t), const gdi::RgbQuad* colors) {
    header = gdi::BitmapInfoHeader{};
    header.width = width;
    header.height = height;
    header.bitCount = bitCount;
    const int64_t imageSize = int64_t{height} * rowBytes(width);
    if (imageSize > INT32_MAX || imageSize < INT32_MIN) throw Error::runtime(err::kOverflow);
    header.sizeImage = static_cast<uint32_t>(imageSize);
    void* pixels = nullptr;
    // Only bottom-up images: every operation of the library indexes rows from the bottom.
    gdi::Handle handle =
        height > 0 ? gdi::createDIBSection(static_cast<gdi::Handle>(hdc), header, colors, &pixels) : 0;
    bits = static_cast<uint8_t*>(handle ? pixels : nullptr);
    dib = handle;
    return handle != 0;
}

bool DibHandles::createIn(gdi::HDC context, const std::function<bool(gdi::HDC)>& makeBitmap) {
    if (!context) return false;
    bool made = false;
    try {
        made = makeBitmap(context);
    } catch (...) {
        gdi::deleteDC(context);
        throw;
    }
    if (!made) {
        gdi::deleteDC(context);
        return false;
    }
    dc = context;
    previous = gdi::selectObject(context, dib);
    return true;
}

void DibHandles::release() {
    if (dc) {
        if (dib) {
            gdi::selectObject(dc, previous);
            gdi::deleteObject(dib);
        }
        gdi::deleteDC(dc);
    }
    dib = previous = dc = 0;
    bits = nullptr;
}

void DibHandles::paint(int32_t lHDC, int32_t destLeft, int32_t destTop, int32_t destWidth, int32_t destHeight,
                       int32_t srcLeft, int32_t srcTop, int32_t rop) const {
    const int32_t w = destWidth < 0 ? header.width : destWidth;
    const int32_t h = destHeight < 0 ? header.height : destHeight;
    gdi::bitBlt(static_cast<gdi::Handle>(lHDC), destLeft, destTop, w, h, dc, srcLeft, srcTop,
                static_cast<uint32_t>(rop));
}

}  // namespace zorbel::imaging
