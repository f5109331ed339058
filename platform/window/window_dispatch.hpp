#pragma once
// How the message queue reaches the windows (internal to this folder).

#include <cstdint>
#include <optional>
#include <thread>

#include "platform/window/messages.hpp"

namespace zorbel::window {
class MessageQueue;
}

namespace zorbel::window::detail {

// Calls the procedure of the message's window; nullopt when that window no longer exists or
// does not belong to `queue` (a message handed to the wrong queue is dropped, never run on a
// thread that does not own the window).
std::optional<intptr_t> callWindowProc(const Message& message, const MessageQueue& queue);
// Delivers WM_PAINT to a window and hands its surface to the presentation backend.
void paintWindow(WindowHandle window);
// Removes every window of an ending thread, without calling their procedures: the thread's
// other objects may already be gone.
void dropThreadWindows(std::thread::id thread);

}  // namespace zorbel::window::detail
