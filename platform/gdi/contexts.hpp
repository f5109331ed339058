#pragma once
// Device contexts: memory contexts, the screen context and window contexts, selection of
// objects into them and deletion of graphics objects. Failures return 0 / false as the
// classic calls do.

#include <memory>

#include "platform/gdi/device_context.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

// A memory context compatible with hdc (0 = the screen), holding the stock 1x1 monochrome
// bitmap until another bitmap is selected.
HDC createCompatibleDC(HDC hdc);
// A context on the whole screen, as opened for the "DISPLAY" device; free with deleteDC.
HDC createDisplayDC();
// The context of a window's client area (0 = the screen); free with releaseDC. Returns 0 for
// a window without a surface.
HDC getDC(HWND window);
int releaseDC(HWND window, HDC hdc);
bool deleteDC(HDC hdc);

// Selects a bitmap, brush or palette into a context and returns the handle it replaced, or 0
// on failure (unknown handle, a bitmap already selected in another context, a bitmap into a
// non-memory context, a format the context cannot take).
HGDIOBJ selectObject(HDC hdc, HGDIOBJ object);
// Deletes a bitmap, brush, palette or icon. Refuses (false) objects selected in a context
// and the stock objects.
bool deleteObject(HGDIOBJ object);
ObjectType getObjectType(HGDIOBJ object);
HGDIOBJ getCurrentBitmap(HDC hdc);

ColorRef setTextColor(HDC hdc, ColorRef color);   // returns the previous one, kInvalidColor on failure
ColorRef setBkColor(HDC hdc, ColorRef color);
ColorRef getTextColor(HDC hdc);
ColorRef getBkColor(HDC hdc);

// The context's state and its drawing surface, nullptr for an unknown handle.
std::shared_ptr<DeviceContext> contextOf(HDC hdc);
std::shared_ptr<Bitmap> surfaceOf(HDC hdc);

// The 1x1 monochrome bitmap every new memory context holds.
HBITMAP stockBitmap();

}  // namespace zorbel::gdi
