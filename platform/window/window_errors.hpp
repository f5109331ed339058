#pragma once
// Errors raised by the window layer (source "Zorbel.Window").

#include <cstdint>

#include "frame/error.hpp"

namespace zorbel::window {

inline constexpr const char* kWindowErrorSource = "Zorbel.Window";

inline constexpr int32_t kInvalidWindowError = kUserErrorBase + 0x200;  // handle names no live window
inline constexpr int32_t kWrongThreadError = kUserErrorBase + 0x201;    // owner-thread call from another thread
inline constexpr int32_t kQueueSetupError = kUserErrorBase + 0x202;     // the queue's descriptor could not be made

// Raise the matching error; `what` names the call for the message text.
[[noreturn]] void raiseInvalidWindow(uint32_t handle);
[[noreturn]] void raiseWrongThread(const char* what);

}  // namespace zorbel::window
