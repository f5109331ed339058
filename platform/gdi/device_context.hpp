#pragma once
// DeviceContext: the drawing state of one context. A memory context draws into the bitmap
// selected in it (a 1x1 monochrome bitmap at first); the screen context and window contexts
// draw into a surface they do not own.

#include <memory>

#include "platform/gdi/bitmap.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

enum class ContextKind { Memory, Screen, Window };

struct DeviceContext {
    ContextKind kind = ContextKind::Memory;
    HWND window = 0;
    std::shared_ptr<Bitmap> surface;  // what the context draws into
    HBITMAP bitmap = 0;               // handle of the selected bitmap (memory contexts)
    HBRUSH brush = 0;
    HPALETTE palette = 0;
    ColorRef textColor = rgb(0, 0, 0);
    ColorRef backgroundColor = rgb(255, 255, 255);
};

}  // namespace zorbel::gdi
