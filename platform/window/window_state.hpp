#pragma once
// The state of a window: class name, title, parent, visibility, position, size and pixel
// surface. Queries work from any thread; changes that send messages to the window are for its
// owner thread (others raise kWrongThreadError). A handle that names no window raises
// kInvalidWindowError, except for isWindowVisible, which answers false.

#include <memory>
#include <string>
#include <thread>

#include "platform/window/geometry.hpp"
#include "platform/window/surface.hpp"
#include "platform/window/window_handle.hpp"

namespace zorbel::window {

std::string windowClassName(WindowHandle window);
std::string windowTitle(WindowHandle window);
void setWindowTitle(WindowHandle window, std::string title);
WindowHandle windowParent(WindowHandle window);  // kNoWindow for top-level windows
std::thread::id windowThread(WindowHandle window);

// The window's own flag; a hidden parent does not hide its children here.
bool isWindowVisible(WindowHandle window);

// Owner thread. Returns the previous visibility. On a change the backend is told, then
// WM_SHOWWINDOW (wParam 1 shown, 0 hidden) reaches the procedure, which already sees the new
// state; showing also invalidates the window.
bool showWindow(WindowHandle window, bool visible);

WindowRect windowRect(WindowHandle window);
// Owner thread. Width and height are clamped to 0..kMaxSurfaceExtent. A new position sends
// WM_MOVE (lParam x, y); a new size resizes the surface, sends WM_SIZE (wParam 0, lParam
// width, height) and invalidates the window.
void moveWindow(WindowHandle window, const WindowRect& rect);

// The window's pixels, sized like the window. Draw into it on the owner thread (normally
// while handling WM_PAINT); the presentation backend shows it after each paint.
std::shared_ptr<Surface> windowSurface(WindowHandle window);

// Any thread. Asks for one WM_PAINT at the owner's next pump, however often it is called
// before then; an invalidation during WM_PAINT asks for the next pump's paint.
void invalidateWindow(WindowHandle window);

}  // namespace zorbel::window
