#pragma once
// Unpredictable bytes from the kernel, for names and identifiers that must not repeat. Not the
// library's pseudo-random generator (random.hpp), which is deterministic after a seed.

#include <cstddef>
#include <cstdint>

namespace zorbel::system {

// Fills the buffer from getrandom(2). Should the kernel refuse, the bytes come from the clock,
// the process id and a process-wide counter, which still differ from call to call.
void fillUnpredictable(uint8_t* buffer, size_t size);

}  // namespace zorbel::system
