#include "imaging/resample.hpp"

#include <vector>

#include "imaging/resample_kernels.hpp"
#include "imaging/resample_weights.hpp"

namespace zorbel::imaging {

namespace {

// Round to nearest, ties to even, for 0 <= v < 2^51: adding and removing 2^52 + 2^51 leaves
// the value rounded by the floating-point unit's default mode (the build does not use
// fast-math, so the two steps are not folded away).
inline double roundEven(double v) {
    constexpr double kMagic = 6755399441055744.0;
    return (v + kMagic) - kMagic;
}

inline uint8_t blendExact(double a, double b, double fraction) {
    const double v = roundEven((1.0 - fraction) * a + fraction * b);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

struct Kernels {
    void (*blendRows)(const uint8_t*, const uint8_t*, uint32_t, uint8_t*, size_t);
    void (*blendColumns)(const uint8_t*, const ColumnPlan&, uint8_t*);
};

void blendAllColumnsPortable(const uint8_t* blended, const ColumnPlan& plan, uint8_t* out) {
    blendColumnsPortable(blended, plan, 0, plan.left.size(), out);
}

Kernels kernelsFor(ResampleKernels choice) {
#if defined(__x86_64__)
    if (choice == ResampleKernels::Wide && wideKernelsSupported()) return {blendRowsWide, blendColumnsWide};
#endif
    (void)choice;
    return {blendRowsPortable, blendAllColumnsPortable};
}

// The vertical step for one target row: every source channel value of the two neighbouring
// rows blended with the row's fraction.
void blendRows(const Kernels& kernels, const PixelBuffer& source, const AxisSample& sample, uint8_t* blended) {
    const uint8_t* low = source.row(sample.index);
    const uint8_t* high = source.row(sample.index + 1);
    const size_t count = 3 * static_cast<size_t>(source.width);
    if (sample.exact) {
        kernels.blendRows(low, high, sample.weight, blended, count);
        return;
    }
    for (size_t k = 0; k < count; ++k) blended[k] = blendExact(low[k], high[k], sample.fraction);
}

}  // namespace

bool wideResampleKernelsAvailable() {
#if defined(__x86_64__)
    return wideKernelsSupported();
#else
    return false;
#endif
}

void resampleBilinear(const PixelBuffer& source, const PixelBuffer& target) {
    resampleBilinear(source, target, ResampleKernels::Wide);
}

void resampleBilinear(const PixelBuffer& source, const PixelBuffer& target, ResampleKernels choice) {
    const Kernels kernels = kernelsFor(choice);
    const std::vector<AxisSample> columns = axisSamples(source.width, target.width);
    const std::vector<AxisSample> rows = axisSamples(source.height, target.height);
    const ColumnPlan plan = planColumns(columns);
    std::vector<int32_t> inexactColumns;
    for (size_t j = 0; j < columns.size(); ++j)
        if (!columns[j].exact) inexactColumns.push_back(static_cast<int32_t>(j));

    std::vector<uint8_t> blended(3 * static_cast<size_t>(source.width) + kBlendedRowSlack);
    for (int32_t i = 0; i < target.height; ++i) {
        blendRows(kernels, source, rows[static_cast<size_t>(i)], blended.data());
        uint8_t* out = target.row(i);
        kernels.blendColumns(blended.data(), plan, out);
        // The few columns whose fraction is finer than the fixed-point weight.
        for (int32_t j : inexactColumns) {
            const AxisSample& column = columns[static_cast<size_t>(j)];
            const uint8_t* left = blended.data() + 3 * static_cast<size_t>(column.index);
            for (size_t c = 0; c < 3; ++c)
                out[3 * static_cast<size_t>(j) + c] = blendExact(left[c], left[c + 3], column.fraction);
        }
    }
}

}  // namespace zorbel::imaging
