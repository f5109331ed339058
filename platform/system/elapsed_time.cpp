#include "platform/system/elapsed_time.hpp"

#include <sys/time.h>

#include <ctime>

namespace zorbel::system {

namespace {
constexpr double kSecondsPerDay = 86400.0;
}

double secondsSinceMidnight() {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    time_t seconds = now.tv_sec;
    tm local{};
    ::localtime_r(&seconds, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_usec / 1e6;
}

double elapsedMilliseconds(double start, double now) {
    double seconds = now - start;
    if (seconds < 0) seconds += kSecondsPerDay;
    return seconds * 1000.0;
}

}  // namespace zorbel::system
