#include "platform/gdi/sys_colors.hpp"

#include <array>
#include <mutex>

namespace zorbel::gdi {

namespace {

// The classic default scheme, 0x00BBGGRR.
constexpr std::array<ColorRef, kSysColorCount> kDefaults = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};

struct SysColors {
    std::mutex mutex;
    std::array<ColorRef, kSysColorCount> colors = kDefaults;
};

SysColors& sysColors() {
    static SysColors s;
    return s;
}

}  // namespace

ColorRef getSysColor(int index) {
    if (index < 0 || index >= kSysColorCount) return 0;
    SysColors& s = sysColors();
    std::lock_guard lock(s.mutex);
    return s.colors[static_cast<size_t>(index)];
}

bool setSysColor(int index, ColorRef color) {
    if (index < 0 || index >= kSysColorCount) return false;
    SysColors& s = sysColors();
    std::lock_guard lock(s.mutex);
    s.colors[static_cast<size_t>(index)] = color & 0x00FFFFFFu;
    return true;
}

void resetSysColors() {
    SysColors& s = sysColors();
    std::lock_guard lock(s.mutex);
    s.colors = kDefaults;
}

ColorRef translateColor(ColorRef color) {
    if (!(color & kSysColorFlag)) return color;
    return getSysColor(static_cast<int>(color & 0xFFu));
}

}  // namespace zorbel::gdi
