#include "platform/window/message_queue.hpp"

#include <algorithm>

#include "platform/window/window_dispatch.hpp"
#include "platform/window/window_errors.hpp"

namespace zorbel::window {

// Holds a thread's queue; at thread end the thread's windows go and the queue is closed, which
// answers waiting senders and refuses further posts.
struct ThreadQueueSlot {
    std::shared_ptr<MessageQueue> queue =
        std::make_shared<MessageQueue>(MessageQueue::PassKey{}, std::this_thread::get_id());
    ~ThreadQueueSlot() {
        detail::dropThreadWindows(queue->ownerThread());
        queue->close();
    }
};

namespace {
ThreadQueueSlot& threadSlot() {
    static thread_local ThreadQueueSlot slot;
    return slot;
}
}  // namespace

MessageQueue& MessageQueue::forThisThread() { return *threadSlot().queue; }
std::shared_ptr<MessageQueue> MessageQueue::sharedForThisThread() { return threadSlot().queue; }

MessageQueue::MessageQueue(PassKey, std::thread::id owner) : owner_(owner) {}
MessageQueue::~MessageQueue() = default;

void MessageQueue::requireOwner(const char* what) const {
    if (!onOwnerThread()) raiseWrongThread(what);
}

void MessageQueue::close() {
    std::deque<Posted> dropped;
    std::deque<std::shared_ptr<SentCall>> unanswered;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(posted_);
        unanswered.swap(sent_);
        paints_.clear();
        timers_ = TimerList();
        syncWakeLocked();
    }
    for (const auto& call : unanswered) call->sender->completeCall(*call, std::nullopt);
}

bool MessageQueue::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

bool MessageQueue::post(const Message& message) { return enqueue(Posted{0, message, {}}); }

bool MessageQueue::postTask(std::function<void()> task) {
    if (!task) return false;
    return enqueue(Posted{0, Message{}, std::move(task)});
}

bool MessageQueue::enqueue(Posted item) {
    std::lock_guard lock(mutex_);
    if (closed_ || posted_.size() >= kMaxPostedMessages) return false;
    item.sequence = nextSequence_++;
    posted_.push_back(std::move(item));
    syncWakeLocked();
    return true;
}

bool MessageQueue::hasPending() const {
    std::lock_guard lock(mutex_);
    if (!sent_.empty() || !posted_.empty() || !paints_.empty()) return true;
    const auto due = timers_.nextDue();
    return due && *due <= Clock::now();
}

void MessageQueue::setTimer(WindowHandle window, uintptr_t id, std::chrono::milliseconds interval) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    timers_.set({window, id}, interval, Clock::now());
    syncWakeLocked();
}

bool MessageQueue::killTimer(WindowHandle window, uintptr_t id) {
    std::lock_guard lock(mutex_);
    const bool killed = timers_.kill({window, id});
    syncWakeLocked();
    return killed;
}

void MessageQueue::invalidate(WindowHandle window) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    if (std::find(paints_.begin(), paints_.end(), window) == paints_.end()) paints_.push_back(window);
    syncWakeLocked();
}

void MessageQueue::forgetWindow(WindowHandle window) {
    std::lock_guard lock(mutex_);
    timers_.killWindow(window);
    std::erase(paints_, window);
    syncWakeLocked();
}

void MessageQueue::syncWakeLocked() {
    if (closed_) {
        wake_.disarm();
    } else if (!sent_.empty() || !posted_.empty() || !paints_.empty()) {
        wake_.armNow();
    } else if (const auto due = timers_.nextDue()) {
        wake_.armAt(*due);
    } else {
        wake_.disarm();
    }
}

bool MessageQueue::waitForWork(std::optional<Clock::time_point> deadline) const {
    requireOwner("waitForWork");
    return wake_.waitReadable(deadline);
}

size_t MessageQueue::pumpOnce() {
    requireOwner("pumpOnce");
    struct Resync {
        MessageQueue& queue;
        ~Resync() {
            std::lock_guard lock(queue.mutex_);
            queue.syncWakeLocked();
        }
    } resync{*this};
    size_t delivered = deliverSent();
    delivered += deliverPosted();
    delivered += deliverTimers();
    delivered += deliverPaints();
    return delivered;
}

size_t MessageQueue::deliverPosted() {
    uint64_t limit = 0;
    {
        std::lock_guard lock(mutex_);
        limit = nextSequence_;
    }
    size_t delivered = 0;
    for (;;) {
        Posted item;
        {
            std::lock_guard lock(mutex_);
            if (posted_.empty() || posted_.front().sequence >= limit) break;
            item = std::move(posted_.front());
            posted_.pop_front();
        }
        if (item.task) {
            item.task();
        } else {
            detail::callWindowProc(item.message, *this);
        }
        ++delivered;
    }
    return delivered;
}

size_t MessageQueue::deliverTimers() {
    const auto now = Clock::now();
    std::vector<TimerList::Key> due;
    {
        std::lock_guard lock(mutex_);
        due = timers_.due(now);
    }
    size_t delivered = 0;
    for (const auto& key : due) {
        // Each timer is checked again: an earlier handler may have killed or restarted it,
        // or a nested pump may have fired it already.
        bool fire = false;
        {
            std::lock_guard lock(mutex_);
            fire = timers_.beginFire(key, now, Clock::now());
        }
        if (!fire) continue;
        fireTimer(key);
        ++delivered;
    }
    return delivered;
}

void MessageQueue::fireTimer(TimerList::Key key) {
    struct EndFire {
        MessageQueue& queue;
        TimerList::Key key;
        ~EndFire() {
            std::lock_guard lock(queue.mutex_);
            queue.timers_.endFire(key);
            queue.syncWakeLocked();
        }
    } endFire{*this, key};
    detail::callWindowProc(Message{key.window, WM_TIMER, static_cast<intptr_t>(key.id), 0}, *this);
}

size_t MessageQueue::deliverPaints() {
    std::vector<WindowHandle> windows;
    {
        std::lock_guard lock(mutex_);
        windows.swap(paints_);
    }
    for (size_t i = 0; i < windows.size(); ++i) {
        try {
            detail::paintWindow(windows[i]);
        } catch (...) {
            for (size_t j = i + 1; j < windows.size(); ++j) invalidate(windows[j]);
            throw;
        }
    }
    return windows.size();
}

}  // namespace zorbel::window
