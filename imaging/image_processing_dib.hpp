#pragma once
// ImageProcessingDIB: convolution filters and per-pixel operations on DIBSection images, with
// progress events. The filter half keeps a kernel (preset by filterType or set entry by
// entry) and its weight; ProcessImage runs the chosen filter. Every long operation raises
// InitProgress, one Progress per pixel column and Complete.
//
// Images without pixel memory (no successful Create) are left alone: the operation does
// nothing and raises no events. A work or source image smaller than the image it serves
// raises subscript out of range (9) before anything is changed. Event handlers run in the
// middle of an operation: a handler that releases or re-creates one of the operation's
// images ends it with invalid call (5) rather than letting it write into freed memory, and
// a handler that changes the kernel changes it for the next run only.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "frame/object.hpp"
#include "imaging/dib_section.hpp"
#include "imaging/filter_kernel.hpp"
#include "imaging/operation_events.hpp"
#include "imaging/palette_file.hpp"

namespace zorbel::imaging {

inline constexpr int32_t eeFilterErrorBase = -2147220200;  // 0x80040518
inline constexpr const char* kImageProcessErrorSource = "Zorbel.cImageProcess";

const EnumInfo& filterTypesInfo();
const EnumInfo& filterErrorInfo();

class ImageProcessingDIB final : public Dispatchable<ImageProcessingDIB>, private OperationEvents {
public:
    static const ClassInfo& typeInfo();

    void setFilterType(int32_t value);
    int32_t FilterArraySize() const { return kernel_.size; }
    void setFilterArraySize(int32_t value);
    int32_t FilterValue(int32_t iX, int32_t iY) const;
    void setFilterValue(int32_t iX, int32_t iY, int32_t value);
    int32_t FilterWeight() const { return kernel_.weight; }
    void setFilterWeight(int32_t& value) { kernel_.weight = value; }
    bool ProcessImage(Ref<DIBSection>& cImage, Ref<DIBSection>& cBuffer);

    Variant AddLightest(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo);
    Variant AddDarkest(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo);
    bool AddImages(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo, int32_t lFromMultiplier, int32_t lFromOffsetR,
                   int32_t lFromOffsetG, int32_t lFromOffsetB, int32_t lToMultiplier, int32_t lToOffsetR,
                   int32_t lToOffsetG, int32_t lToOffsetB);
    void BlackAndWhite(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo);
    void ApplyPalette(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo, Ref<cPalette>& cPal);
    void GrayScale(Ref<DIBSection>& cTo);
    void AddNoise(Ref<DIBSection>& cTo, int32_t lPercent, Variant bRandom);
    void fade(Ref<DIBSection>& cTo, int32_t lAmount);
    void Lighten(Ref<DIBSection>& cTo, int32_t lAmount);
    void Colourise(Ref<DIBSection>& cTo, float fHue, float fSaturation);

private:
    // OperationEvents: the class's events InitProgress, Progress and Complete.
    void initProgress(int32_t max) override;
    void progress(int32_t position) override;
    void complete(int32_t milliseconds) override;

    // Marks images as in use by the running operation for as long as it lives.
    class Working;
    struct ImageInUse {
        const DIBSection* image;
        const uint8_t* bits;
        int32_t width, height;
    };
    void checkImagesInUse() const;

    FilterKernel kernel_;
    int32_t filterType_ = 0;
    std::vector<ImageInUse> inUse_;
};

}  // namespace zorbel::imaging
