#include "platform/window/send.hpp"

#include "platform/window/messages.hpp"
#include "platform/window/window_table.hpp"

namespace zorbel::window {

namespace {

std::optional<intptr_t> deliver(WindowHandle window, uint32_t message, intptr_t wParam, intptr_t lParam,
                                std::optional<MessageQueue::Clock::time_point> deadline) {
    auto record = detail::WindowTable::instance().find(window);
    if (!record) return std::nullopt;
    if (record->owner == std::this_thread::get_id()) return detail::callProc(*record, message, wParam, lParam);
    return record->queue->sendFromOtherThread(Message{window, message, wParam, lParam}, deadline);
}

}  // namespace

bool postMessage(WindowHandle window, uint32_t message, intptr_t wParam, intptr_t lParam) {
    auto record = detail::WindowTable::instance().find(window);
    return record && record->queue->post(Message{window, message, wParam, lParam});
}

intptr_t sendMessage(WindowHandle window, uint32_t message, intptr_t wParam, intptr_t lParam) {
    return deliver(window, message, wParam, lParam, std::nullopt).value_or(0);
}

std::optional<intptr_t> sendMessageTimeout(WindowHandle window, uint32_t message, intptr_t wParam,
                                           intptr_t lParam, std::chrono::milliseconds timeout) {
    return deliver(window, message, wParam, lParam, MessageQueue::Clock::now() + timeout);
}

}  // namespace zorbel::window
