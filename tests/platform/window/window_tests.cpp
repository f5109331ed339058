// Windows: handles, the messages of their life, state changes, painting, input and lookup.

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "frame/error.hpp"
#include "platform/window/default_window.hpp"
#include "platform/window/find_window.hpp"
#include "platform/window/input.hpp"
#include "platform/window/pump.hpp"
#include "platform/window/send.hpp"
#include "platform/window/window_errors.hpp"
#include "platform/window/window_state.hpp"
#include "tests/platform/window/recording_window.hpp"

namespace zorbel::window {
namespace {

using testing::RecordingWindow;

TEST(Window, HandlesAreNonzeroAndNotReusedAtOnce) {
    std::set<WindowHandle> seen;
    for (int i = 0; i < 20; ++i) {
        RecordingWindow window;
        EXPECT_NE(window.handle(), kNoWindow);
        EXPECT_TRUE(seen.insert(window.handle()).second) << "handle reused right after destruction";
    }
    for (WindowHandle h : seen) EXPECT_FALSE(isWindow(h));
}

TEST(Window, CreationNeedsAClassAndALiveParent) {
    const auto numberOf = [](WindowOptions options) {
        try {
            OwnedWindow w(std::move(options));
        } catch (const Error& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf(WindowOptions{"", "", {}, kNoWindow, {}}), err::kInvalidCall);
    EXPECT_EQ(numberOf(WindowOptions{"C", "", {}, 0xDEAD, {}}), kInvalidWindowError);
    EXPECT_THROW(windowTitle(0xDEAD), Error);
    EXPECT_FALSE(isWindowVisible(0xDEAD));
}

TEST(Window, DestructionSendsDestroyAndTakesTheChildren) {
    std::vector<std::string> log;
    auto logging = [&log](std::string name) {
        return [&log, name](WindowHandle h, uint32_t m, intptr_t w, intptr_t l) {
            if (m == WM_DESTROY) log.push_back(name + " destroy");
            if (m == WM_NCDESTROY) log.push_back(name + " gone");
            return defaultWindowProc(h, m, w, l);
        };
    };
    const WindowHandle parent = createWindow(WindowOptions{"P", "", {}, kNoWindow, logging("parent")});
    const WindowHandle child = createWindow(WindowOptions{"C", "", {}, parent, logging("child")});
    EXPECT_EQ(windowParent(child), parent);
    EXPECT_TRUE(destroyWindow(parent));
    EXPECT_EQ(log, (std::vector<std::string>{"parent destroy", "child destroy", "child gone", "parent gone"}));
    EXPECT_FALSE(isWindow(child));
    EXPECT_FALSE(destroyWindow(parent));
}

TEST(Window, ClosingThroughTheDefaultProcedureDestroys) {
    RecordingWindow window;
    ASSERT_TRUE(deliverClose(window.handle()));
    pumpOnce();
    EXPECT_FALSE(isWindow(window.handle()));
}

TEST(Window, ShowAndHideNotifyTheProcedure) {
    RecordingWindow window;
    window.clear();
    EXPECT_FALSE(showWindow(window.handle(), true));
    EXPECT_TRUE(showWindow(window.handle(), true));  // no change, no message
    EXPECT_TRUE(showWindow(window.handle(), false));
    const auto got = window.received();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_SHOWWINDOW);
    EXPECT_EQ(got[0].wParam, 1);
    EXPECT_EQ(got[1].wParam, 0);
}

TEST(Window, MoveAndResizeKeepTheSurfaceInStep) {
    RecordingWindow window("ZorbelTestWindow", {10, 20, 4, 3});
    auto surface = windowSurface(window.handle());
    ASSERT_EQ(surface->width(), 4);
    surface->setPixel(1, 1, 0xFF112233);
    window.clear();

    moveWindow(window.handle(), {-5, 7, 4, 3});
    EXPECT_EQ(window.messages(), (std::vector<uint32_t>{WM_MOVE}));
    EXPECT_EQ(loSigned(window.received()[0].lParam), -5);
    EXPECT_EQ(hiSigned(window.received()[0].lParam), 7);

    window.clear();
    moveWindow(window.handle(), {-5, 7, 8, 6});
    EXPECT_EQ(window.messages(), (std::vector<uint32_t>{WM_SIZE}));
    EXPECT_EQ(loWord(window.received()[0].lParam), 8);
    EXPECT_EQ(hiWord(window.received()[0].lParam), 6);
    EXPECT_EQ(surface->width(), 8);
    EXPECT_EQ(surface->height(), 6);
    EXPECT_EQ(surface->pixel(1, 1), 0xFF112233u) << "resizing lost the kept pixels";
    EXPECT_EQ(surface->pixel(7, 5), 0u);
    EXPECT_EQ(windowRect(window.handle()), (WindowRect{-5, 7, 8, 6}));

    moveWindow(window.handle(), {0, 0, -3, kMaxSurfaceExtent + 1});
    EXPECT_EQ(windowRect(window.handle()), (WindowRect{0, 0, 0, kMaxSurfaceExtent}));
}

TEST(Window, InvalidationGivesOnePaintPerPump) {
    RecordingWindow window;
    int paints = 0;
    window.on(WM_PAINT, [&](intptr_t, intptr_t) {
        if (++paints == 1) invalidateWindow(window.handle());  // asks for the next pump
        return intptr_t{0};
    });
    for (int i = 0; i < 3; ++i) invalidateWindow(window.handle());
    pumpOnce();
    EXPECT_EQ(paints, 1);
    pumpOnce();
    EXPECT_EQ(paints, 2);
    pumpOnce();
    EXPECT_EQ(paints, 2);
}

TEST(Window, DeliveredInputArrivesAsClassicMessages) {
    RecordingWindow window;
    window.clear();
    ASSERT_TRUE(deliverClick(window.handle(), 12, 34));
    ASSERT_TRUE(deliverKey(window.handle(), 27));
    EXPECT_TRUE(window.received().empty()) << "input ran before a pump";
    pumpOnce();
    const auto got = window.received();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(got[0].wParam, MK_LBUTTON);
    EXPECT_EQ(got[1].message, WM_LBUTTONUP);
    EXPECT_EQ(loWord(got[1].lParam), 12);
    EXPECT_EQ(hiWord(got[1].lParam), 34);
    EXPECT_EQ(got[2].message, WM_KEYDOWN);
    EXPECT_EQ(got[2].wParam, 27);
    EXPECT_EQ(got[3].message, WM_KEYUP);
    EXPECT_FALSE(deliverClick(0xDEAD, 0, 0));
}

TEST(Window, FindsTopLevelWindowsByClassAndTitle) {
    RecordingWindow older("ZorbelFindMe");
    RecordingWindow newer("ZorbelFindMe");
    RecordingWindow child("ZorbelFindChild", {}, older.handle());
    setWindowTitle(older.handle(), "First");
    setWindowTitle(newer.handle(), "Second");
    struct Case {
        const char* className;
        std::optional<std::string_view> title;
        WindowHandle expected;
    };
    const Case cases[] = {
        {"ZorbelFindMe", std::nullopt, newer.handle()},
        {"zorbelfindme", "first", older.handle()},
        {"", "Second", newer.handle()},
        {"ZorbelFindMe", "Third", kNoWindow},
        {"ZorbelFindChild", std::nullopt, kNoWindow},
        {"NoSuchClass", std::nullopt, kNoWindow},
    };
    for (const Case& c : cases) EXPECT_EQ(findWindow(c.className, c.title), c.expected) << c.className;
    const auto all = topLevelWindows();
    EXPECT_NE(std::find(all.begin(), all.end(), older.handle()), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), child.handle()), all.end());
}

