#pragma once
// The library's one pseudo-random generator, shared by the whole process (random integers,
// shuffles). It works like the classic Rnd: a 24-bit linear congruential sequence
// (x := (x * 1140671485 + 12820163) mod 2^24) whose values are x / 2^24, so every value lies in
// [0, 1) and is exactly representable as a float. The state is one atomic word, so threads may
// draw at the same time without losing or repeating a step.

#include <cstdint>

namespace zorbel::system {

double nextRandom();                 // the next value in [0, 1)
void seedRandom(uint32_t seed);      // a fixed start (low 24 bits) for a repeatable sequence
void randomize();                    // a new start from the time of day, mixed with the current state

// An integer from low to high inclusive (the bounds may come in either order), drawn from
// the shared generator.
int32_t randomInteger(int32_t low, int32_t high);

}  // namespace zorbel::system
