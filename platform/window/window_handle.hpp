#pragma once
// Window handles: 32-bit numbers, never 0 for a live window, not reused until the counter has
// gone once around all 32-bit values.

#include <cstdint>

namespace zorbel::window {

using WindowHandle = uint32_t;

inline constexpr WindowHandle kNoWindow = 0;

}  // namespace zorbel::window
