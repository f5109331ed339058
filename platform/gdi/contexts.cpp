#include "platform/gdi/contexts.hpp"

#include <utility>

#include "platform/gdi/object_table.hpp"
#include "platform/gdi/surfaces.hpp"
#include "platform/gdi/sys_colors.hpp"

namespace zorbel::gdi {

namespace {

ObjectTable& table() { return ObjectTable::instance(); }

HDC addContext(ContextKind kind, HWND window, std::shared_ptr<Bitmap> surface) {
    auto dc = std::make_shared<DeviceContext>();
    dc->kind = kind;
    dc->window = window;
    dc->surface = std::move(surface);
    return table().add(dc);
}

HGDIOBJ selectBitmap(DeviceContext& dc, HDC hdc, HBITMAP handle, const std::shared_ptr<Bitmap>& bitmap) {
    if (dc.kind != ContextKind::Memory) return 0;
    if (handle != stockBitmap() && bitmap->selectedIn() != 0 && bitmap->selectedIn() != hdc) return 0;
    HBITMAP previous = dc.bitmap;
    if (auto old = table().get<Bitmap>(previous); old && previous != stockBitmap()) old->setSelectedIn(0);
    if (handle != stockBitmap()) bitmap->setSelectedIn(hdc);
    dc.bitmap = handle;
    dc.surface = bitmap;
    return previous;
}

template <class Field>
ColorRef exchangeColor(HDC hdc, Field field, ColorRef color) {
    auto dc = contextOf(hdc);
    if (!dc) return kInvalidColor;
    ColorRef previous = (*dc).*field;
    (*dc).*field = translateColor(color);
    return previous;
}

}  // namespace

HBITMAP stockBitmap() {
    static const HBITMAP handle = table().add(Bitmap::create(1, 1, 1));
    return handle;
}

std::shared_ptr<DeviceContext> contextOf(HDC hdc) { return table().get<DeviceContext>(hdc); }

std::shared_ptr<Bitmap> surfaceOf(HDC hdc) {
    auto dc = contextOf(hdc);
    return dc ? dc->surface : nullptr;
}

HDC createCompatibleDC(HDC hdc) {
    if (hdc != 0 && !contextOf(hdc)) return 0;
    HBITMAP stock = stockBitmap();
    HDC handle = addContext(ContextKind::Memory, 0, table().get<Bitmap>(stock));
    contextOf(handle)->bitmap = stock;
    return handle;
}

HDC createDisplayDC() {
    auto screen = screenSurface();
    return screen ? addContext(ContextKind::Screen, 0, screen) : 0;
}

HDC getDC(HWND window) {
    if (window == 0) return createDisplayDC();
    auto surface = windowSurface(window);
    return surface ? addContext(ContextKind::Window, window, surface) : 0;
}

int releaseDC(HWND window, HDC hdc) {
    auto dc = contextOf(hdc);
    if (!dc || dc->kind == ContextKind::Memory || dc->window != window) return 0;
    return table().remove(hdc) ? 1 : 0;
}

bool deleteDC(HDC hdc) {
    auto dc = contextOf(hdc);
    if (!dc) return false;
    if (auto bitmap = table().get<Bitmap>(dc->bitmap); bitmap && dc->bitmap != stockBitmap())
        bitmap->setSelectedIn(0);
    return table().remove(hdc);
}

HGDIOBJ selectObject(HDC hdc, HGDIOBJ object) {
    auto dc = contextOf(hdc);
    if (!dc) return 0;
    if (auto bitmap = table().get<Bitmap>(object)) return selectBitmap(*dc, hdc, object, bitmap);
    if (table().get<Brush>(object)) return std::exchange(dc->brush, object);
    if (table().get<Palette>(object)) return std::exchange(dc->palette, object);
    return 0;
}

bool deleteObject(HGDIOBJ object) {
    if (object == stockBitmap()) return false;
    if (auto bitmap = table().get<Bitmap>(object); bitmap && bitmap->selectedIn() != 0) return false;
    ObjectType type = table().typeOf(object);
    if (type == ObjectType::None || type == ObjectType::DeviceContext || type == ObjectType::MemoryDC) return false;
    return table().remove(object);
}

ObjectType getObjectType(HGDIOBJ object) { return table().typeOf(object); }

HGDIOBJ getCurrentBitmap(HDC hdc) {
    auto dc = contextOf(hdc);
    return dc ? dc->bitmap : 0;
}

ColorRef setTextColor(HDC hdc, ColorRef color) { return exchangeColor(hdc, &DeviceContext::textColor, color); }
ColorRef setBkColor(HDC hdc, ColorRef color) { return exchangeColor(hdc, &DeviceContext::backgroundColor, color); }

ColorRef getTextColor(HDC hdc) {
    auto dc = contextOf(hdc);
    return dc ? dc->textColor : kInvalidColor;
}

ColorRef getBkColor(HDC hdc) {
    auto dc = contextOf(hdc);
    return dc ? dc->backgroundColor : kInvalidColor;
}

}  // namespace zorbel::gdi
