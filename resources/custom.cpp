#include "resources/custom.hpp"

#include "frame/text.hpp"

namespace zorbel::resources {

namespace {

struct CustomResource {
    std::string_view type;
    std::string_view name;
    std::span<const uint8_t> bytes;
};

// The module system's start-up configuration: five little-endian 32-bit values
// (32000, 10, 1, 500, 100); the first is the mixing rate.
constexpr uint8_t kModuleConfig[] = {
    0x00, 0x7D, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x01, 0x00,
    0x00, 0x00, 0xF4, 0x01, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00,
};

constexpr CustomResource kResources[] = {
    {"CUSTOM", "MIDAS_INI", kModuleConfig},
};

}  // namespace

std::optional<std::span<const uint8_t>> loadCustom(std::string_view type, std::string_view name) {
    for (const CustomResource& r : kResources)
        if (text::equalsNoCase(r.type, type) && text::equalsNoCase(r.name, name)) return r.bytes;
    return std::nullopt;
}

}  // namespace zorbel::resources
