#pragma once
// The timers of one message queue: when each is due and which ones are firing right now.
// A timer that is firing (its WM_TIMER call is still on the stack) is not due again until
// that call returns, so a nested pump inside the handler never re-enters it.
// Not thread-safe: the queue calls it under its own lock.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

class TimerList {
public:
    using Clock = std::chrono::steady_clock;

    struct Key {
        WindowHandle window = kNoWindow;
        uintptr_t id = 0;
        bool operator==(const Key&) const = default;
    };

    // Starts the timer, or restarts it with the new interval: first due one interval from now.
    void set(Key key, std::chrono::milliseconds interval, Clock::time_point now);
    bool kill(Key key);
    void killWindow(WindowHandle window);

    // The timers due at `now` that are not firing, earliest first.
    std::vector<Key> due(Clock::time_point now) const;
    // Right before a timer fires: false when it is gone, firing, or no longer due at `dueAt`
    // (restarted, or fired by a nested pump). Otherwise marks it firing and schedules its next
    // tick one interval after `now`; missed ticks are not made up.
    bool beginFire(Key key, Clock::time_point dueAt, Clock::time_point now);
    void endFire(Key key);

    // The earliest due time among the timers that are not firing.
    std::optional<Clock::time_point> nextDue() const;
    bool empty() const { return timers_.empty(); }

private:
    struct Timer {
        Key key;
        std::chrono::nanoseconds interval;
        Clock::time_point due;
    };
    Timer* find(Key key);
    bool isFiring(Key key) const;

    std::vector<Timer> timers_;
    std::vector<Key> firing_;  // one entry per WM_TIMER call on the stack
};

}  // namespace zorbel::window
