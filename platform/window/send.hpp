#pragma once
// Posting and sending messages to windows, from any thread.

#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

// Queues the message for the window's thread; it runs at that thread's next pump. False when
// the window does not exist or its queue is full or closed.
bool postMessage(WindowHandle window, uint32_t message, intptr_t wParam = 0, intptr_t lParam = 0);

// On the window's own thread: calls its procedure at once and returns the result. From another
// thread: hands the message to the window's queue and waits until the owner pumps it; while
// waiting, messages sent to the caller's own queue are answered. 0 when the window is gone.
intptr_t sendMessage(WindowHandle window, uint32_t message, intptr_t wParam = 0, intptr_t lParam = 0);

// As sendMessage, but nullopt when the window is gone or the owner has not answered within
// the timeout (the message may still be delivered later; its result is then dropped).
std::optional<intptr_t> sendMessageTimeout(WindowHandle window, uint32_t message, intptr_t wParam,
                                           intptr_t lParam, std::chrono::milliseconds timeout);

}  // namespace zorbel::window
