#pragma once
// A view of a 24-bit pixel buffer in the DIBSection layout: height rows of stride bytes,
// storage row 0 at the bottom, pixels as blue, green, red.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorbel::imaging {

struct PixelBuffer {
    uint8_t* bits;
    int32_t width;
    int32_t height;
    size_t stride;
    uint8_t* row(int32_t r) const { return bits + static_cast<size_t>(r) * stride; }
    // The byte at byte offset x (3 x column + channel) of storage row r.
    uint8_t& at(int32_t x, int32_t r) const { return row(r)[x]; }
};

// Copies the pixels the two buffers share, storage row by storage row from the bottom left,
// so that the pixel at (x, r) of one lands at (x, r) of the other whatever their sizes.
inline void copyPixels(const PixelBuffer& target, const PixelBuffer& source) {
    const size_t bytes = 3 * static_cast<size_t>(std::min(target.width, source.width));
    for (int32_t r = 0; r < std::min(target.height, source.height); ++r) std::memmove(target.row(r), source.row(r), bytes);
}

}  // namespace zorbel::imaging
