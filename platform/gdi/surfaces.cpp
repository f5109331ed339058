#include "platform/gdi/surfaces.hpp"

#include <mutex>

namespace zorbel::gdi {

namespace {

struct Providers {
    std::mutex mutex;
    ScreenProvider screen;
    WindowSurfaceProvider window;
    ForegroundWindowProvider foreground;
    std::shared_ptr<Bitmap> virtualScreen;
    int32_t screenWidth = 1024;
    int32_t screenHeight = 768;
};

Providers& providers() {
    static Providers p;
    return p;
}

}  // namespace

std::shared_ptr<Bitmap> screenSurface() {
    Providers& p = providers();
    std::lock_guard lock(p.mutex);
    if (p.screen) return p.screen();
    if (!p.virtualScreen) p.virtualScreen = Bitmap::create(p.screenWidth, p.screenHeight, 32);
    return p.virtualScreen;
}

void setScreenProvider(ScreenProvider provider) {
    Providers& p = providers();
    std::lock_guard lock(p.mutex);
    p.screen = std::move(provider);
}

void setVirtualScreenSize(int32_t width, int32_t height) {
    Providers& p = providers();
    std::lock_guard lock(p.mutex);
    p.screenWidth = width, p.screenHeight = height;
    p.virtualScreen.reset();
}

std::shared_ptr<Bitmap> windowSurface(HWND window) {
    Providers& p = providers();
    std::lock_guard lock(p.mutex);
    return p.window ? p.window(window) : nullptr;
}

void setWindowSurfaceProvider(WindowSurfaceProvider provider) {
    Providers& p = providers();
    std::lock_guard lock(p.mutex);
    p.window = std::move(provider);
}

HWND foregroundWindow() {
    Providers& p = providers();
    std::lock_guard lock(p.mutex);
    return p.foreground ? p.foreground() : 0;
}

void setForegroundWindowProvider(ForegroundWindowProvider provider) {
    Providers& p = providers();
    std::lock_guard lock(p.mutex);
    p.foreground = std::move(provider);
}

}  // namespace zorbel::gdi
