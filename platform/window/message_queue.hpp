#pragma once
// The message queue of one thread, created on the thread's first use and closed when the
// thread ends. It holds messages posted from any thread, messages sent from other threads
// (their senders wait for the result), the windows waiting for a paint and the timers of the
// thread's windows. Nothing is delivered until the owner thread pumps the queue; see
// README.md in this folder for the pumping and timer rules.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/window/messages.hpp"
#include "platform/window/timer_list.hpp"
#include "platform/window/wake_timer.hpp"

namespace zorbel::window {

// Most posted messages a queue holds; posting to a full queue fails, as on the classic platform.
inline constexpr size_t kMaxPostedMessages = 10000;

class MessageQueue {
public:
    using Clock = std::chrono::steady_clock;

    // The calling thread's queue (created on first use). The shared form may be handed to
    // other threads; it stays valid after the owner ends, but then refuses new work.
    static MessageQueue& forThisThread();
    static std::shared_ptr<MessageQueue> sharedForThisThread();

    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    std::thread::id ownerThread() const { return owner_; }
    bool onOwnerThread() const { return std::this_thread::get_id() == owner_; }

    // Readable (POLLIN) while sent or posted messages, paints or due timers are pending.
    // Hosts poll it and then call pumpOnce() on the owner thread; they never read it.
    int descriptor() const { return wake_.descriptor(); }

    // --- any thread ---
    // False when the queue is closed or full. The message goes to its window's procedure; a
    // message for a window of another queue is dropped at delivery (postMessage finds the
    // right queue).
    bool post(const Message& message);
    // Runs the task on the owner thread during a pump, in order with posted messages.
    bool postTask(std::function<void()> task);
    bool hasPending() const;
    bool closed() const;
    void setTimer(WindowHandle window, uintptr_t id, std::chrono::milliseconds interval);
    bool killTimer(WindowHandle window, uintptr_t id);
    void invalidate(WindowHandle window);  // one WM_PAINT at the next pump
    void forgetWindow(WindowHandle window);  // its timers and pending paint go

    // Delivers a message to a window of this queue from another thread and waits on the
    // calling thread, which meanwhile answers messages sent to its own queue. nullopt when
    // the window or queue went away first or the deadline passed.
    std::optional<intptr_t> sendFromOtherThread(const Message& message,
                                                std::optional<Clock::time_point> deadline);

    // --- owner thread only (others raise kWrongThreadError) ---
    // Delivers what was pending when it started: sent messages, posted messages and tasks,
    // due timers, then paints. Work that arrives meanwhile waits for the next pump. Returns
    // the number of deliveries. An exception from a window procedure leaves the pump and
    // reaches the caller; undelivered work stays queued.
    size_t pumpOnce();
    // Sleeps until the descriptor is readable or the deadline passes; true when readable.
    bool waitForWork(std::optional<Clock::time_point> deadline) const;

private:
    struct Posted {
        uint64_t sequence = 0;
        Message message;
        std::function<void()> task;
    };
    struct SentCall {
        Message message;
        std::shared_ptr<MessageQueue> sender;
        bool done = false;  // guarded by the sender's mutex
        std::optional<intptr_t> result;
    };
    struct PassKey {};
    friend struct ThreadQueueSlot;

public:
    MessageQueue(PassKey, std::thread::id owner);

private:
    void requireOwner(const char* what) const;
    void close();
    bool enqueue(Posted item);
    bool enqueueSent(const std::shared_ptr<SentCall>& call);
    void completeCall(SentCall& call, std::optional<intptr_t> result);
    std::optional<intptr_t> waitForReply(SentCall& call, std::optional<Clock::time_point> deadline);
    size_t deliverSent();
    size_t deliverPosted();
    size_t deliverTimers();
    size_t deliverPaints();
    void fireTimer(TimerList::Key key);
    void syncWakeLocked();

    const std::thread::id owner_;
    mutable std::mutex mutex_;
    std::condition_variable replyOrSent_;  // a reply arrived, or a message was sent to us
    bool closed_ = false;
    uint64_t nextSequence_ = 0;
    std::deque<Posted> posted_;
    std::deque<std::shared_ptr<SentCall>> sent_;
    std::vector<WindowHandle> paints_;
    TimerList timers_;
    WakeTimer wake_;
};

}  // namespace zorbel::window
