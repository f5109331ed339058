#pragma once
// A zero-filled block of pixel memory owned by one bitmap.
//
// Large blocks come straight from the kernel with their pages mapped in one go: touching a
// fresh block of a hundred megabytes page by page costs far more than the pixel work of most
// operations on it (a new 6000 x 6000 picture would otherwise spend most of its creation
// in page faults). Smaller blocks use the ordinary allocator, which reuses freed memory.

#include <cstddef>
#include <cstdint>

namespace zorbel::gdi {

class PixelMemory {
public:
    PixelMemory() = default;
    ~PixelMemory();
    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;
    // Copies throw std::bad_alloc when the memory is not available, like any container.
    PixelMemory(const PixelMemory& other);
    PixelMemory& operator=(const PixelMemory& other);

    // An empty object when the memory is not available.
    static PixelMemory zeroed(size_t bytes);

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    PixelMemory(uint8_t* data, size_t size, uint8_t* mapping, size_t mappingSize)
        : data_(data), size_(size), mapping_(mapping), mappingSize_(mappingSize) {}
    void release();

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    uint8_t* mapping_ = nullptr;  // the whole mapping when the block has its own, else null
    size_t mappingSize_ = 0;
};

}  // namespace zorbel::gdi
