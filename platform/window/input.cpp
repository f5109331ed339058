#include "platform/window/input.hpp"

#include "platform/window/messages.hpp"
#include "platform/window/send.hpp"

namespace zorbel::window {

namespace {
constexpr intptr_t kKeyDownFlags = 1;
constexpr intptr_t kKeyUpFlags = static_cast<intptr_t>(0xC0000001u);
}  // namespace

bool deliverClick(WindowHandle window, int32_t x, int32_t y) {
    const intptr_t where = makeLParam(x, y);
    return postMessage(window, WM_LBUTTONDOWN, MK_LBUTTON, where) && postMessage(window, WM_LBUTTONUP, 0, where);
}

bool deliverKey(WindowHandle window, uint32_t keyCode) {
    const auto code = static_cast<intptr_t>(keyCode);
    return postMessage(window, WM_KEYDOWN, code, kKeyDownFlags) && postMessage(window, WM_KEYUP, code, kKeyUpFlags);
}

bool deliverClose(WindowHandle window) { return postMessage(window, WM_CLOSE); }

}  // namespace zorbel::window
