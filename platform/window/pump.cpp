#include "platform/window/pump.hpp"

#include "platform/window/message_queue.hpp"
#include "platform/window/window.hpp"
#include "platform/window/window_state.hpp"

namespace zorbel::window {

size_t pumpOnce() { return MessageQueue::forThisThread().pumpOnce(); }

bool runUntil(const std::function<bool()>& done, std::optional<std::chrono::milliseconds> timeout) {
    MessageQueue& queue = MessageQueue::forThisThread();
    std::optional<MessageQueue::Clock::time_point> deadline;
    if (timeout) deadline = MessageQueue::Clock::now() + *timeout;
    for (;;) {
        if (done()) return true;
        queue.pumpOnce();
        if (done()) return true;
        if (deadline && MessageQueue::Clock::now() >= *deadline) return false;
        queue.waitForWork(deadline);
    }
}

bool runModal(WindowHandle window, std::optional<std::chrono::milliseconds> timeout) {
    showWindow(window, true);
    return runUntil([window] { return !isWindowVisible(window); }, timeout);
}

int queueDescriptor() { return MessageQueue::forThisThread().descriptor(); }

bool hasPendingMessages() { return MessageQueue::forThisThread().hasPending(); }

}  // namespace zorbel::window
