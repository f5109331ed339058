#pragma once
// AddNoise's loop. Its draws from the library's shared generator are taken pixel by pixel in
// the described order (column by column, storage rows from 0 up), so it keeps that order.

#include <cstdint>

#include "imaging/operation_events.hpp"
#include "imaging/pixel_buffer.hpp"

namespace zorbel::imaging {

// Raises InitProgress(Width - 1), Progress per column and Complete; overflow (6) before
// anything else when 128 x percent does not fit 32 bits.
void addNoise(const PixelBuffer& to, int32_t percent, bool randomPixels, OperationEvents& events);

}  // namespace zorbel::imaging
