#pragma once
// The fixed 3 x 3 neighbourhood passes: for every pixel one pixel away from each edge, each
// channel's mean (the sum of the nine bytes divided by 9, truncated), minimum or maximum of
// its neighbourhood, written to the same place of the target. The border is not written.
// The result does not depend on the order of the pixels, so the pass works row by row in
// strips of columns; a target that is the source itself is filtered in the described
// column-by-column order, which it can observe.

#include "imaging/operation_events.hpp"
#include "imaging/pixel_buffer.hpp"

namespace zorbel::imaging {

enum class Neighbourhood { Mean, Minimum, Maximum };

// The target is at least as large as the source. Raises InitProgress, Progress and Complete;
// returns True.
bool neighbourhoodPass(const PixelBuffer& source, const PixelBuffer& target, Neighbourhood kind,
                       OperationEvents& events);

}  // namespace zorbel::imaging
