#include "platform/window/wake_timer.hpp"

#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/window/window_errors.hpp"

namespace zorbel::window {

namespace {

timespec toTimespec(std::chrono::nanoseconds sinceEpoch) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
    return timespec{static_cast<time_t>(seconds.count()),
                    static_cast<long>((sinceEpoch - seconds).count())};
}

// Milliseconds until the deadline, rounded up so a wait never ends early; -1 for no limit.
int pollTimeout(std::optional<WakeTimer::Clock::time_point> deadline) {
    if (!deadline) return -1;
    const auto left = *deadline - WakeTimer::Clock::now();
    if (left <= std::chrono::nanoseconds::zero()) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

}  // namespace

WakeTimer::WakeTimer() : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
    if (fd_ < 0) {
        throw Error(kQueueSetupError, std::string("Cannot create the message queue descriptor: ") +
                                          std::strerror(errno),
                    kWindowErrorSource);
    }
}

WakeTimer::~WakeTimer() { ::close(fd_); }

void WakeTimer::armNow() {
    if (state_ == State::Now) return;
    // Absolute time 1 ns on the monotonic clock lies in the past: the timer expires at once.
    set(Clock::time_point(std::chrono::nanoseconds(1)));
    state_ = State::Now;
}

void WakeTimer::armAt(Clock::time_point due) {
    if (state_ == State::At && armedAt_ == due) return;
    set(due);
    state_ = State::At;
    armedAt_ = due;
}

void WakeTimer::disarm() {
    if (state_ == State::Disarmed) return;
    set(std::nullopt);
    state_ = State::Disarmed;
}

void WakeTimer::set(std::optional<Clock::time_point> due) {
    itimerspec timing{};
    if (due) {
        const auto ns = std::max(due->time_since_epoch(), std::chrono::nanoseconds(1));
        timing.it_value = toTimespec(std::chrono::duration_cast<std::chrono::nanoseconds>(ns));
    }
    // Arming again also clears a past expiry, so the descriptor is readable only while the
    // new state says so. With valid arguments this call cannot fail.
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &timing, nullptr);
}

bool WakeTimer::waitReadable(std::optional<Clock::time_point> deadline) const {
    for (;;) {
        pollfd entry{fd_, POLLIN, 0};
        const int ready = ::poll(&entry, 1, pollTimeout(deadline));
        if (ready > 0) return true;
        if (ready == 0) {
            if (!deadline || Clock::now() >= *deadline) return false;
            continue;  // poll() rounds to whole milliseconds; wait out the rest
        }
        if (errno != EINTR) return false;
    }
}

}  // namespace zorbel::window
