#pragma once
// The library's one pseudo-random generator: uniform on [0, 1), shared by every image
// operation that draws random values; some operations re-seed it from the time of day.

namespace zorbel::imaging {

double nextUniform();
void reseedFromTimeOfDay();

}  // namespace zorbel::imaging
