#pragma once
// Window positions and sizes in pixels, and the twips the classic form objects use
// (15 twips per pixel).

#include <cstdint>

namespace zorbel::window {

inline constexpr int32_t kTwipsPerPixel = 15;

// Left and top are relative to the parent window, or to the screen for top-level windows.
struct WindowRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const WindowRect&) const = default;
};

constexpr int64_t pixelsToTwips(int64_t pixels) { return pixels * kTwipsPerPixel; }

// Rounded to the nearest pixel (15 is odd, so there are no halves to break).
constexpr int64_t twipsToPixels(int64_t twips) {
    const int64_t half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

}  // namespace zorbel::window
