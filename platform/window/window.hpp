#pragma once
// Windows: creation and destruction, and the window procedure that receives their messages.
// A window belongs to the thread that created it; its messages, timers and paints are
// delivered on that thread while its queue is pumped. Its state lives in window_state.hpp.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/window/geometry.hpp"
#include "platform/window/window_handle.hpp"

namespace zorbel::window {

using WindowProc = std::function<intptr_t(WindowHandle window, uint32_t message, intptr_t wParam, intptr_t lParam)>;

struct WindowOptions {
    std::string className;            // required; compared without letter case by lookups
    std::string title;
    WindowRect rect;                  // pixels; the surface gets this size
    WindowHandle parent = kNoWindow;  // kNoWindow for a top-level window
    WindowProc proc;                  // empty: defaultWindowProc
};

// Creates a hidden window owned by the calling thread and sends it WM_CREATE before returning.
// Error 5 for an empty class name, kInvalidWindowError for a parent that does not exist.
WindowHandle createWindow(WindowOptions options);

// Owner thread only. Sends WM_DESTROY, destroys the child windows, sends WM_NCDESTROY, then
// drops the window with its timers and pending paint; messages still queued for it are
// discarded. False when the handle names no window (or the window is already being destroyed).
bool destroyWindow(WindowHandle window);

bool isWindow(WindowHandle window);  // any thread

// What a procedure does with the messages it does not handle: WM_CLOSE destroys the window,
// everything else answers 0.
intptr_t defaultWindowProc(WindowHandle window, uint32_t message, intptr_t wParam, intptr_t lParam);

// Replaces the procedure (empty: defaultWindowProc) and returns the previous one, so a
// handler can be put in front of a window and chain to the old procedure. A call already
// running keeps the procedure it started with. Any thread.
WindowProc setWindowProc(WindowHandle window, WindowProc proc);

}  // namespace zorbel::window
