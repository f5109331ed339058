#include "platform/window/find_window.hpp"

#include "frame/text.hpp"
#include "platform/window/window_table.hpp"

namespace zorbel::window {

namespace {

bool isLiveTopLevel(const detail::WindowRecord& record) {
    if (record.parent != kNoWindow) return false;
    std::lock_guard lock(record.mutex);
    return !record.destroying;
}

bool matches(const detail::WindowRecord& record, std::string_view className, std::optional<std::string_view> title) {
    if (!className.empty() && !text::equalsNoCase(record.className, className)) return false;
    if (!title) return true;
    std::lock_guard lock(record.mutex);
    return text::equalsNoCase(record.title, *title);
}

}  // namespace

std::vector<WindowHandle> topLevelWindows() {
    std::vector<WindowHandle> windows;
    for (const auto& record : detail::WindowTable::instance().newestFirst()) {
        if (isLiveTopLevel(*record)) windows.push_back(record->handle);
    }
    return windows;
}

WindowHandle findWindow(std::string_view className, std::optional<std::string_view> title) {
    for (const auto& record : detail::WindowTable::instance().newestFirst()) {
        if (isLiveTopLevel(*record) && matches(*record, className, title)) return record->handle;
    }
    return kNoWindow;
}

}  // namespace zorbel::window
