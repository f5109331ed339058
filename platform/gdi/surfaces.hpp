#pragma once
// Where the screen context and window contexts draw. The screen is a virtual screen of
// 1024 x 768 pixels at 32 bits unless a provider is installed (for example one that hands
// out the window layer's screen); window contexts draw into the surface a window-surface
// provider returns, and none exists without one.

#include <functional>
#include <memory>

#include "platform/gdi/bitmap.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

using ScreenProvider = std::function<std::shared_ptr<Bitmap>()>;
using WindowSurfaceProvider = std::function<std::shared_ptr<Bitmap>(HWND window)>;
using ForegroundWindowProvider = std::function<HWND()>;

// The bitmap behind the screen context.
std::shared_ptr<Bitmap> screenSurface();
// Replaces the screen's bitmap source; an empty function restores the built-in virtual screen.
void setScreenProvider(ScreenProvider provider);
// Resizes the built-in virtual screen (tests, hosts without a display).
void setVirtualScreenSize(int32_t width, int32_t height);

std::shared_ptr<Bitmap> windowSurface(HWND window);
void setWindowSurfaceProvider(WindowSurfaceProvider provider);

// The window that has the keyboard focus, 0 when none (or no provider is installed).
HWND foregroundWindow();
void setForegroundWindowProvider(ForegroundWindowProvider provider);

}  // namespace zorbel::gdi
