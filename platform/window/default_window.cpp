#include "platform/window/default_window.hpp"

#include <thread>

#include "platform/window/window.hpp"
#include "platform/window/window_state.hpp"

namespace zorbel::window {

WindowHandle defaultWindow() {
    static thread_local WindowHandle handle = kNoWindow;
    if (handle == kNoWindow || !isWindow(handle) || windowThread(handle) != std::this_thread::get_id()) {
        handle = createWindow(WindowOptions{kDefaultWindowClass, "", {}, kNoWindow, {}});
    }
    return handle;
}

}  // namespace zorbel::window
