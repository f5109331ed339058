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

// Copies the pixels of source that lie less than margin pixels from one of its edges.
inline void copyBorder(const PixelBuffer& target, const PixelBuffer& source, int32_t margin) {
    if (source.width <= 2 * margin || source.height <= 2 * margin) return copyPixels(target, source);
    const size_t row = 3 * static_cast<size_t>(source.width), edge = 3 * static_cast<size_t>(margin);
    for (int32_t r = 0; r < source.height; ++r) {
        if (r < margin || r >= source.height - margin) {
            std::memcpy(target.row(r), source.row(r), row);
        } else {
            std::memcpy(target.row(r), source.row(r), edge);
            std::memcpy(target.row(r) + row - edge, source.row(r) + row - edge, edge);
        }
    }
}

}  // namespace zorbel::imaging
