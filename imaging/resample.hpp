#pragma once
// Bilinear resampling between two 24-bit pixel buffers in the DIBSection layout, with the
// step sizes (W - 1) / W' and (H - 1) / H' and the rounding of the library's image code:
// 32-bit float positions and fractions, each channel rounded to nearest (ties to even)
// first along the rows, then along the columns.

#include "imaging/pixel_buffer.hpp"

namespace zorbel::imaging {

// Which inner loops do the work. Both give the same bytes; the wide ones need AVX-512
// with byte permutes and are chosen automatically where the processor has them.
enum class ResampleKernels { Portable, Wide };

bool wideResampleKernelsAvailable();

// Both at least 1 x 1; the source at least 2 x 2.
void resampleBilinear(const PixelBuffer& source, const PixelBuffer& target);
void resampleBilinear(const PixelBuffer& source, const PixelBuffer& target, ResampleKernels kernels);

}  // namespace zorbel::imaging