TEST(Window, DefaultWindowIsOnePerThread) {
    const WindowHandle mine = defaultWindow();
    EXPECT_EQ(defaultWindow(), mine);
    EXPECT_EQ(windowClassName(mine), kDefaultWindowClass);
    EXPECT_FALSE(isWindowVisible(mine));
    WindowHandle theirs = kNoWindow;
    std::thread([&] { theirs = defaultWindow(); }).join();
    EXPECT_NE(theirs, mine);
    destroyWindow(mine);
    EXPECT_NE(defaultWindow(), mine) << "a destroyed default window comes back as a new one";
}

TEST(Window, ReplacedProcedureCanChainToTheOldOne) {
    RecordingWindow window;
    WindowProc previous;
    int seen = 0;
    previous = setWindowProc(window.handle(), [&](WindowHandle h, uint32_t m, intptr_t w, intptr_t l) {
        if (m == WM_USER) ++seen;
        return previous(h, m, w, l);
    });
    sendMessage(window.handle(), WM_USER);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(window.count(WM_USER), 1u);
    setWindowProc(window.handle(), previous);
}

TEST(WindowGeometry, TwipsRoundToTheNearestPixel) {
    struct Case {
        int64_t twips;
        int64_t pixels;
    };
    for (const Case& c : {Case{0, 0}, Case{7, 0}, Case{8, 1}, Case{15, 1}, Case{15360, 1024}, Case{-8, -1}, Case{-7, 0}}) {
        EXPECT_EQ(twipsToPixels(c.twips), c.pixels) << c.twips;
    }
    EXPECT_EQ(pixelsToTwips(768), 11520);
}

}  // namespace
}  // namespace zorbel::window
