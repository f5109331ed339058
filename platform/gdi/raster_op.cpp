#include "platform/gdi/raster_op.hpp"

namespace zorbel::gdi {

uint32_t applyRop(uint8_t index, uint32_t pattern, uint32_t source, uint32_t destination) {
    uint32_t result = 0;
    for (int term = 0; term < 8; ++term) {
        if (!((index >> term) & 1)) continue;
        uint32_t p = (term & 4) ? pattern : ~pattern;
        uint32_t s = (term & 2) ? source : ~source;
        uint32_t d = (term & 1) ? destination : ~destination;
        result |= p & s & d;
    }
    return result;
}

// The result ignores S when swapping S's value never changes it: bits i and i^2 agree.
bool ropUsesSource(uint8_t index) { return ((index >> 2) & 0x33) != (index & 0x33); }
bool ropUsesPattern(uint8_t index) { return ((index >> 4) & 0x0F) != (index & 0x0F); }

}  // namespace zorbel::gdi
