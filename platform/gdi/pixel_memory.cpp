#include "platform/gdi/pixel_memory.hpp"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace zorbel::gdi {

namespace {

// Below this size the C library keeps freed blocks for reuse, so a picture made again and
// again finds its pages already mapped; above it every block is a fresh mapping anyway.
constexpr size_t kMappedFrom = size_t{32} << 20;
constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

PixelMemory PixelMemory::zeroed(size_t bytes) {
    if (bytes == 0) bytes = 1;  // a valid address even for an empty block
    if (bytes >= kMappedFrom) {
        // Aligned to a huge page and marked for huge pages: a few dozen page faults instead of
        // tens of thousands when the pixels are first written.
        const size_t mapped = bytes + kHugePage;
        void* block = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) return {};
        const auto start = (reinterpret_cast<uintptr_t>(block) + kHugePage - 1) & ~uintptr_t{kHugePage - 1};
        auto* data = reinterpret_cast<uint8_t*>(start);
        madvise(data, bytes, MADV_HUGEPAGE);  // only advice: without huge pages it still works
        return PixelMemory(data, bytes, static_cast<uint8_t*>(block), mapped);
    }
    void* block = std::calloc(bytes, 1);
    if (!block) return {};
    return PixelMemory(static_cast<uint8_t*>(block), bytes, nullptr, 0);
}

PixelMemory::~PixelMemory() { release(); }

PixelMemory::PixelMemory(const PixelMemory& other) {
    if (!other) return;
    *this = zeroed(other.size_);
    if (!data_) throw std::bad_alloc();
    std::memcpy(data_, other.data_, size_);
}

PixelMemory& PixelMemory::operator=(const PixelMemory& other) {
    if (this != &other) *this = PixelMemory(other);
    return *this;
}

PixelMemory::PixelMemory(PixelMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapping_(std::exchange(other.mapping_, nullptr)), mappingSize_(std::exchange(other.mappingSize_, 0)) {}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapping_ = std::exchange(other.mapping_, nullptr);
        mappingSize_ = std::exchange(other.mappingSize_, 0);
    }
    return *this;
}

void PixelMemory::release() {
    if (!data_) return;
    if (mapping_)
        munmap(mapping_, mappingSize_);
    else
        std::free(data_);
    data_ = mapping_ = nullptr;
    size_ = mappingSize_ = 0;
}

}  // namespace zorbel::gdi
