#include "platform/window/timer_list.hpp"

#include <algorithm>

namespace zorbel::window {

namespace {
// An interval-0 timer is due again 1 ns after it fired: due at every later pump, but never
// twice within the pump that fired it.
constexpr std::chrono::nanoseconds kMinimumStep{1};
}  // namespace

TimerList::Timer* TimerList::find(Key key) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.key == key; });
    return it == timers_.end() ? nullptr : &*it;
}

bool TimerList::isFiring(Key key) const {
    return std::find(firing_.begin(), firing_.end(), key) != firing_.end();
}

void TimerList::set(Key key, std::chrono::milliseconds interval, Clock::time_point now) {
    const auto step = std::max<std::chrono::nanoseconds>(interval, kMinimumStep);
    if (Timer* timer = find(key)) {
        timer->interval = interval;
        timer->due = now + step;
        return;
    }
    timers_.push_back(Timer{key, interval, now + step});
}

bool TimerList::kill(Key key) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.key == key; });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    return true;
}

void TimerList::killWindow(WindowHandle window) {
    std::erase_if(timers_, [&](const Timer& t) { return t.key.window == window; });
}

std::vector<TimerList::Key> TimerList::due(Clock::time_point now) const {
    std::vector<const Timer*> ready;
    for (const Timer& timer : timers_) {
        if (timer.due <= now && !isFiring(timer.key)) ready.push_back(&timer);
    }
    std::stable_sort(ready.begin(), ready.end(), [](const Timer* a, const Timer* b) { return a->due < b->due; });
    std::vector<Key> keys;
    keys.reserve(ready.size());
    for (const Timer* timer : ready) keys.push_back(timer->key);
    return keys;
}

bool TimerList::beginFire(Key key, Clock::time_point dueAt, Clock::time_point now) {
    Timer* timer = find(key);
    if (timer == nullptr || timer->due > dueAt || isFiring(key)) return false;
    timer->due = now + std::max(timer->interval, kMinimumStep);
    firing_.push_back(key);
    return true;
}

void TimerList::endFire(Key key) {
    auto it = std::find(firing_.begin(), firing_.end(), key);
    if (it != firing_.end()) firing_.erase(it);
}

std::optional<TimerList::Clock::time_point> TimerList::nextDue() const {
    std::optional<Clock::time_point> earliest;
    for (const Timer& timer : timers_) {
        if (isFiring(timer.key)) continue;
        if (!earliest || timer.due < *earliest) earliest = timer.due;
    }
    return earliest;
}

}  // namespace zorbel::window
