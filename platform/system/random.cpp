#include "platform/system/random.hpp"

#include <sys/time.h>

#include <atomic>
#include <cmath>
#include <ctime>
#include <utility>

namespace zorbel::system {

namespace {

constexpr uint32_t kMask = 0xFFFFFF;
constexpr uint32_t kMultiplier = 1140671485u;
constexpr uint32_t kIncrement = 12820163u;
constexpr double kScale = 16777216.0;  // 2^24

std::atomic<uint32_t> state{0x50000};  // the classic start value

uint32_t step(uint32_t x) { return (x * kMultiplier + kIncrement) & kMask; }

// Microseconds since local midnight.
uint64_t microsecondsOfDay() {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    time_t seconds = now.tv_sec;
    tm local{};
    ::localtime_r(&seconds, &local);
    uint64_t ofDay = static_cast<uint64_t>(local.tm_hour) * 3600 + local.tm_min * 60 + local.tm_sec;
    return ofDay * 1000000 + static_cast<uint64_t>(now.tv_usec);
}

}  // namespace

double nextRandom() {
    uint32_t current = state.load(std::memory_order_relaxed);
    uint32_t next = step(current);
    while (!state.compare_exchange_weak(current, next, std::memory_order_relaxed)) next = step(current);
    return next / kScale;
}

void seedRandom(uint32_t seed) { state.store(seed & kMask, std::memory_order_relaxed); }

void randomize() {
    uint64_t time = microsecondsOfDay();
    uint32_t mixed = static_cast<uint32_t>(time ^ (time >> 24)) ^ state.load(std::memory_order_relaxed);
    state.store(step(mixed & kMask), std::memory_order_relaxed);
}

int32_t randomInteger(int32_t low, int32_t high) {
    if (low > high) std::swap(low, high);
    int64_t span = static_cast<int64_t>(high) - low + 1;
    int64_t offset = static_cast<int64_t>(std::floor(nextRandom() * static_cast<double>(span)));
    if (offset >= span) offset = span - 1;
    return static_cast<int32_t>(low + offset);
}

}  // namespace zorbel::system
