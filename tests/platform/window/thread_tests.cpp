// Queues across threads: posts that wake a host's poll(), sends that wait for the owner, and
// what remains of a queue after its thread has ended.

#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "frame/error.hpp"
#include "platform/window/default_window.hpp"
#include "platform/window/message_queue.hpp"
#include "platform/window/pump.hpp"
#include "platform/window/send.hpp"
#include "platform/window/timer.hpp"
#include "platform/window/window_errors.hpp"
#include "platform/window/window_state.hpp"
#include "tests/platform/window/recording_window.hpp"

namespace zorbel::window {
namespace {

using namespace std::chrono_literals;
using testing::RecordingWindow;

bool readable(int fd, int timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) == 1 && (entry.revents & POLLIN) != 0;
}

TEST(WindowThreads, PostFromAnotherThreadWakesThePollingHost) {
    RecordingWindow window;
    pumpOnce();
    const int fd = queueDescriptor();
    ASSERT_FALSE(readable(fd, 0)) << "nothing is pending yet";

    std::thread::id deliveredOn;
    window.on(WM_USER, [&](intptr_t, intptr_t) {
        deliveredOn = std::this_thread::get_id();
        return intptr_t{0};
    });
    std::thread engine([handle = window.handle()] {
        std::this_thread::sleep_for(20ms);
        postMessage(handle, WM_USER, 5);
    });
    EXPECT_TRUE(readable(fd, 500)) << "the post did not wake poll()";
    engine.join();
    EXPECT_EQ(window.count(WM_USER), 0u) << "delivered without a pump";
    EXPECT_TRUE(readable(fd, 0)) << "the descriptor is level-triggered until pumped";

    pumpOnce();
    EXPECT_EQ(window.count(WM_USER), 1u);
    EXPECT_EQ(deliveredOn, std::this_thread::get_id());
    EXPECT_FALSE(readable(fd, 0)) << "the pump left the descriptor readable";
}

TEST(WindowThreads, DueTimerMakesTheDescriptorReadable) {
    RecordingWindow window;
    pumpOnce();
    setTimer(window.handle(), 1, 100);
    const int fd = queueDescriptor();
    EXPECT_FALSE(readable(fd, 0)) << "readable before the timer was due";
    EXPECT_TRUE(readable(fd, 600));
    pumpOnce();
    EXPECT_EQ(window.count(WM_TIMER), 1u);
    killTimer(window.handle(), 1);
    EXPECT_FALSE(readable(fd, 40));
}

TEST(WindowThreads, SendFromAnotherThreadWaitsForTheOwnersPump) {
    RecordingWindow window;
    std::thread::id ranOn;
    window.on(WM_USER, [&](intptr_t w, intptr_t l) {
        ranOn = std::this_thread::get_id();
        return w * l;
    });
    auto result = std::async(std::launch::async, [handle = window.handle()] {
        return sendMessageTimeout(handle, WM_USER, 6, 7, 500ms);
    });
    ASSERT_TRUE(runUntil([&] { return window.count(WM_USER) == 1; }, 500ms));
    ASSERT_EQ(result.wait_for(500ms), std::future_status::ready);
    EXPECT_EQ(result.get(), std::optional<intptr_t>(42));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(WindowThreads, SendTimesOutWhenTheOwnerDoesNotPump) {
    RecordingWindow window;
    auto result = std::async(std::launch::async, [handle = window.handle()] {
        return sendMessageTimeout(handle, WM_USER, 0, 0, 30ms);
    });
    EXPECT_EQ(result.get(), std::nullopt);
    pumpOnce();  // the late message is still delivered; its result is dropped
    EXPECT_EQ(window.count(WM_USER), 1u);
}

TEST(WindowThreads, ThreadsSendingToEachOtherDoNotDeadlock) {
    RecordingWindow window;
    std::promise<WindowHandle> otherWindow;
    std::atomic<bool> stop = false;
    std::thread other([&] {
        RecordingWindow mine;
        mine.on(WM_USER, [&](intptr_t w, intptr_t) {
            // Calls back into the first thread while that thread waits for this answer.
            return sendMessageTimeout(window.handle(), WM_USER + 1, w, 0, 500ms).value_or(-1) + 1;
        });
        otherWindow.set_value(mine.handle());
        runUntil([&] { return stop.load(); }, 1000ms);
    });
    window.on(WM_USER + 1, [](intptr_t w, intptr_t) { return w * 10; });
    const WindowHandle target = otherWindow.get_future().get();
    EXPECT_EQ(sendMessageTimeout(target, WM_USER, 4, 0, 500ms), std::optional<intptr_t>(41));
    stop = true;
    postMessage(target, WM_NULL);  // ends the other thread's wait
    other.join();
}

TEST(WindowThreads, EndedThreadLeavesNoWindowsAndRefusesWork) {
    std::shared_ptr<MessageQueue> queue;
    WindowHandle handle = kNoWindow;
    WindowHandle helper = kNoWindow;
    std::thread([&] {
        queue = MessageQueue::sharedForThisThread();
        handle = createWindow(WindowOptions{"ZorbelLeftBehind", "", {}, kNoWindow, {}});
        helper = defaultWindow();
    }).join();
    EXPECT_FALSE(isWindow(handle));
    EXPECT_FALSE(isWindow(helper));
    EXPECT_TRUE(queue->closed());
    EXPECT_FALSE(queue->postTask([] {}));
    EXPECT_EQ(sendMessageTimeout(handle, WM_USER, 0, 0, 10ms), std::nullopt);
}

TEST(WindowThreads, MessageHandedToTheWrongQueueIsNotRunThere) {
    std::promise<void> posted;
    std::atomic<size_t> received = 0;
    std::promise<WindowHandle> created;
    std::thread owner([&] {
        RecordingWindow theirs;
        created.set_value(theirs.handle());
        posted.get_future().wait();
        pumpOnce();
        received = theirs.count(WM_USER);
    });
    const WindowHandle theirs = created.get_future().get();
    EXPECT_TRUE(MessageQueue::forThisThread().post(Message{theirs, WM_USER, 0, 0}));
    EXPECT_EQ(pumpOnce(), 1u);  // taken off this queue, but not run on this thread
    posted.set_value();
    owner.join();
    EXPECT_EQ(received, 0u);
}

TEST(WindowThreads, OwnerOnlyCallsRefuseOtherThreads) {
    RecordingWindow window;
    auto attempt = [](std::function<void()> call) {
        return std::async(std::launch::async, [call] {
                   try {
                       call();
                   } catch (const Error& e) {
                       return e.number();
                   }
                   return 0;
               }).get();
    };
    const WindowHandle h = window.handle();
    auto& queue = MessageQueue::forThisThread();
    EXPECT_EQ(attempt([h] { showWindow(h, true); }), kWrongThreadError);
    EXPECT_EQ(attempt([h] { moveWindow(h, {0, 0, 5, 5}); }), kWrongThreadError);
    EXPECT_EQ(attempt([h] { destroyWindow(h); }), kWrongThreadError);
    EXPECT_EQ(attempt([&queue] { queue.pumpOnce(); }), kWrongThreadError);
    EXPECT_EQ(attempt([h] { invalidateWindow(h); }), 0) << "invalidation is allowed from any thread";
    EXPECT_TRUE(isWindow(h));
}

}  // namespace
}  // namespace zorbel::window
