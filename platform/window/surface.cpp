#include "platform/window/surface.hpp"

#include <algorithm>
#include <new>

#include "frame/error.hpp"

namespace zorbel::window {

namespace {
int32_t clampExtent(int32_t extent) { return std::clamp(extent, 0, kMaxSurfaceExtent); }
}  // namespace

Surface::Surface(int32_t width, int32_t height) { resize(width, height); }

void Surface::resize(int32_t width, int32_t height) {
    width = clampExtent(width);
    height = clampExtent(height);
    if (width == width_ && height == height_) return;
    std::vector<uint32_t> next;
    try {
        next.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        throw Error::runtime(err::kOutOfMemory, "Zorbel.Window");
    }
    const int32_t keepWidth = std::min(width, width_);
    const int32_t keepHeight = std::min(height, height_);
    for (int32_t y = 0; y < keepHeight; ++y) {
        std::copy_n(row(y), keepWidth, next.data() + static_cast<size_t>(y) * width);
    }
    pixels_ = std::move(next);
    width_ = width;
    height_ = height;
}

void Surface::fill(uint32_t pixel) { std::fill(pixels_.begin(), pixels_.end(), pixel); }

uint32_t Surface::pixel(int32_t x, int32_t y) const { return contains(x, y) ? row(y)[x] : 0; }

void Surface::setPixel(int32_t x, int32_t y, uint32_t value) {
    if (contains(x, y)) row(y)[x] = value;
}

}  // namespace zorbel::window
