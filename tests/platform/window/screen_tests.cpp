// The virtual screen settings and a presentation backend taking over screen, paints and boxes.

#include <gtest/gtest.h>

#include "platform/registry/registry.hpp"
#include "platform/window/message_box.hpp"
#include "platform/window/presentation_backend.hpp"
#include "platform/window/pump.hpp"
#include "platform/window/window_state.hpp"
#include "tests/platform/window/recording_window.hpp"

namespace zorbel::window {
namespace {

using registry::Hive;
using registry::Value;

TEST(WindowVirtualScreen, ReadsTheRegistryAndKeepsDefaultsForBadValues) {
    struct Case {
        const char* name;
        std::optional<Value> width, height, bits;
        ScreenInfo expected;
    };
    const Case cases[] = {
        {"nothing set", {}, {}, {}, {1024, 768, 32}},
        {"dwords", Value::ofDWord(800), Value::ofDWord(600), Value::ofDWord(16), {800, 600, 16}},
        {"texts", Value::ofString(" 1280 "), Value::ofString("1024"), Value::ofString("24"), {1280, 1024, 24}},
        {"unusable", Value::ofString("wide"), Value::ofDWord(0), Value::ofDWord(12), {1024, 768, 32}},
        {"too large", Value::ofDWord(40000), Value::ofString("-5"), Value::ofBinary({1}), {1024, 768, 32}},
    };
    for (const Case& c : cases) {
        registry::deleteKey(Hive::CurrentUser, kScreenSettingsKey);
        if (c.width) registry::writeValue(Hive::CurrentUser, kScreenSettingsKey, "Width", *c.width);
        if (c.height) registry::writeValue(Hive::CurrentUser, kScreenSettingsKey, "Height", *c.height);
        if (c.bits) registry::writeValue(Hive::CurrentUser, kScreenSettingsKey, "BitsPerPixel", *c.bits);
        EXPECT_EQ(readVirtualScreen(), c.expected) << c.name;
    }
    registry::deleteKey(Hive::CurrentUser, kScreenSettingsKey);
}

class FakeBackend : public PresentationBackend {
public:
    ScreenInfo screen() override { return {1920, 1080, 24}; }
    void windowCreated(WindowHandle, const WindowRect&) override { ++created; }
    void windowShown(WindowHandle, bool visible) override { shown.push_back(visible); }
    void windowMoved(WindowHandle, const WindowRect& rect) override { lastRect = rect; }
    void windowPainted(WindowHandle, const Surface& surface) override { paintedPixel = surface.pixel(0, 0); ++painted; }
    void windowDestroyed(WindowHandle) override { ++destroyed; }
    std::optional<int> messageBox(const std::string&, const std::string&, uint32_t) override { return answer; }

    int created = 0, painted = 0, destroyed = 0;
    std::vector<bool> shown;
    WindowRect lastRect;
    uint32_t paintedPixel = 0;
    std::optional<int> answer;
};

class WindowBackend : public ::testing::Test {
protected:
    void SetUp() override { setPresentationBackend(backend); }
    void TearDown() override { setPresentationBackend(nullptr); }
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
};

TEST_F(WindowBackend, AnswersTheScreenAndFollowsTheWindow) {
    EXPECT_EQ(screenInfo(), (ScreenInfo{1920, 1080, 24}));
    {
        testing::RecordingWindow window("ZorbelTestWindow", {0, 0, 2, 2});
        window.on(WM_PAINT, [&](intptr_t, intptr_t) {
            windowSurface(window.handle())->fill(0xFF0000FF);
            return intptr_t{0};
        });
        EXPECT_EQ(backend->created, 1);
        invalidateWindow(window.handle());
        pumpOnce();
        EXPECT_EQ(backend->painted, 0) << "a hidden window was presented";
        showWindow(window.handle(), true);
        moveWindow(window.handle(), {3, 4, 2, 2});
        pumpOnce();
        EXPECT_EQ(backend->painted, 1);
        EXPECT_EQ(backend->paintedPixel, 0xFF0000FFu) << "presented before the paint handler drew";
        EXPECT_EQ(backend->shown, std::vector<bool>{true});
        EXPECT_EQ(backend->lastRect, (WindowRect{3, 4, 2, 2}));
    }
    EXPECT_EQ(backend->destroyed, 1);
}

TEST_F(WindowBackend, ShowsMessageBoxes) {
    backend->answer = IDNO;
    EXPECT_EQ(messageBox("Save?", "Editor", MB_YESNO), IDNO);
    backend->answer = std::nullopt;
    EXPECT_EQ(messageBox("Save?", "Editor", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(messageBox("Save?", "Editor", MB_YESNO), IDYES);
}

}  // namespace
}  // namespace zorbel::window
