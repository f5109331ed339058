#pragma once
// The convolution pass: for every pixel at least half a kernel away from each edge, each
// channel's weighted sum of the neighbourhood, divided by the weight (truncated) and clamped
// to 0..255, written to the same place of the target. Pixels nearer an edge are not written.
//
// The sums are exact integers, so the order of the pixels does not change the result: the
// pass works row by row in strips of columns and reports the columns of each strip when it
// is finished. Where the described column-by-column order is observable — the target is the
// source itself, or an error (overflow 6, a missing kernel 9, a weight of 0 11) stops the
// pass part way — it runs in that order.

#include "imaging/filter_kernel.hpp"
#include "imaging/operation_events.hpp"
#include "imaging/pixel_buffer.hpp"

namespace zorbel::imaging {

// Whether the pass works in strips, writing every pixel it owns exactly once: then only the
// border of a work image needs the source's pixels beforehand.
bool convolutionRunsInStrips(const PixelBuffer& source, const PixelBuffer& target, const FilterKernel& kernel);

// The target is at least as large as the source. Raises InitProgress, Progress and Complete;
// returns True.
bool convolutionPass(const PixelBuffer& source, const PixelBuffer& target, const FilterKernel& kernel,
                     OperationEvents& events);

}  // namespace zorbel::imaging
