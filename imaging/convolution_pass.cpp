#include "imaging/convolution_pass.hpp"

#include <cstring>
#include <vector>

#include "frame/error.hpp"
#include "imaging/byte_divider.hpp"
#include "imaging/vector_clones.hpp"

namespace zorbel::imaging {

namespace {

// ---- the described order, with checked 32-bit arithmetic ----

int32_t checked(int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX) throw Error::runtime(err::kOverflow);
    return static_cast<int32_t>(value);
}

int32_t channelSum(const PixelBuffer& s, const FilterKernel& kernel, int32_t x, int32_t r) {
    const int32_t h = kernel.half;
    int32_t sum = 0;
    for (int32_t iX = -h; iX <= h; ++iX)
        for (int32_t iY = -h; iY <= h; ++iY) {
            if (!kernel.exists()) throw Error::runtime(err::kSubscriptOutOfRange);
            sum = checked(int64_t{sum} + checked(int64_t{s.at(x + 3 * iX, r + iY)} * kernel.at(iX, iY)));
        }
    return sum;
}

void passInDescribedOrder(const PixelBuffer& s, const PixelBuffer& t, const FilterKernel& kernel,
                          OperationEvents& events) {
    const int32_t h = kernel.half;
    for (int32_t x = 3 * h; x <= 3 * (s.width - 1 - h); x += 3) {
        for (int32_t r = h; r <= s.height - 1 - h; ++r) {
            int32_t sums[3];
            for (int32_t c = 0; c < 3; ++c) sums[c] = channelSum(s, kernel, x + c, r);
            for (int32_t c = 0; c < 3; ++c) {
                if (kernel.weight == 0) throw Error::runtime(err::kDivisionByZero);
                int32_t value = checked(int64_t{sums[c]} / kernel.weight);
                t.at(x + c, r) = static_cast<uint8_t>(std::clamp(value, 0, 255));
            }
        }
        events.progress(x);
    }
}

// ---- row by row in strips ----

ZORBEL_VECTOR_CLONES
void accumulate16(int16_t* acc, const uint8_t* src, int16_t k, size_t n) {
    for (size_t i = 0; i < n; ++i) acc[i] = static_cast<int16_t>(acc[i] + k * src[i]);
}

ZORBEL_VECTOR_CLONES
void accumulate32(int32_t* acc, const uint8_t* src, int32_t k, size_t n) {
    for (size_t i = 0; i < n; ++i) acc[i] += k * src[i];
}

ZORBEL_VECTOR_CLONES
void add16(int16_t* acc, const int16_t* v, size_t n) {
    for (size_t i = 0; i < n; ++i) acc[i] = static_cast<int16_t>(acc[i] + v[i]);
}

ZORBEL_VECTOR_CLONES
void add32(int32_t* acc, const int32_t* v, size_t n) {
    for (size_t i = 0; i < n; ++i) acc[i] += v[i];
}

ZORBEL_VECTOR_CLONES
void store16(uint8_t* out, const int16_t* acc, size_t n, int32_t sign, int32_t cap, uint32_t magic, uint32_t shift) {
    for (size_t i = 0; i < n; ++i) {
        int32_t v = std::min(std::max(sign * acc[i], 0), cap);
        out[i] = static_cast<uint8_t>((static_cast<uint32_t>(v) * magic) >> shift);
    }
}

ZORBEL_VECTOR_CLONES
void store32(uint8_t* out, const int32_t* acc, size_t n, int32_t sign, int32_t limit, float reciprocal, float half) {
    for (size_t i = 0; i < n; ++i) {
        int32_t v = std::min(std::max(sign * acc[i], 0), limit);
        out[i] = static_cast<uint8_t>(static_cast<int32_t>(static_cast<float>(v) * reciprocal + half));
    }
}

void store32Exact(uint8_t* out, const int32_t* acc, size_t n, const ByteDivider& divide) {
    for (size_t i = 0; i < n; ++i) out[i] = divide(acc[i]);
}

struct Tap {
    int32_t iX, iY, k;
};

// How a row of sums is built: either every non-zero entry is added on its own, or the
// kernel's distinct columns are summed down once each and the column sums added across.
struct Plan {
    std::vector<Tap> taps;                  // direct: every non-zero entry
    std::vector<std::vector<Tap>> columns;  // grouped: the taps (iY, k) of each distinct column
    std::vector<std::pair<int32_t, size_t>> across;  // grouped: (iX, column) of each non-zero column
    bool grouped = false;
};

Plan planFor(const FilterKernel& kernel) {
    Plan plan;
    const int32_t h = kernel.half;
    std::vector<std::vector<int32_t>> distinct;
    for (int32_t iX = -h; iX <= h; ++iX) {
        std::vector<int32_t> column;
        bool any = false;
        for (int32_t iY = -h; iY <= h; ++iY) {
            column.push_back(kernel.at(iX, iY));
            any |= column.back() != 0;
            if (column.back() != 0) plan.taps.push_back({iX, iY, column.back()});
        }
        if (!any) continue;
        size_t g = 0;
        while (g < distinct.size() && distinct[g] != column) ++g;
        if (g == distinct.size()) {
            distinct.push_back(column);
            plan.columns.emplace_back();
            for (int32_t iY = -h; iY <= h; ++iY)
                if (column[static_cast<size_t>(iY + h)] != 0)
                    plan.columns.back().push_back({0, iY, column[static_cast<size_t>(iY + h)]});
        }
        plan.across.emplace_back(iX, g);
    }
    size_t groupedCost = plan.across.size();
    for (const auto& column : plan.columns) groupedCost += column.size();
    plan.grouped = groupedCost < plan.taps.size();
    return plan;
}

template <class Acc>
class StripConvolver {
public:
    StripConvolver(const PixelBuffer& s, const PixelBuffer& t, const FilterKernel& kernel)
        : s_(s), t_(t), h_(kernel.half), plan_(planFor(kernel)), divide_(kernel.weight) {
        const size_t wide = 3 * static_cast<size_t>(kStripColumns + 2 * h_);
        sums_.resize(wide);
        if (plan_.grouped) columnSums_.assign(plan_.columns.size(), std::vector<Acc>(wide));
    }

