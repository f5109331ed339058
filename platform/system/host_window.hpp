#pragma once
// The window operations of the utility library, over platform/window.

#include <cstdint>

namespace zorbel::system {

// A window handle as the scriptable members carry it (a 32-bit value; 0 is no window).
using WindowHandle = int32_t;

// The calling thread's hidden top-level window of the library, made on first use.
WindowHandle defaultWindow();
// Bringing a window forward is left to the presentation layer; this call does nothing.
void activateWindow(WindowHandle window);

}  // namespace zorbel::system
