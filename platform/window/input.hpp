#pragma once
// Input reported by a presentation backend (or a test): posted to the window's queue from any
// thread, delivered at its next pump as the classic messages. False when the window does not
// exist or its queue refuses the messages.

#include <cstdint>

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

// WM_LBUTTONDOWN (wParam MK_LBUTTON) then WM_LBUTTONUP (wParam 0), lParam = x, y in pixels
// relative to the window.
bool deliverClick(WindowHandle window, int32_t x, int32_t y);

// WM_KEYDOWN (lParam 1: one stroke) then WM_KEYUP (lParam 0xC0000001), wParam = key code.
bool deliverKey(WindowHandle window, uint32_t keyCode);

// WM_CLOSE, as when the user closes the window; defaultWindowProc destroys it.
bool deliverClose(WindowHandle window);

}  // namespace zorbel::window
