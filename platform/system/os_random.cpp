#include "platform/system/os_random.hpp"

#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>

namespace zorbel::system {

namespace {

uint64_t mix(uint64_t x) {  // splitmix64 finaliser
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

void fillFromClock(uint8_t* buffer, size_t size) {
    static std::atomic<uint64_t> counter{0};
    uint64_t state = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                     (static_cast<uint64_t>(::getpid()) << 32) ^ counter.fetch_add(1);
    for (size_t i = 0; i < size; ++i) {
        if (i % 8 == 0) state = mix(state);
        buffer[i] = static_cast<uint8_t>(state >> (8 * (i % 8)));
    }
}

}  // namespace

void fillUnpredictable(uint8_t* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t got = ::getrandom(buffer + done, size - done, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            fillFromClock(buffer + done, size - done);
            return;
        }
        done += static_cast<size_t>(got);
    }
}

}  // namespace zorbel::system
