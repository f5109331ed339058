// Pumping on one thread: what one pump delivers, nested pumps, waiting for a condition and
// modal loops.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/window/message_queue.hpp"
#include "platform/window/pump.hpp"
#include "platform/window/send.hpp"
#include "platform/window/timer.hpp"
#include "platform/window/window_state.hpp"
#include "tests/platform/window/recording_window.hpp"

namespace zorbel::window {
namespace {

using namespace std::chrono_literals;
using testing::RecordingWindow;

TEST(WindowPump, DeliversPostedMessagesInOrderAndLeavesNewOnesForTheNextPump) {
    RecordingWindow window;
    window.clear();
    window.on(WM_USER, [&](intptr_t, intptr_t) {
        postMessage(window.handle(), WM_USER + 1);  // posted during the pump: waits
        return intptr_t{0};
    });
    ASSERT_TRUE(postMessage(window.handle(), WM_USER, 1, 2));
    ASSERT_TRUE(postMessage(window.handle(), WM_COMMAND, 3, 4));
    EXPECT_EQ(window.count(WM_USER), 0u) << "a posted message ran before a pump";

    EXPECT_EQ(pumpOnce(), 2u);
    EXPECT_EQ(window.messages(), (std::vector<uint32_t>{WM_USER, WM_COMMAND}));
    EXPECT_EQ(window.received()[0].wParam, 1);
    EXPECT_EQ(window.received()[0].lParam, 2);
    EXPECT_TRUE(hasPendingMessages());
    EXPECT_EQ(pumpOnce(), 1u);
    EXPECT_EQ(window.messages().back(), WM_USER + 1);
    EXPECT_EQ(pumpOnce(), 0u);
}

TEST(WindowPump, SendOnTheOwnerThreadCallsAtOnce) {
    RecordingWindow window;
    window.on(WM_USER, [](intptr_t w, intptr_t l) { return w + l; });
    EXPECT_EQ(sendMessage(window.handle(), WM_USER, 40, 2), 42);
    EXPECT_EQ(sendMessage(kNoWindow, WM_USER, 40, 2), 0);
    EXPECT_FALSE(postMessage(kNoWindow, WM_USER));
}

TEST(WindowPump, HandlerMayPumpAgain) {
    RecordingWindow window;
    std::vector<int> order;
    window.on(WM_USER, [&](intptr_t, intptr_t) {
        order.push_back(1);
        pumpOnce();  // delivers the message posted after this one
        order.push_back(3);
        return intptr_t{0};
    });
    window.on(WM_USER + 1, [&](intptr_t, intptr_t) {
        order.push_back(2);
        return intptr_t{0};
    });
    postMessage(window.handle(), WM_USER);
    postMessage(window.handle(), WM_USER + 1);
    EXPECT_EQ(pumpOnce(), 1u) << "the outer pump delivers what the nested one left";
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(window.count(WM_USER + 1), 1u);
}

TEST(WindowPump, TasksRunInOrderWithMessages) {
    RecordingWindow window;
    std::vector<std::string> order;
    window.on(WM_USER, [&](intptr_t, intptr_t) {
        order.push_back("message");
        return intptr_t{0};
    });
    auto& queue = MessageQueue::forThisThread();
    queue.postTask([&] { order.push_back("task 1"); });
    postMessage(window.handle(), WM_USER);
    queue.postTask([&] { order.push_back("task 2"); });
    pumpOnce();
    EXPECT_EQ(order, (std::vector<std::string>{"task 1", "message", "task 2"}));
}

TEST(WindowPump, RunUntilStopsAtConditionOrDeadline) {
    RecordingWindow window;
    setTimer(window.handle(), 1, 5);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(runUntil([&] { return window.count(WM_TIMER) >= 2; }, 500ms));
    EXPECT_FALSE(runUntil([] { return false; }, 20ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
    EXPECT_TRUE(runUntil([] { return true; }));
}

TEST(WindowPump, ModalLoopEndsWhenTheWindowIsHidden) {
    struct Case {
        const char* name;
        std::function<void(WindowHandle)> arrange;
    };
    const Case cases[] = {
        {"by its timer", [](WindowHandle h) { setTimer(h, 1, 20); }},
        {"by a posted message", [](WindowHandle h) { postMessage(h, WM_USER); }},
        {"by being closed", [](WindowHandle h) { postMessage(h, WM_CLOSE); }},
    };
    for (const Case& c : cases) {
        RecordingWindow window;
        const WindowHandle handle = window.handle();
        window.on(WM_TIMER, [handle](intptr_t, intptr_t) { return intptr_t{showWindow(handle, false)}; });
        window.on(WM_USER, [handle](intptr_t, intptr_t) { return intptr_t{showWindow(handle, false)}; });
        c.arrange(handle);
        EXPECT_TRUE(runModal(handle, 500ms)) << c.name;
        EXPECT_FALSE(isWindowVisible(handle)) << c.name;
    }
}

TEST(WindowPump, ModalLoopGivesUpAtItsTimeout) {
    RecordingWindow window;
    EXPECT_FALSE(runModal(window.handle(), 20ms));
    EXPECT_TRUE(isWindowVisible(window.handle()));
}

}  // namespace
}  // namespace zorbel::window
