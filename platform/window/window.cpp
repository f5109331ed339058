#include "platform/window/window.hpp"

#include <algorithm>

#include "platform/window/messages.hpp"
#include "platform/window/presentation_backend.hpp"
#include "platform/window/window_dispatch.hpp"
#include "platform/window/window_errors.hpp"
#include "platform/window/window_table.hpp"

namespace zorbel::window {

using detail::WindowRecord;
using detail::WindowTable;

namespace {

std::shared_ptr<const WindowProc> procOrDefault(WindowProc proc) {
    return std::make_shared<const WindowProc>(proc ? std::move(proc) : WindowProc(defaultWindowProc));
}

std::vector<WindowHandle> childrenOf(WindowHandle parent) {
    std::vector<WindowHandle> children;
    for (const auto& record : WindowTable::instance().newestFirst()) {
        if (record->parent == parent) children.push_back(record->handle);
    }
    return children;
}

// The last steps of destruction, run even when a WM_DESTROY handler throws.
void finishDestroy(const WindowRecord& record) {
    record.queue->forgetWindow(record.handle);
    WindowTable::instance().remove(record.handle);
    if (auto backend = presentationBackend()) backend->windowDestroyed(record.handle);
}

}  // namespace

WindowHandle createWindow(WindowOptions options) {
    if (options.className.empty()) throw Error::runtime(err::kInvalidCall, kWindowErrorSource);
    if (options.parent != kNoWindow) detail::requireWindow(options.parent, "createWindow", false);
    auto record = std::make_shared<WindowRecord>();
    record->className = std::move(options.className);
    record->parent = options.parent;
    record->owner = std::this_thread::get_id();
    record->queue = MessageQueue::sharedForThisThread();
    record->title = std::move(options.title);
    record->rect = options.rect;
    record->rect.width = std::clamp(record->rect.width, 0, kMaxSurfaceExtent);
    record->rect.height = std::clamp(record->rect.height, 0, kMaxSurfaceExtent);
    record->surface = std::make_shared<Surface>(record->rect.width, record->rect.height);
    record->proc = procOrDefault(std::move(options.proc));
    const WindowHandle handle = WindowTable::instance().add(record);
    if (auto backend = presentationBackend()) backend->windowCreated(handle, record->rect);
    detail::callProc(*record, WM_CREATE);
    return handle;
}

bool destroyWindow(WindowHandle window) {
    auto record = WindowTable::instance().find(window);
    if (!record) return false;
    if (record->owner != std::this_thread::get_id()) raiseWrongThread("destroyWindow");
    {
        std::lock_guard lock(record->mutex);
        if (record->destroying) return false;
        record->destroying = true;
        record->visible = false;
    }
    struct Finish {
        const WindowRecord& record;
        ~Finish() { finishDestroy(record); }
    } finish{*record};
    detail::callProc(*record, WM_DESTROY);
    for (WindowHandle child : childrenOf(window)) destroyWindow(child);
    detail::callProc(*record, WM_NCDESTROY);
    return true;
}

bool isWindow(WindowHandle window) { return WindowTable::instance().find(window) != nullptr; }

intptr_t defaultWindowProc(WindowHandle window, uint32_t message, intptr_t, intptr_t) {
    if (message == WM_CLOSE) destroyWindow(window);
    return 0;
}

WindowProc setWindowProc(WindowHandle window, WindowProc proc) {
    auto record = detail::requireWindow(window, "setWindowProc", false);
    auto next = procOrDefault(std::move(proc));
    std::lock_guard lock(record->mutex);
    std::swap(record->proc, next);
    return *next;
}

namespace detail {

std::optional<intptr_t> callWindowProc(const Message& message, const MessageQueue& queue) {
    auto record = WindowTable::instance().find(message.window);
    if (!record || record->queue.get() != &queue) return std::nullopt;
    return callProc(*record, message.message, message.wParam, message.lParam);
}

void paintWindow(WindowHandle window) {
    auto record = WindowTable::instance().find(window);
    if (!record) return;
    callProc(*record, WM_PAINT);
    bool visible = false;
    {
        std::lock_guard lock(record->mutex);
        visible = record->visible;
    }
    auto backend = presentationBackend();
    if (backend && visible && isWindow(window)) backend->windowPainted(window, *record->surface);
}

void dropThreadWindows(std::thread::id thread) {
    auto& table = WindowTable::instance();
    for (const auto& record : table.newestFirst()) {
        if (record->owner != thread) continue;
        table.remove(record->handle);
        if (auto backend = presentationBackend()) backend->windowDestroyed(record->handle);
    }
}

}  // namespace detail

}  // namespace zorbel::window
