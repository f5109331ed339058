#include "platform/gdi/blit.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/gdi/brushes_palettes.hpp"
#include "platform/gdi/contexts.hpp"
#include "platform/gdi/pixel_converter.hpp"
#include "platform/gdi/raster_op.hpp"
#include "platform/gdi/sys_colors.hpp"

namespace zorbel::gdi {

namespace {

// A destination rectangle and the matching source origin after clipping to both surfaces.
struct Span {
    int32_t x, y, width, height, srcX, srcY;
};

bool clip(Span& s, const Bitmap& dst, const Bitmap* src) {
    auto clipAxis = [](int32_t& pos, int32_t& len, int32_t& srcPos, int32_t limit) {
        if (pos < 0) len += pos, srcPos -= pos, pos = 0;
        if (len > limit - pos) len = limit - pos;
    };
    clipAxis(s.x, s.width, s.srcX, dst.width());
    clipAxis(s.y, s.height, s.srcY, dst.height());
    if (src) {
        clipAxis(s.srcX, s.width, s.x, src->width());
        clipAxis(s.srcY, s.height, s.y, src->height());
    }
    return s.width > 0 && s.height > 0;
}

uint32_t patternOf(const DeviceContext& dc, const Bitmap& dst) {
    ColorRef color = dc.brush ? brushColor(dc.brush) : rgb(255, 255, 255);
    if (color == kInvalidColor) color = rgb(255, 255, 255);
    return dst.rawOfColor(color);
}

bool plainRowCopy(uint8_t index, const PixelConverter& convert, const Bitmap& dst) {
    return index == ropIndex(rop::kSrcCopy) && convert.identity() && dst.bitCount() >= 8;
}

void copyRows(Bitmap& dst, const Bitmap& src, const Span& s) {
    size_t bytesPerPixel = dst.bitCount() / 8;
    for (int32_t j = 0; j < s.height; ++j)
        std::memmove(dst.row(s.y + j) + bytesPerPixel * s.x, src.row(s.srcY + j) + bytesPerPixel * s.srcX,
                     bytesPerPixel * static_cast<size_t>(s.width));
}

void ropRows(Bitmap& dst, const Bitmap* src, const Span& s, uint8_t index, uint32_t pattern,
             const PixelConverter* convert) {
    uint32_t mask = dst.rawMask();
    for (int32_t j = 0; j < s.height; ++j) {
        for (int32_t i = 0; i < s.width; ++i) {
            uint32_t source = src ? (*convert)(src->rawAt(s.srcX + i, s.srcY + j)) : 0;
            uint32_t d = dst.rawAt(s.x + i, s.y + j);
            dst.setRaw(s.x + i, s.y + j, applyRop(index, pattern, source, d) & mask);
        }
    }
}

// The source surface; a copy when it is also the destination, so overlapping blits read
// the pixels as they were before the call.
std::shared_ptr<const Bitmap> readableSource(const std::shared_ptr<Bitmap>& src, const Bitmap& dst) {
    if (src.get() == &dst) return std::make_shared<Bitmap>(*src);
    return src;
}

}  // namespace

bool bitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t srcX, int32_t srcY,
            uint32_t rop) {
    auto dstDc = contextOf(dst);
    if (!dstDc || !dstDc->surface) return false;
    Bitmap& target = *dstDc->surface;
    uint8_t index = ropIndex(rop);
    if (!ropUsesSource(index)) return patBlt(dst, x, y, width, height, rop);
    auto srcDc = contextOf(src);
    if (!srcDc || !srcDc->surface) return false;
    if (width <= 0 || height <= 0) return true;
    auto source = readableSource(srcDc->surface, target);
    Span s{x, y, width, height, srcX, srcY};
    if (!clip(s, target, source.get())) return true;
    PixelConverter convert(*source, target, translateColor(srcDc->backgroundColor), dstDc->textColor,
                           dstDc->backgroundColor);
    if (plainRowCopy(index, convert, target)) {
        copyRows(target, *source, s);
    } else {
        ropRows(target, source.get(), s, index, patternOf(*dstDc, target), &convert);
    }
    return true;
}

bool patBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t rop) {
    auto dc = contextOf(dst);
    if (!dc || !dc->surface) return false;
    uint8_t index = ropIndex(rop);
    if (ropUsesSource(index)) return false;
    if (width <= 0 || height <= 0) return true;
    Span s{x, y, width, height, 0, 0};
    if (!clip(s, *dc->surface, nullptr)) return true;
    ropRows(*dc->surface, nullptr, s, index, patternOf(*dc, *dc->surface), nullptr);
    return true;
}

bool stretchBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t srcX,
                int32_t srcY, int32_t srcWidth, int32_t srcHeight, uint32_t rop) {
    if (width == srcWidth && height == srcHeight) return bitBlt(dst, x, y, width, height, src, srcX, srcY, rop);
    auto dstDc = contextOf(dst);
    auto srcDc = contextOf(src);
    if (!dstDc || !dstDc->surface || !srcDc || !srcDc->surface) return false;
    if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return false;
    Bitmap& target = *dstDc->surface;
    auto source = readableSource(srcDc->surface, target);
    PixelConverter convert(*source, target, translateColor(srcDc->backgroundColor), dstDc->textColor,
                           dstDc->backgroundColor);
    uint8_t index = ropIndex(rop);
    uint32_t pattern = patternOf(*dstDc, target);
    for (int32_t j = 0; j < height; ++j) {
        int32_t sy = srcY + static_cast<int32_t>(static_cast<int64_t>(j) * srcHeight / height);
        if (!target.contains(0, y + j) || sy < 0 || sy >= source->height()) continue;
        for (int32_t i = 0; i < width; ++i) {
            int32_t sx = srcX + static_cast<int32_t>(static_cast<int64_t>(i) * srcWidth / width);
            if (!target.contains(x + i, y + j) || sx < 0 || sx >= source->width()) continue;
            uint32_t d = target.rawAt(x + i, y + j);
            uint32_t s = convert(source->rawAt(sx, sy));
            target.setRaw(x + i, y + j, applyRop(index, pattern, s, d) & target.rawMask());
        }
    }
    return true;
}

int fillRect(HDC dst, const Rect& rect, HBRUSH brush) {
    auto dc = contextOf(dst);
    if (!dc || brushColor(brush) == kInvalidColor) return 0;
    HBRUSH previous = std::exchange(dc->brush, brush);
    bool ok = patBlt(dst, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, rop::kPatCopy);
    dc->brush = previous;
    return ok ? 1 : 0;
}

ColorRef getPixel(HDC hdc, int32_t x, int32_t y) {
    auto surface = surfaceOf(hdc);
    if (!surface || !surface->contains(x, y)) return kInvalidColor;
    return surface->colorOfRaw(surface->rawAt(x, y));
}

ColorRef setPixel(HDC hdc, int32_t x, int32_t y, ColorRef color) {
    auto surface = surfaceOf(hdc);
    if (!surface || !surface->contains(x, y)) return kInvalidColor;
    uint32_t raw = surface->rawOfColor(translateColor(color));
    surface->setRaw(x, y, raw);
    return surface->colorOfRaw(raw);
}

}  // namespace zorbel::gdi
