#pragma once
// Window timers. A timer sends WM_TIMER (wParam = its id) to its window, and only while the
// window's thread pumps its queue; see README.md in this folder for the rules.

#include <chrono>
#include <cstdint>

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

// Longest interval a timer takes, in milliseconds (about 24.8 days).
inline constexpr int64_t kMaxTimerInterval = 0x7FFFFFFF;

// The interval a timer runs with: longer ones are cut to kMaxTimerInterval; 0 means "due at
// every pump"; a negative value raises error 5.
std::chrono::milliseconds timerInterval(int64_t milliseconds);

// Starts (or restarts with a new interval) the timer `id` of the window. Any thread; the timer
// fires on the window's thread. kInvalidWindowError when the window does not exist.
void setTimer(WindowHandle window, uintptr_t id, int64_t intervalMilliseconds);
// False when there was no such timer. Destroying a window kills its timers.
bool killTimer(WindowHandle window, uintptr_t id);

}  // namespace zorbel::window
