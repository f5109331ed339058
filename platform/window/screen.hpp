#pragma once
// The screen the windows are placed on. While no presentation backend is active this is a
// virtual screen of 1024 x 768 pixels at 32 bits, which the current user's registry can
// change: key HKCU "Software\Zorbel\Screen", values "Width", "Height" and "BitsPerPixel",
// each a DWord or a decimal text. Missing or unusable values (width or height outside
// 1..32767, a depth other than 1, 4, 8, 15, 16, 24 or 32, a damaged hive) keep the default.

#include <cstdint>

namespace zorbel::window {

struct ScreenInfo {
    int32_t width = 1024;
    int32_t height = 768;
    int32_t bitsPerPixel = 32;
    bool operator==(const ScreenInfo&) const = default;
};

inline constexpr const char* kScreenSettingsKey = "Software\\Zorbel\\Screen";

// Reads the virtual screen settings from the registry now.
ScreenInfo readVirtualScreen();
// The virtual screen, read once at the first call of the process.
ScreenInfo virtualScreen();
// The backend's screen when a backend is active, otherwise the virtual screen.
ScreenInfo screenInfo();

}  // namespace zorbel::window
