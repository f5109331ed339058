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
//
// A row of sums is built in passes of up to three terms each, sum = [sum +] k0 x s0 + k1 x s1
// + k2 x s2, so that the sums are read and written once per three terms; the first pass
// sets them.

ZORBEL_VECTOR_CLONES
void taps16(int16_t* __restrict sum, const uint8_t* __restrict s0, const uint8_t* __restrict s1,
            const uint8_t* __restrict s2, int16_t k0, int16_t k1, int16_t k2, size_t n, bool add) {
    if (add)
        for (size_t i = 0; i < n; ++i) sum[i] = static_cast<int16_t>(sum[i] + k0 * s0[i] + k1 * s1[i] + k2 * s2[i]);
    else
        for (size_t i = 0; i < n; ++i) sum[i] = static_cast<int16_t>(k0 * s0[i] + k1 * s1[i] + k2 * s2[i]);
}

ZORBEL_VECTOR_CLONES
void taps32(int32_t* __restrict sum, const uint8_t* __restrict s0, const uint8_t* __restrict s1,
            const uint8_t* __restrict s2, int32_t k0, int32_t k1, int32_t k2, size_t n, bool add) {
    if (add)
        for (size_t i = 0; i < n; ++i) sum[i] += k0 * s0[i] + k1 * s1[i] + k2 * s2[i];
    else
        for (size_t i = 0; i < n; ++i) sum[i] = k0 * s0[i] + k1 * s1[i] + k2 * s2[i];
}

ZORBEL_VECTOR_CLONES
void terms16(int16_t* __restrict sum, const int16_t* __restrict v0, const int16_t* __restrict v1,
             const int16_t* __restrict v2, size_t n, bool add) {
    if (add)
        for (size_t i = 0; i < n; ++i) sum[i] = static_cast<int16_t>(sum[i] + v0[i] + v1[i] + v2[i]);
    else
        for (size_t i = 0; i < n; ++i) sum[i] = static_cast<int16_t>(v0[i] + v1[i] + v2[i]);
}

ZORBEL_VECTOR_CLONES
void terms32(int32_t* __restrict sum, const int32_t* __restrict v0, const int32_t* __restrict v1,
             const int32_t* __restrict v2, size_t n, bool add) {
    if (add)
        for (size_t i = 0; i < n; ++i) sum[i] += v0[i] + v1[i] + v2[i];
    else
        for (size_t i = 0; i < n; ++i) sum[i] = v0[i] + v1[i] + v2[i];
}

ZORBEL_VECTOR_CLONES
void store16(uint8_t* __restrict out, const int16_t* __restrict sum, size_t n, int32_t sign, int32_t cap,
             uint32_t magic, uint32_t shift) {
    for (size_t i = 0; i < n; ++i) {
        int32_t v = std::min(std::max(sign * sum[i], 0), cap);
        out[i] = static_cast<uint8_t>((static_cast<uint32_t>(v) * magic) >> shift);
    }
}

ZORBEL_VECTOR_CLONES
void store32(uint8_t* __restrict out, const int32_t* __restrict sum, size_t n, int32_t sign, int32_t limit,
             float reciprocal, float half) {
    for (size_t i = 0; i < n; ++i) {
        int32_t v = std::min(std::max(sign * sum[i], 0), limit);
        out[i] = static_cast<uint8_t>(static_cast<int32_t>(static_cast<float>(v) * reciprocal + half));
    }
}

void store32Exact(uint8_t* out, const int32_t* sum, size_t n, const ByteDivider& divide) {
    for (size_t i = 0; i < n; ++i) out[i] = divide(sum[i]);
}

struct Tap {
    int32_t iX, iY, k;
};

// How a row of sums is built: either every non-zero entry is a term of its own, or the
// kernel's distinct columns are summed down once each and the column sums added across.
struct Plan {
    std::vector<Tap> taps;                           // direct: every non-zero entry
    std::vector<std::vector<Tap>> columns;           // grouped: the taps (iY, k) of each distinct column
    std::vector<std::pair<int32_t, size_t>> across;  // grouped: (iX, column) of each non-zero column
    bool grouped = false;
};

size_t passesFor(size_t terms) { return (terms + 2) / 3; }

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
    size_t groupedPasses = passesFor(plan.across.size());
    for (const auto& column : plan.columns) groupedPasses += passesFor(column.size());
    plan.grouped = groupedPasses < passesFor(plan.taps.size());
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
            if (plan_.grouped) sumColumns(r, base, n);
            else addTaps(sums_.data(), plan_.taps, r, base, n);
            store(t_.row(r) + base, n);
        }
    }

private:
    // sum = the taps' terms, three per pass; the pixels of tap (iX, iY) start at base + 3 iX
    // of row r + iY.
    void addTaps(Acc* sum, const std::vector<Tap>& taps, int32_t r, size_t base, size_t n) const {
        for (size_t t = 0; t < taps.size(); t += 3) {
            const uint8_t* src[3];
            Acc k[3] = {0, 0, 0};
            for (size_t j = 0; j < 3; ++j) {
                const Tap& tap = taps[std::min(t + j, taps.size() - 1)];
                src[j] = s_.row(r + tap.iY) + base + 3 * tap.iX;
                if (t + j < taps.size()) k[j] = static_cast<Acc>(tap.k);
            }
            if constexpr (sizeof(Acc) == 2) taps16(sum, src[0], src[1], src[2], k[0], k[1], k[2], n, t > 0);
            else taps32(sum, src[0], src[1], src[2], k[0], k[1], k[2], n, t > 0);
        }
    }

    void sumColumns(int32_t r, size_t base, size_t n) {
        const size_t wide = n + 6 * static_cast<size_t>(h_);
        const size_t left = base - 3 * static_cast<size_t>(h_);
        for (size_t g = 0; g < plan_.columns.size(); ++g) addTaps(columnSums_[g].data(), plan_.columns[g], r, left, wide);
        const auto& across = plan_.across;
        for (size_t t = 0; t < across.size(); t += 3) {
            const Acc* v[3];
            for (size_t j = 0; j < 3; ++j) {
                auto [iX, g] = across[std::min(t + j, across.size() - 1)];
                v[j] = t + j < across.size() ? columnSums_[g].data() + 3 * (iX + h_) : zeros();
            }
            if constexpr (sizeof(Acc) == 2) terms16(sums_.data(), v[0], v[1], v[2], n, t > 0);
            else terms32(sums_.data(), v[0], v[1], v[2], n, t > 0);
        }
    }

    // A row of zero terms, for the unused places of the last pass.
    const Acc* zeros() {
        if (zeros_.empty()) zeros_.assign(sums_.size(), 0);
        return zeros_.data();
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
    std::vector<Acc> zeros_;
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

bool convolutionRunsInStrips(const PixelBuffer& source, const PixelBuffer& target, const FilterKernel& kernel) {
    return kernel.exists() && kernel.weight != 0 && source.bits != target.bits && sumBound(kernel) <= INT32_MAX;
}

bool convolutionPass(const PixelBuffer& source, const PixelBuffer& target, const FilterKernel& kernel,
                     OperationEvents& events) {
    OperationClock clock;
    events.initProgress(3 * (source.width - 1) - 3 * kernel.half);
    if (!convolutionRunsInStrips(source, target, kernel)) passInDescribedOrder(source, target, kernel, events);
    else if (sumBound(kernel) <= INT16_MAX) passInStrips<int16_t>(source, target, kernel, events);
    else passInStrips<int32_t>(source, target, kernel, events);
    events.complete(clock.elapsedMilliseconds());
    return true;
}

}  // namespace zorbel::imaging
