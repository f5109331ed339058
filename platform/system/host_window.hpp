#pragma once
// The window operations of the utility library. Windows belong to platform/window; this layer
// only offers a hook through which that layer (or a host) supplies the default window, so the
// system library does not depend on the window library.

#include <cstdint>
#include <functional>

namespace zorbel::system {

// A window handle as the scriptable members carry it (a 32-bit value; 0 is no window).
using WindowHandle = int32_t;
using DefaultWindowProvider = std::function<WindowHandle()>;

// Installs the provider of the default window (an empty function removes it). Process-wide.
void setDefaultWindowProvider(DefaultWindowProvider provider);
// A top-level window of the host from the provider, or 0 while none is installed.
WindowHandle defaultWindow();

// Bringing a window forward is left to the window layer; this call does nothing.
void activateWindow(WindowHandle window);

}  // namespace zorbel::system
