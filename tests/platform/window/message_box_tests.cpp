// Message boxes: default answers by style, the standard-error line and the hook.

#include <gtest/gtest.h>

#include <thread>

#include "platform/window/message_box.hpp"

namespace zorbel::window {
namespace {

TEST(WindowMessageBox, DefaultAnswerFollowsButtonsAndDefaultButton) {
    struct Case {
        uint32_t style;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_DEFBUTTON2, IDOK},  // beyond the last button: the first
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_ABORTRETRYIGNORE, IDABORT},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON4, IDYES},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO},
        {MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDRETRY},
        {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {0xE | MB_DEFBUTTON2, IDOK},  // unknown button set
    };
    for (const Case& c : cases) EXPECT_EQ(defaultAnswer(c.style), c.answer) << std::hex << c.style;
}

TEST(WindowMessageBox, WritesOneLineToStandardErrorAndAnswersAtOnce) {
    ::testing::internal::CaptureStderr();
    const int answer = messageBox("File not found", "Player", MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONHAND);
    const std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(written, "[Player] File not found\n");
}

TEST(WindowMessageBox, HookCapturesAndAnswers) {
    struct Seen {
        std::string text, caption;
        uint32_t style = 0;
    } seen;
    std::optional<int> reply = IDRETRY;
    setMessageBoxHook([&](const std::string& text, const std::string& caption, uint32_t style) {
        seen = {text, caption, style};
        return reply;
    });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox("Disk full", "Saver", MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION), IDRETRY);
    reply = std::nullopt;
    int fromOtherThread = 0;
    std::thread([&] { fromOtherThread = messageBox("Again", "Saver", MB_YESNO | MB_DEFBUTTON2); }).join();
    EXPECT_EQ(fromOtherThread, IDNO) << "a hook answering nothing gives the default answer";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "a hooked box still went to standard error";
    EXPECT_EQ(seen.text, "Again");
    EXPECT_EQ(seen.caption, "Saver");
    EXPECT_EQ(seen.style, MB_YESNO | MB_DEFBUTTON2);

    setMessageBoxHook(nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox("Plain", "Box", MB_OK), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[Box] Plain\n");
}

}  // namespace
}  // namespace zorbel::window
