#include "platform/system/host_window.hpp"

#include "platform/window/default_window.hpp"

namespace zorbel::system {

WindowHandle defaultWindow() { return static_cast<WindowHandle>(window::defaultWindow()); }

void activateWindow(WindowHandle) {}

}  // namespace zorbel::system