    void strip(int32_t c0, int32_t c1) {
        const size_t n = 3 * static_cast<size_t>(c1 - c0);
        const size_t base = 3 * static_cast<size_t>(c0);
        for (int32_t r = h_; r < s_.height - h_; ++r) {
            std::memset(sums_.data(), 0, n * sizeof(Acc));
            if (plan_.grouped) sumColumns(r, base, n);
            else
                for (const Tap& tap : plan_.taps) accumulate(sums_.data(), s_.row(r + tap.iY) + base + 3 * tap.iX, tap.k, n);
            store(t_.row(r) + base, n);
        }
    }

private:
    void sumColumns(int32_t r, size_t base, size_t n) {
        const size_t wide = n + 6 * static_cast<size_t>(h_);
        const size_t left = base - 3 * static_cast<size_t>(h_);
        for (size_t g = 0; g < plan_.columns.size(); ++g) {
            Acc* v = columnSums_[g].data();
            std::memset(v, 0, wide * sizeof(Acc));
            for (const Tap& tap : plan_.columns[g]) accumulate(v, s_.row(r + tap.iY) + left, tap.k, wide);
        }
        for (auto [iX, g] : plan_.across) add(sums_.data(), columnSums_[g].data() + 3 * (iX + h_), n);
    }

    static void accumulate(Acc* acc, const uint8_t* src, int32_t k, size_t n) {
        if constexpr (sizeof(Acc) == 2) accumulate16(acc, src, static_cast<int16_t>(k), n);
        else accumulate32(acc, src, k, n);
    }
    static void add(Acc* acc, const Acc* v, size_t n) {
        if constexpr (sizeof(Acc) == 2) add16(acc, v, n);
        else add32(acc, v, n);
    }
    void store(uint8_t* out, size_t n) const {
        const ByteDivider& d = divide_;
        if constexpr (sizeof(Acc) == 2) store16(out, sums_.data(), n, d.sign, d.cap16, d.magic16, d.shift16);
        else if (d.floatExact)
            store32(out, sums_.data(), n, d.sign, static_cast<int32_t>(d.limit), d.reciprocal, d.halfReciprocal);
        else store32Exact(out, sums_.data(), n, d);
    }

    const PixelBuffer& s_;
    const PixelBuffer& t_;
    const int32_t h_;
    const Plan plan_;
    const ByteDivider divide_;
    std::vector<Acc> sums_;
    std::vector<std::vector<Acc>> columnSums_;
};

// The largest magnitude a partial sum can reach.
int64_t sumBound(const FilterKernel& kernel) {
    int64_t bound = 0;
    for (int32_t k : kernel.entries) bound += 255 * std::llabs(int64_t{k});
    return bound;
}

template <class Acc>
void passInStrips(const PixelBuffer& s, const PixelBuffer& t, const FilterKernel& kernel, OperationEvents& events) {
    StripConvolver<Acc> convolver(s, t, kernel);
    forEachStrip(kernel.half, s.width - kernel.half, &events, [&](int32_t c0, int32_t c1) { convolver.strip(c0, c1); });
}

}  // namespace

bool convolutionPass(const PixelBuffer& source, const PixelBuffer& target, const FilterKernel& kernel,
                     OperationEvents& events) {
    OperationClock clock;
    events.initProgress(3 * (source.width - 1) - 3 * kernel.half);
    const int64_t bound = kernel.exists() ? sumBound(kernel) : INT64_MAX;
    const bool inAnyOrder = kernel.exists() && kernel.weight != 0 && source.bits != target.bits && bound <= INT32_MAX;
    if (!inAnyOrder) passInDescribedOrder(source, target, kernel, events);
    else if (bound <= INT16_MAX) passInStrips<int16_t>(source, target, kernel, events);
    else passInStrips<int32_t>(source, target, kernel, events);
    events.complete(clock.elapsedMilliseconds());
    return true;
}

}  // namespace zorbel::imaging
