#pragma once
// The pixel surface of a window: 32 bits per pixel, rows top-down without padding. A pixel is
// the value 0xAARRGGBB, so its bytes lie in memory as blue, green, red, alpha.

#include <cstdint>
#include <span>
#include <vector>

namespace zorbel::window {

// Largest width or height of a surface (the classic coordinate range).
inline constexpr int32_t kMaxSurfaceExtent = 32767;

class Surface {
public:
    Surface() = default;
    Surface(int32_t width, int32_t height);  // all pixels 0

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    size_t strideBytes() const { return static_cast<size_t>(width_) * 4; }

    // Keeps the pixels both sizes share; new pixels are 0. Extents are clamped to
    // 0..kMaxSurfaceExtent; an allocation failure raises error 7.
    void resize(int32_t width, int32_t height);
    void fill(uint32_t pixel);

    std::span<uint32_t> pixels() { return pixels_; }
    std::span<const uint32_t> pixels() const { return pixels_; }
    uint32_t* row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const uint32_t* row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

    // Bounds-checked single pixels: reads outside give 0, writes outside do nothing.
    uint32_t pixel(int32_t x, int32_t y) const;
    void setPixel(int32_t x, int32_t y, uint32_t value);

private:
    bool contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> pixels_;
};

}  // namespace zorbel::window
