#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "platform/gdi/pixel_memory.hpp"

namespace zorbel::gdi {
namespace {

// Both kinds of block: the allocator's and a mapping of its own.
TEST(PixelMemoryTest, BlocksStartZeroedAndCopyTheirBytes) {
    EXPECT_TRUE(PixelMemory::zeroed(0));  // still a valid address
    for (size_t bytes : {size_t{13}, size_t{40} << 20}) {
        PixelMemory block = PixelMemory::zeroed(bytes);
        ASSERT_TRUE(block);
        EXPECT_TRUE(std::all_of(block.data(), block.data() + block.size(), [](uint8_t b) { return b == 0; }));
        block.data()[0] = 7;
        block.data()[block.size() - 1] = 9;
        PixelMemory copy = block;
        ASSERT_NE(copy.data(), block.data());
        EXPECT_EQ(copy.data()[0], 7);
        EXPECT_EQ(copy.data()[copy.size() - 1], 9);
        PixelMemory moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(moved.data()[0], 7);
    }
}

}  // namespace
}  // namespace zorbel::gdi
