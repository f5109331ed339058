#pragma once
// The readable descriptor of a message queue: a monotonic timerfd that owns its descriptor.
// The queue arms it to expire at once while work is pending, at the next timer's due time
// otherwise, and disarms it when nothing is left. An expired timerfd stays readable until it
// is armed again, which is what lets a host poll() it level-triggered without reading it.
// Not thread-safe: the queue calls it under its own lock.

#include <chrono>
#include <optional>

namespace zorbel::window {

class WakeTimer {
public:
    using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC, the timerfd's clock

    WakeTimer();  // raises kQueueSetupError when the descriptor cannot be made
    ~WakeTimer();
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;

    int descriptor() const { return fd_; }

    void armNow();
    void armAt(Clock::time_point due);
    void disarm();

    // Waits until the descriptor is readable or the deadline passes (no deadline: no limit).
    // True when readable.
    bool waitReadable(std::optional<Clock::time_point> deadline) const;

private:
    void set(std::optional<Clock::time_point> due);

    int fd_ = -1;
    // What the timerfd is armed to now, to skip system calls that change nothing.
    enum class State { Disarmed, Now, At } state_ = State::Disarmed;
    Clock::time_point armedAt_{};
};

}  // namespace zorbel::window
