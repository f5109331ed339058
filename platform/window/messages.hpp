#pragma once
// Message numbers and the message record. The numbers are those of the classic platform, so
// code ported from it keeps its constants.

#include <cstdint>

#include "platform/window/window_handle.hpp"

namespace zorbel::window {

inline constexpr uint32_t WM_NULL = 0;
inline constexpr uint32_t WM_CREATE = 1;
inline constexpr uint32_t WM_DESTROY = 2;
inline constexpr uint32_t WM_MOVE = 3;
inline constexpr uint32_t WM_SIZE = 5;
inline constexpr uint32_t WM_PAINT = 15;
inline constexpr uint32_t WM_CLOSE = 16;
inline constexpr uint32_t WM_SHOWWINDOW = 24;
inline constexpr uint32_t WM_NCDESTROY = 130;
inline constexpr uint32_t WM_KEYDOWN = 256;
inline constexpr uint32_t WM_KEYUP = 257;
inline constexpr uint32_t WM_COMMAND = 273;
inline constexpr uint32_t WM_TIMER = 275;
inline constexpr uint32_t WM_LBUTTONDOWN = 513;
inline constexpr uint32_t WM_LBUTTONUP = 514;
inline constexpr uint32_t WM_USER = 1024;

// wParam of mouse messages: the left button is down.
inline constexpr intptr_t MK_LBUTTON = 1;

struct Message {
    WindowHandle window = kNoWindow;
    uint32_t message = WM_NULL;
    intptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Two 16-bit halves packed as the classic MAKELPARAM does (low word first).
constexpr intptr_t makeLParam(int low, int high) {
    return static_cast<intptr_t>((static_cast<uint32_t>(high & 0xFFFF) << 16) |
                                 static_cast<uint32_t>(low & 0xFFFF));
}
constexpr int loWord(intptr_t value) { return static_cast<int>(value & 0xFFFF); }
constexpr int hiWord(intptr_t value) { return static_cast<int>((value >> 16) & 0xFFFF); }
// Signed halves, for coordinates that may be negative.
constexpr int loSigned(intptr_t value) { return static_cast<int16_t>(value & 0xFFFF); }
constexpr int hiSigned(intptr_t value) { return static_cast<int16_t>((value >> 16) & 0xFFFF); }

}  // namespace zorbel::window
