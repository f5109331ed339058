// The resampler's fast loops against the rule written out with doubles, on sizes that reach
// every path: wide blocks, blocks too spread out for one window, the tail after the last
// block, and fractions finer than the fixed-point weight (positions below 1).

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "imaging/resample.hpp"

namespace zorbel::imaging {
namespace {

struct Image {
    std::vector<uint8_t> bytes;
    PixelBuffer buffer;
    Image(int32_t width, int32_t height) {
        const size_t stride = (3 * static_cast<size_t>(width) + 3) & ~size_t{3};
        bytes.assign(stride * static_cast<size_t>(height), 0);
        buffer = {bytes.data(), width, height, stride};
    }
};

uint8_t ruleSample(const PixelBuffer& src, int32_t newW, int32_t newH, int32_t j, int32_t i, int c) {
    const float xs = static_cast<float>((src.width - 1) / static_cast<double>(newW));
    const float ys = static_cast<float>((src.height - 1) / static_cast<double>(newH));
    const float sx = static_cast<float>(static_cast<double>(xs) * j);
    const float sy = static_cast<float>(static_cast<double>(ys) * i);
    const auto x0 = static_cast<int32_t>(std::floor(sx)), y0 = static_cast<int32_t>(std::floor(sy));
    const double fx = static_cast<float>(sx - x0), fy = static_cast<float>(sy - y0);
    auto p = [&](int32_t x, int32_t r) { return static_cast<double>(src.row(r)[3 * x + c]); };
    const double left = std::nearbyint((1 - fy) * p(x0, y0) + fy * p(x0, y0 + 1));
    const double right = std::nearbyint((1 - fy) * p(x0 + 1, y0) + fy * p(x0 + 1, y0 + 1));
    return static_cast<uint8_t>(std::nearbyint((1 - fx) * left + fx * right));
}

struct SizeCase {
    int32_t width, height, newWidth, newHeight;
};

TEST(ResampleKernelsTest, EveryKernelFollowsTheRule) {
    const SizeCase cases[] = {
        {2, 2, 1001, 3},   // upscale from the smallest source: fine fractions near 0
        {7, 5, 1, 1},      {3, 3, 17, 2},    {1000, 3, 333, 2},  // tails after the last block
        {1003, 7, 41, 5},  // downscale by 24: blocks that do not fit one window
        {517, 9, 1031, 13}, {1001, 31, 999, 31}, {64, 64, 31, 97},
    };
    std::mt19937 random(12345);
    for (ResampleKernels kernels : {ResampleKernels::Portable, ResampleKernels::Wide}) {
        if (kernels == ResampleKernels::Wide && !wideResampleKernelsAvailable()) continue;
        for (const SizeCase& s : cases) {
            Image source(s.width, s.height);
            // Runs of equal bytes make ties at half-way fractions likely.
            for (uint8_t& b : source.bytes) b = static_cast<uint8_t>(random() % 3 == 0 ? 128 : random());
            Image target(s.newWidth, s.newHeight);
            resampleBilinear(source.buffer, target.buffer, kernels);
            for (int32_t i = 0; i < s.newHeight; ++i)
                for (int32_t j = 0; j < s.newWidth; ++j)
                    for (int c = 0; c < 3; ++c)
                        ASSERT_EQ(target.buffer.row(i)[3 * j + c], ruleSample(source.buffer, s.newWidth, s.newHeight, j, i, c))
                            << s.width << "x" << s.height << " -> " << s.newWidth << "x" << s.newHeight << " at " << j
                            << "," << i << " kernels " << static_cast<int>(kernels);
        }
    }
}

}  // namespace
}  // namespace zorbel::imaging
