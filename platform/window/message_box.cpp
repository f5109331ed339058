#include "platform/window/message_box.hpp"

#include <array>
#include <cstdio>
#include <memory>
#include <mutex>

#include "platform/window/presentation_backend.hpp"

namespace zorbel::window {

namespace {

struct ButtonSet {
    std::array<int, 3> answers;
    size_t count;
};

// Indexed by the style's low four bits, MB_OK .. MB_RETRYCANCEL.
constexpr std::array<ButtonSet, 6> kButtonSets{{
    {{IDOK, 0, 0}, 1},
    {{IDOK, IDCANCEL, 0}, 2},
    {{IDABORT, IDRETRY, IDIGNORE}, 3},
    {{IDYES, IDNO, IDCANCEL}, 3},
    {{IDYES, IDNO, 0}, 2},
    {{IDRETRY, IDCANCEL, 0}, 2},
}};

std::mutex& hookMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const MessageBoxHook>& hookSlot() {
    static std::shared_ptr<const MessageBoxHook> hook;
    return hook;
}

std::shared_ptr<const MessageBoxHook> currentHook() {
    std::lock_guard lock(hookMutex());
    return hookSlot();
}

void writeToStandardError(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

int defaultAnswer(uint32_t style) {
    const uint32_t type = style & MB_TYPEMASK;
    const ButtonSet& set = type < kButtonSets.size() ? kButtonSets[type] : kButtonSets[MB_OK];
    const size_t index = (style & MB_DEFMASK) >> 8;
    return set.answers[index < set.count ? index : 0];
}

int messageBox(const std::string& text, const std::string& caption, uint32_t style) {
    if (auto hook = currentHook()) return (*hook)(text, caption, style).value_or(defaultAnswer(style));
    if (auto backend = presentationBackend()) return backend->messageBox(text, caption, style).value_or(defaultAnswer(style));
    writeToStandardError(text, caption);
    return defaultAnswer(style);
}

void setMessageBoxHook(MessageBoxHook hook) {
    auto next = hook ? std::make_shared<const MessageBoxHook>(std::move(hook)) : nullptr;
    std::lock_guard lock(hookMutex());
    hookSlot() = std::move(next);
}

}  // namespace zorbel::window
