#include "platform/gdi/bitmaps.hpp"

#include <algorithm>
#include <cstring>

#include "platform/gdi/contexts.hpp"
#include "platform/gdi/object_table.hpp"

namespace zorbel::gdi {

namespace {

size_t tableSizeFor(const BitmapInfoHeader& header) {
    size_t full = header.bitCount <= 8 ? (size_t{1} << header.bitCount) : 0;
    return header.clrUsed != 0 ? std::min<size_t>(header.clrUsed, full) : full;
}

void copyTopDownRows(Bitmap& bitmap, const uint8_t* bits) {
    for (int32_t y = 0; y < bitmap.height(); ++y)
        std::memcpy(bitmap.row(y), bits + static_cast<size_t>(y) * bitmap.stride(), bitmap.stride());
}

}  // namespace

HBITMAP addBitmap(std::shared_ptr<Bitmap> bitmap) { return bitmap ? ObjectTable::instance().add(bitmap) : 0; }

std::shared_ptr<Bitmap> bitmapOf(HBITMAP handle) { return ObjectTable::instance().get<Bitmap>(handle); }

HBITMAP createBitmap(int32_t width, int32_t height, uint16_t bitCount, const void* bits) {
    auto bitmap = Bitmap::create(width, height, bitCount);
    if (!bitmap) return 0;
    if (bits) copyTopDownRows(*bitmap, static_cast<const uint8_t*>(bits));
    return addBitmap(bitmap);
}

HBITMAP createCompatibleBitmap(HDC hdc, int32_t width, int32_t height) {
    auto surface = surfaceOf(hdc);
    if (hdc != 0 && !surface) return 0;
    uint16_t bitCount = surface ? surface->bitCount() : 32;
    auto bitmap = Bitmap::create(width, height, bitCount);
    if (!bitmap) return 0;
    if (surface && bitCount <= 8 && bitCount > 1) bitmap->colorTable() = surface->colorTable();
    return addBitmap(bitmap);
}

HBITMAP createDIBSection(HDC hdc, const BitmapInfoHeader& header, const RgbQuad* colors, void** bits) {
    if (bits) *bits = nullptr;
    if (hdc != 0 && !contextOf(hdc)) return 0;
    if (header.size < 40 || header.planes != 1 || header.compression != 0 || header.height == 0) return 0;
    if (header.height == INT32_MIN) return 0;
    bool topDown = header.height < 0;
    auto bitmap = Bitmap::create(header.width, topDown ? -header.height : header.height, header.bitCount, topDown);
    if (!bitmap) return 0;
    bitmap->setDibSection(true);
    size_t n = tableSizeFor(header);
    if (colors && n > 0) std::copy(colors, colors + n, bitmap->colorTable().begin());
    if (bits) *bits = bitmap->bits();
    return addBitmap(bitmap);
}

bool getBitmapDescription(HBITMAP handle, BitmapDescription& out) {
    auto bitmap = bitmapOf(handle);
    if (!bitmap) return false;
    out.width = bitmap->width();
    out.height = bitmap->height();
    out.widthBytes = static_cast<int32_t>(bitmap->stride());
    out.planes = 1;
    out.bitsPixel = bitmap->bitCount();
    out.bits = bitmap->isDibSection() ? bitmap->bits() : nullptr;
    return true;
}

uint32_t getDIBColorTable(HDC hdc, uint32_t start, uint32_t count, RgbQuad* out) {
    auto surface = surfaceOf(hdc);
    if (!surface || !surface->isDibSection() || !out) return 0;
    const auto& table = surface->colorTable();
    if (start >= table.size()) return 0;
    uint32_t n = std::min<uint32_t>(count, static_cast<uint32_t>(table.size()) - start);
    std::copy_n(table.begin() + start, n, out);
    return n;
}

uint32_t setDIBColorTable(HDC hdc, uint32_t start, uint32_t count, const RgbQuad* in) {
    auto surface = surfaceOf(hdc);
    if (!surface || !surface->isDibSection() || !in) return 0;
    auto& table = surface->colorTable();
    if (start >= table.size()) return 0;
    uint32_t n = std::min<uint32_t>(count, static_cast<uint32_t>(table.size()) - start);
    std::copy_n(in, n, table.begin() + start);
    return n;
}

int32_t getDIBits(HBITMAP handle, uint32_t start, uint32_t count, void* out, size_t outBytes,
                  const BitmapInfoHeader& header, const RgbQuad* colors) {
    auto source = bitmapOf(handle);
    if (!source || !out || header.height <= 0 || header.width != source->width()) return 0;
    auto target = Bitmap::create(header.width, header.height, header.bitCount);
    if (!target || start >= static_cast<uint32_t>(source->height())) return 0;
    size_t n = tableSizeFor(header);
    if (colors && n > 0) std::copy(colors, colors + n, target->colorTable().begin());
    uint32_t lines = std::min<uint32_t>(count, static_cast<uint32_t>(std::min(source->height(), header.height)) - start);
    if (static_cast<size_t>(start + lines) * target->stride() > outBytes) return 0;
    auto* dst = static_cast<uint8_t*>(out);
    for (uint32_t line = start; line < start + lines; ++line) {
        int32_t sy = source->height() - 1 - static_cast<int32_t>(line);
        int32_t ty = target->height() - 1 - static_cast<int32_t>(line);
        for (int32_t x = 0; x < target->width(); ++x)
            target->setRaw(x, ty, target->rawOfColor(source->colorOfRaw(source->rawAt(x, sy))));
        std::memcpy(dst + line * target->stride(), target->row(ty), target->stride());
    }
    return static_cast<int32_t>(lines);
}

}  // namespace zorbel::gdi
