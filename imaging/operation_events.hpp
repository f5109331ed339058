#pragma once
// The progress reports of the long image operations: one InitProgress at the start, one
// Progress per finished pixel column (with the column's byte offset, 3 x column), one
// Complete with the milliseconds the operation took. Passes that work in strips of columns
// report the columns of a strip, in order, once the whole strip is finished.

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace zorbel::imaging {

class OperationEvents {
public:
    virtual void initProgress(int32_t max) = 0;
    virtual void progress(int32_t position) = 0;
    virtual void complete(int32_t milliseconds) = 0;

protected:
    ~OperationEvents() = default;
};

// Measures an operation on a monotonic clock from its construction.
class OperationClock {
public:
    int32_t elapsedMilliseconds() const {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
        return static_cast<int32_t>(std::min<int64_t>(ms.count(), INT32_MAX));
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Pixel columns per strip of the neighbourhood passes: wide enough that each row of a strip
// is a long run of memory, narrow enough that the rows a neighbourhood needs stay in the
// first-level cache.
inline constexpr int32_t kStripColumns = 1024;
// Per-pixel operations reuse nothing between rows: longer runs stream faster.
inline constexpr int32_t kPixelStripColumns = 4096;

// Calls work(firstColumn, endColumn) for consecutive strips of the columns first..end - 1
// and, after each strip, reports Progress for each of its columns.
template <class Work>
void forEachStrip(int32_t first, int32_t end, OperationEvents* events, Work work,
                  int32_t columns = kStripColumns) {
    for (int32_t c0 = first; c0 < end; c0 += columns) {
        const int32_t c1 = std::min(end, c0 + columns);
        work(c0, c1);
        if (events)
            for (int32_t c = c0; c < c1; ++c) events->progress(3 * c);
    }
}

}  // namespace zorbel::imaging
