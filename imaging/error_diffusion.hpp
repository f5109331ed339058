#pragma once
// The error-diffusion loops of BlackAndWhite and ApplyPalette. Each pixel's error goes to
// pixels visited later, so both keep the described order: column by column, storage rows
// from 0 up within a column. The source (`from`) receives the diffused errors; the target
// (`to`) the chosen colours. Both raise InitProgress(3 x (Width - 1)) and Progress per
// column; the caller copies the target back and raises Complete.

#include "imaging/nearest_color.hpp"
#include "imaging/operation_events.hpp"
#include "imaging/pixel_buffer.hpp"

namespace zorbel::imaging {

// `from` is grey already (blue = green = red); only its blue byte is read.
void diffuseBlackAndWhite(const PixelBuffer& from, const PixelBuffer& to, OperationEvents& events);

// Raises subscript out of range (9) at a pixel for which the palette has no entry.
void diffusePalette(const PixelBuffer& from, const PixelBuffer& to, NearestColorSearch& palette,
                    OperationEvents& events);

}  // namespace zorbel::imaging
