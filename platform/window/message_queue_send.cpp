// Messages sent to a window of another thread: the call travels through the target queue and
// the sender waits for its result. While waiting, the sender answers messages sent to its
// own queue, so two threads sending to each other do not dead-lock.

#include "platform/window/message_queue.hpp"

#include "platform/window/window_dispatch.hpp"

namespace zorbel::window {

std::optional<intptr_t> MessageQueue::sendFromOtherThread(const Message& message,
                                                          std::optional<Clock::time_point> deadline) {
    auto sender = sharedForThisThread();
    auto call = std::make_shared<SentCall>(SentCall{message, sender, false, std::nullopt});
    if (!enqueueSent(call)) return std::nullopt;
    return sender->waitForReply(*call, deadline);
}

bool MessageQueue::enqueueSent(const std::shared_ptr<SentCall>& call) {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    sent_.push_back(call);
    syncWakeLocked();
    replyOrSent_.notify_all();
    return true;
}

void MessageQueue::completeCall(SentCall& call, std::optional<intptr_t> result) {
    std::lock_guard lock(mutex_);
    call.done = true;
    call.result = result;
    replyOrSent_.notify_all();
}

std::optional<intptr_t> MessageQueue::waitForReply(SentCall& call, std::optional<Clock::time_point> deadline) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (call.done) return call.result;
        if (!sent_.empty()) {
            lock.unlock();
            deliverSent();
            lock.lock();
            continue;
        }
        if (!deadline) {
            replyOrSent_.wait(lock);
        } else if (replyOrSent_.wait_until(lock, *deadline) == std::cv_status::timeout) {
            if (call.done) return call.result;
            if (sent_.empty()) return std::nullopt;  // the late result is dropped
        }
    }
}

size_t MessageQueue::deliverSent() {
    size_t pending = 0;
    {
        std::lock_guard lock(mutex_);
        pending = sent_.size();
    }
    size_t delivered = 0;
    for (; delivered < pending; ++delivered) {
        std::shared_ptr<SentCall> call;
        {
            std::lock_guard lock(mutex_);
            if (sent_.empty()) break;
            call = std::move(sent_.front());
            sent_.pop_front();
        }
        std::optional<intptr_t> result;
        try {
            result = detail::callWindowProc(call->message, *this);
        } catch (...) {
            call->sender->completeCall(*call, std::nullopt);
            throw;
        }
        call->sender->completeCall(*call, result);
    }
    std::lock_guard lock(mutex_);
    syncWakeLocked();
    return delivered;
}

}  // namespace zorbel::window
