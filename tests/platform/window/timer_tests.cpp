// Timers: they fire only while the queue is pumped, never re-enter their own handler, and
// neither interval 0 nor the longest interval can hang the queue.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "frame/error.hpp"
#include "platform/window/pump.hpp"
#include "platform/window/timer.hpp"
#include "tests/platform/window/recording_window.hpp"

namespace zorbel::window {
namespace {

using namespace std::chrono_literals;
using testing::RecordingWindow;

TEST(WindowTimerInterval, ClampsAndRejects) {
    struct Case {
        int64_t given;
        int64_t expected;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{500, 500}, Case{kMaxTimerInterval, kMaxTimerInterval},
                          Case{kMaxTimerInterval + 1, kMaxTimerInterval}, Case{INT64_MAX, kMaxTimerInterval}}) {
        EXPECT_EQ(timerInterval(c.given).count(), c.expected) << c.given;
    }
    try {
        timerInterval(-1);
        FAIL() << "a negative interval was taken";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kInvalidCall);
    }
}

TEST(WindowTimer, FiresOnlyWhilePumping) {
    RecordingWindow window;
    setTimer(window.handle(), 7, 10);
    std::this_thread::sleep_for(40ms);
    EXPECT_EQ(window.count(WM_TIMER), 0u) << "a timer fired without a pump";
    EXPECT_TRUE(hasPendingMessages());

    pumpOnce();
    ASSERT_EQ(window.count(WM_TIMER), 1u) << "missed ticks are not made up";
    EXPECT_EQ(window.received().back().wParam, 7);

    ASSERT_TRUE(runUntil([&] { return window.count(WM_TIMER) >= 3; }, 500ms));
    EXPECT_TRUE(killTimer(window.handle(), 7));
    EXPECT_FALSE(killTimer(window.handle(), 7));
    std::this_thread::sleep_for(20ms);
    const size_t ticks = window.count(WM_TIMER);
    pumpOnce();
    EXPECT_EQ(window.count(WM_TIMER), ticks);
}

TEST(WindowTimer, IntervalZeroFiresOncePerPump) {
    RecordingWindow window;
    setTimer(window.handle(), 1, 0);
    for (int round = 1; round <= 3; ++round) {
        pumpOnce();
        EXPECT_EQ(window.count(WM_TIMER), static_cast<size_t>(round));
    }
    // runUntil with an always-due timer still returns at its deadline.
    EXPECT_FALSE(runUntil([] { return false; }, 30ms));
    killTimer(window.handle(), 1);
}

TEST(WindowTimer, LongestIntervalNeverFiresAndDoesNotWake) {
    RecordingWindow window;
    setTimer(window.handle(), 1, INT64_MAX);
    EXPECT_FALSE(hasPendingMessages());
    EXPECT_FALSE(runUntil([] { return false; }, 30ms));
    EXPECT_EQ(window.count(WM_TIMER), 0u);
}

TEST(WindowTimer, DoesNotReenterItsOwnHandler) {
    RecordingWindow window;
    int depth = 0;
    int deepest = 0;
    int otherTicks = 0;
    window.on(WM_TIMER, [&](intptr_t id, intptr_t) {
        if (id != 1) {
            ++otherTicks;
            return intptr_t{0};
        }
        ++depth;
        deepest = std::max(deepest, depth);
        // A nested wait: the other timer keeps ticking, this one does not come back in.
        runUntil([&] { return otherTicks >= 3; }, 300ms);
        --depth;
        return intptr_t{0};
    });
    setTimer(window.handle(), 1, 0);
    setTimer(window.handle(), 2, 1);
    ASSERT_TRUE(runUntil([&] { return otherTicks >= 3; }, 500ms));
    EXPECT_EQ(deepest, 1);
    EXPECT_GE(otherTicks, 3);
}

TEST(WindowTimer, KilledOrRestartedByAnEarlierHandlerInTheSamePump) {
    RecordingWindow window;
    window.on(WM_TIMER, [&](intptr_t id, intptr_t) {
        if (id == 1) killTimer(window.handle(), 2);
        return intptr_t{0};
    });
    setTimer(window.handle(), 1, 0);
    setTimer(window.handle(), 2, 0);
    pumpOnce();
    pumpOnce();
    EXPECT_EQ(window.count(WM_TIMER), 2u) << "timer 2 fired after timer 1 killed it";
}

TEST(WindowTimer, GoesWithItsWindow) {
    WindowHandle handle = kNoWindow;
    {
        RecordingWindow window;
        handle = window.handle();
        setTimer(handle, 1, 0);
    }
    EXPECT_FALSE(hasPendingMessages());
    EXPECT_FALSE(killTimer(handle, 1));
    EXPECT_THROW(setTimer(handle, 1, 10), Error);
}

}  // namespace
}  // namespace zorbel::window
