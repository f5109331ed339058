#include "platform/window/window_errors.hpp"

#include <cstdio>
#include <string>

namespace zorbel::window {

void raiseInvalidWindow(uint32_t handle) {
    char text[64];
    std::snprintf(text, sizeof text, "Invalid window handle 0x%08X", handle);
    throw Error(kInvalidWindowError, text, kWindowErrorSource);
}

void raiseWrongThread(const char* what) {
    throw Error(kWrongThreadError, std::string(what) + " must be called on the window's own thread",
                kWindowErrorSource);
}

}  // namespace zorbel::window
