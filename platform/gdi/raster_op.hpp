#pragma once
// Ternary raster operations. A raster-operation code's third byte (bits 16..23) is its truth
// table: bit i of that byte is the result for the pattern, source and destination bits
// P = bit 2 of i, S = bit 1 of i, D = bit 0 of i. This is the same as reading the byte as
// the result of the operation on P = 0xF0, S = 0xCC, D = 0xAA (plain copy 0xCC is S).

#include <cstdint>

namespace zorbel::gdi {

// The truth-table byte of a 32-bit raster-operation code.
constexpr uint8_t ropIndex(uint32_t code) { return static_cast<uint8_t>(code >> 16); }

// Applies the truth table bitwise to 32 bits of pattern, source and destination.
uint32_t applyRop(uint8_t index, uint32_t pattern, uint32_t source, uint32_t destination);

// Whether the result depends on the source or on the pattern.
bool ropUsesSource(uint8_t index);
bool ropUsesPattern(uint8_t index);

}  // namespace zorbel::gdi
