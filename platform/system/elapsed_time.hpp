#pragma once
// Time of day in the classic form (float seconds since local midnight, like the classic Timer)
// and elapsed times measured with it.

namespace zorbel::system {

// Seconds since local midnight, with sub-second fraction.
double secondsSinceMidnight();

// Milliseconds from start to now, both in seconds since midnight. When now is before start the
// clock has passed midnight in between, and one day is added.
double elapsedMilliseconds(double start, double now);

}  // namespace zorbel::system
