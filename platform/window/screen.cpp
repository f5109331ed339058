#include "platform/window/screen.hpp"

#include <charconv>
#include <optional>
#include <string>

#include "frame/text.hpp"
#include "platform/registry/registry.hpp"
#include "platform/window/presentation_backend.hpp"

namespace zorbel::window {

namespace {

std::optional<int64_t> parseNumber(const registry::Value& value) {
    if (value.type == registry::ValueType::DWord) return static_cast<int64_t>(value.dword);
    if (value.type != registry::ValueType::String && value.type != registry::ValueType::ExpandString) {
        return std::nullopt;
    }
    const std::string digits = text::trim(value.text);
    int64_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return number;
}

std::optional<int64_t> readSetting(const char* name) {
    const auto value = registry::readValue(registry::Hive::CurrentUser, kScreenSettingsKey, name);
    return value ? parseNumber(*value) : std::nullopt;
}

bool validExtent(int64_t extent) { return extent >= 1 && extent <= 32767; }

bool validDepth(int64_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

ScreenInfo readVirtualScreen() {
    ScreenInfo screen;
    try {
        if (auto width = readSetting("Width"); width && validExtent(*width)) screen.width = static_cast<int32_t>(*width);
        if (auto height = readSetting("Height"); height && validExtent(*height)) screen.height = static_cast<int32_t>(*height);
        if (auto bits = readSetting("BitsPerPixel"); bits && validDepth(*bits)) screen.bitsPerPixel = static_cast<int32_t>(*bits);
    } catch (const Error&) {
        // A screen-size question never fails: an unreadable hive leaves the defaults.
    }
    return screen;
}

ScreenInfo virtualScreen() {
    static const ScreenInfo screen = readVirtualScreen();
    return screen;
}

ScreenInfo screenInfo() {
    if (auto backend = presentationBackend()) return backend->screen();
    return virtualScreen();
}

}  // namespace zorbel::window
