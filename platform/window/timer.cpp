#include "platform/window/timer.hpp"

#include <algorithm>

#include "platform/window/window_errors.hpp"
#include "platform/window/window_table.hpp"

namespace zorbel::window {

std::chrono::milliseconds timerInterval(int64_t milliseconds) {
    if (milliseconds < 0) throw Error::runtime(err::kInvalidCall, kWindowErrorSource);
    return std::chrono::milliseconds(std::min(milliseconds, kMaxTimerInterval));
}

void setTimer(WindowHandle window, uintptr_t id, int64_t intervalMilliseconds) {
    const auto interval = timerInterval(intervalMilliseconds);
    auto record = detail::requireWindow(window, "setTimer", false);
    record->queue->setTimer(window, id, interval);
}

bool killTimer(WindowHandle window, uintptr_t id) {
    auto record = detail::WindowTable::instance().find(window);
    return record && record->queue->killTimer(window, id);
}

}  // namespace zorbel::window
