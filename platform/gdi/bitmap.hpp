#pragma once
// Bitmap: pixels of 1, 4, 8, 24 or 32 bits in the classic layout: rows padded to 4 bytes,
// stored bottom-up unless made top-down, pixels of 1 and 4 bits packed from the high bit.
// Bitmaps of 8 bits or fewer carry a colour table; a monochrome bitmap is a 1-bit bitmap
// whose table is black and white. Coordinates are device coordinates: y = 0 is the top row.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/pixel_memory.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

class Bitmap {
public:
    // Nullopt when the size or format is invalid or the byte count does not fit in memory
    // arithmetic; nothing is allocated then.
    static std::shared_ptr<Bitmap> create(int32_t width, int32_t height, uint16_t bitCount, bool topDown = false);

    // Bytes per row for a width and bit count; nullopt when it overflows.
    static std::optional<size_t> strideFor(int32_t width, uint16_t bitCount);
    // Total pixel bytes; nullopt when it overflows or exceeds the allocation limit.
    static std::optional<size_t> imageBytesFor(int32_t width, int32_t height, uint16_t bitCount);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    uint16_t bitCount() const { return bitCount_; }
    size_t stride() const { return stride_; }
    bool topDown() const { return topDown_; }
    bool isMonochrome() const { return bitCount_ == 1; }
    bool isDibSection() const { return dibSection_; }
    void setDibSection(bool value) { dibSection_ = value; }
    // The memory context the bitmap is selected in (a bitmap is in at most one), 0 if none.
    HDC selectedIn() const { return selectedIn_; }
    void setSelectedIn(HDC dc) { selectedIn_ = dc; }

    uint8_t* bits() { return pixels_.data(); }
    const uint8_t* bits() const { return pixels_.data(); }
    size_t byteCount() const { return bytes_; }
    uint8_t* row(int32_t y);  // device row y (0 = top)
    const uint8_t* row(int32_t y) const;

    // Colour table: 2, 16 or 256 entries for indexed bitmaps, empty otherwise.
    std::vector<RgbQuad>& colorTable() { return table_; }
    const std::vector<RgbQuad>& colorTable() const { return table_; }

    bool contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // The pixel's stored value (an index, or 0x00RRGGBB packed as stored bytes B,G,R[,X]).
    uint32_t rawAt(int32_t x, int32_t y) const;
    void setRaw(int32_t x, int32_t y, uint32_t value);

    // Colour conversions of stored values for this bitmap's format.
    ColorRef colorOfRaw(uint32_t raw) const;
    uint32_t rawOfColor(ColorRef color) const;  // nearest table entry for indexed bitmaps
    uint32_t rawMask() const;

private:
    Bitmap(int32_t width, int32_t height, uint16_t bitCount, bool topDown, size_t stride, size_t bytes,
           PixelMemory pixels);

    int32_t width_;
    int32_t height_;
    uint16_t bitCount_;
    bool topDown_;
    bool dibSection_ = false;
    HDC selectedIn_ = 0;
    size_t stride_;
    size_t bytes_;
    PixelMemory pixels_;
    std::vector<RgbQuad> table_;
};

// The colour table a new indexed bitmap starts with: black and white for 1 bit, the classic
// 16 colours for 4 bits, a grey ramp for 8 bits.
std::vector<RgbQuad> defaultColorTable(uint16_t bitCount);

}  // namespace zorbel::gdi
