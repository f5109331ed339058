#pragma once
// One hidden top-level window per thread, for code that needs a window to carry timers or
// receive messages without showing anything. Created on the thread's first call (again if it
// was destroyed) and dropped when the thread ends. Its procedure is defaultWindowProc until a
// user puts its own in front with setWindowProc.

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

inline constexpr const char* kDefaultWindowClass = "ZorbelDefaultWindow";

WindowHandle defaultWindow();

}  // namespace zorbel::window
