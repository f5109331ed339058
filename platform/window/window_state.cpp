#include "platform/window/window_state.hpp"

#include <algorithm>

#include "platform/window/messages.hpp"
#include "platform/window/presentation_backend.hpp"
#include "platform/window/window_table.hpp"

namespace zorbel::window {

using detail::requireWindow;

namespace {

template <typename Field>
auto readField(WindowHandle window, const char* what, Field field) {
    auto record = requireWindow(window, what, false);
    std::lock_guard lock(record->mutex);
    return (*record).*field;
}

}  // namespace

std::string windowClassName(WindowHandle window) {
    return requireWindow(window, "windowClassName", false)->className;
}

std::string windowTitle(WindowHandle window) {
    return readField(window, "windowTitle", &detail::WindowRecord::title);
}

void setWindowTitle(WindowHandle window, std::string title) {
    auto record = requireWindow(window, "setWindowTitle", false);
    std::lock_guard lock(record->mutex);
    record->title = std::move(title);
}

WindowHandle windowParent(WindowHandle window) { return requireWindow(window, "windowParent", false)->parent; }

std::thread::id windowThread(WindowHandle window) { return requireWindow(window, "windowThread", false)->owner; }

bool isWindowVisible(WindowHandle window) {
    auto record = detail::WindowTable::instance().find(window);
    if (!record) return false;
    std::lock_guard lock(record->mutex);
    return record->visible;
}

bool showWindow(WindowHandle window, bool visible) {
    auto record = requireWindow(window, "showWindow", true);
    {
        std::lock_guard lock(record->mutex);
        if (record->visible == visible || record->destroying) return record->visible;
        record->visible = visible;
    }
    if (auto backend = presentationBackend()) backend->windowShown(window, visible);
    detail::callProc(*record, WM_SHOWWINDOW, visible ? 1 : 0, 0);
    if (visible) record->queue->invalidate(window);
    return !visible;
}

WindowRect windowRect(WindowHandle window) { return readField(window, "windowRect", &detail::WindowRecord::rect); }

void moveWindow(WindowHandle window, const WindowRect& rect) {
    auto record = requireWindow(window, "moveWindow", true);
    WindowRect next = rect;
    next.width = std::clamp(next.width, 0, kMaxSurfaceExtent);
    next.height = std::clamp(next.height, 0, kMaxSurfaceExtent);
    WindowRect previous;
    {
        std::lock_guard lock(record->mutex);
        previous = record->rect;
        record->rect = next;
    }
    if (previous == next) return;
    const bool moved = previous.x != next.x || previous.y != next.y;
    const bool resized = previous.width != next.width || previous.height != next.height;
    if (resized) record->surface->resize(next.width, next.height);
    if (auto backend = presentationBackend()) backend->windowMoved(window, next);
    if (moved) detail::callProc(*record, WM_MOVE, 0, makeLParam(next.x, next.y));
    if (resized) {
        detail::callProc(*record, WM_SIZE, 0, makeLParam(next.width, next.height));
        record->queue->invalidate(window);
    }
}

std::shared_ptr<Surface> windowSurface(WindowHandle window) {
    return requireWindow(window, "windowSurface", false)->surface;
}

void invalidateWindow(WindowHandle window) {
    auto record = requireWindow(window, "invalidateWindow", false);
    record->queue->invalidate(window);
}

}  // namespace zorbel::window
