#pragma once
// Binary resources of the library, found by type and name (both without letter case).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zorbel::resources {

// nullopt for an unknown resource.
std::optional<std::span<const uint8_t>> loadCustom(std::string_view type, std::string_view name);

}  // namespace zorbel::resources
