#include "platform/system/unique_id.hpp"

#include <cstdint>

#include "platform/system/os_random.hpp"

namespace zorbel::system {

std::string newUniqueId() {
    uint8_t bytes[16];
    fillUnpredictable(bytes, sizeof bytes);
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // variant 1
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0x0F];
    }
    out += '}';
    return out;
}

}  // namespace zorbel::system
