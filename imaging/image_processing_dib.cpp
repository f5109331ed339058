#include "imaging/image_processing_dib.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"
#include "imaging/convolution_pass.hpp"
#include "imaging/error_diffusion.hpp"
#include "imaging/nearest_color.hpp"
#include "imaging/neighbourhood_pass.hpp"
#include "imaging/noise.hpp"
#include "imaging/pixel_ops.hpp"

namespace zorbel::imaging {

namespace {

enum EventIndex : size_t { kInitProgress, kProgress, kComplete };

DIBSection& required(Ref<DIBSection>& image) {
    if (!image) throw Error::runtime(err::kObjectNotSet);
    return *image;
}

PixelBuffer pixelsOf(const DIBSection& image) {
    return {image.bits(), image.Width(), image.Height(), static_cast<size_t>(image.BytesPerScanLine())};
}

// The image read alongside another must cover it.
void requireCovers(const DIBSection& larger, const DIBSection& image) {
    if (larger.Width() < image.Width() || larger.Height() < image.Height())
        throw Error::runtime(err::kSubscriptOutOfRange);
}

// The copies between an image and its work or source image. A device-context copy would
// align the images at their top rows while the passes address storage rows from the bottom,
// which scrambles the result when the other image is taller; the copy keeps storage rows.
void copyInto(DIBSection& target, const DIBSection& source) { copyPixels(pixelsOf(target), pixelsOf(source)); }

// The copy into the work image before a pass. A pass that writes each of its pixels once
// needs only the border that it leaves alone; the rest would be overwritten unread.
void prepareWorkImage(DIBSection& buffer, const DIBSection& image, bool passOwnsInside, int32_t margin) {
    if (passOwnsInside) copyBorder(pixelsOf(buffer), pixelsOf(image), margin);
    else copyInto(buffer, image);
}

Error filterError(int32_t offset, const char* description) {
    return Error(eeFilterErrorBase + offset, description, kImageProcessErrorSource);
}

}  // namespace

const EnumInfo& filterTypesInfo() {
    static const EnumInfo info{"EFilterTypes",
                               {{"_Min", _Min},
                                {"eBlur", eBlur},
                                {"eBlurMore", eBlurMore},
                                {"eSoften", eSoften},
                                {"eSoftenMore", eSoftenMore},
                                {"eSharpen", eSharpen},
                                {"eSharpenMore", eSharpenMore},
                                {"eUnSharp", eUnSharp},
                                {"eEmboss", eEmboss},
                                {"eMedian", eMedian},
                                {"eMinimum", eMinimum},
                                {"eMaximum", eMaximum},
                                {"eCount", eCount},
                                {"eCustom", eCustom},
                                {"_Max", _Max}}};
    return info;
}

const EnumInfo& filterErrorInfo() {
    static const EnumInfo info{"eFilterError", {{"eeFilterErrorBase", eeFilterErrorBase}}};
    return info;
}

const ClassInfo& ImageProcessingDIB::typeInfo() {
    using C = ImageProcessingDIB;
    using P = Param;
    static const ClassInfo info =
        ClassBuilder<C>("ImageProcessingDIB", zorbelIdentity("ImageProcessingDIB"))
            .property("filterType", nullptr, &C::setFilterType)
            .property("FilterArraySize", &C::FilterArraySize, &C::setFilterArraySize)
            .property("FilterValue", &C::FilterValue, &C::setFilterValue, {"iX", "iY"})
            .property("FilterWeight", &C::FilterWeight, &C::setFilterWeight)
            .method("ProcessImage", &C::ProcessImage, {"cImage", "cBuffer"})
            .method("AddLightest", &C::AddLightest, {"cFrom", "cTo"})
            .method("AddDarkest", &C::AddDarkest, {"cFrom", "cTo"})
            .method("AddImages", &C::AddImages,
                    {"cFrom", "cTo", "lFromMultiplier", "lFromOffsetR", "lFromOffsetG", "lFromOffsetB",
                     "lToMultiplier", "lToOffsetR", "lToOffsetG", "lToOffsetB"})
            .method("BlackAndWhite", &C::BlackAndWhite, {"cFrom", "cTo"})
            .method("ApplyPalette", &C::ApplyPalette, {"cFrom", "cTo", "cPal"})
            .method("GrayScale", &C::GrayScale, {"cTo"})
            .method("AddNoise", &C::AddNoise, {"cTo", "lPercent", P::opt("bRandom", false)})
            .method("fade", &C::fade, {"cTo", "lAmount"})
            .method("Lighten", &C::Lighten, {"cTo", "lAmount"})
            .method("Colourise", &C::Colourise, {"cTo", "fHue", "fSaturation"})
            .event("InitProgress", {{"lMax", VarType::Long}})
            .event("Progress", {{"lPosition", VarType::Long}})
            .event("Complete", {{"lTimeMs", VarType::Long}})
            .build();
    return info;
}

class ImageProcessingDIB::Working {
public:
    Working(ImageProcessingDIB& owner, std::initializer_list<const DIBSection*> images)
        : owner_(owner), before_(owner.inUse_.size()) {
        for (const DIBSection* image : images)
            owner_.inUse_.push_back({image, image->bits(), image->Width(), image->Height()});
    }
    ~Working() { owner_.inUse_.resize(before_); }
    Working(const Working&) = delete;
    Working& operator=(const Working&) = delete;

private:
    ImageProcessingDIB& owner_;
    size_t before_;
};

void ImageProcessingDIB::checkImagesInUse() const {
    for (const ImageInUse& use : inUse_)
        if (use.image->bits() != use.bits || use.image->Width() != use.width || use.image->Height() != use.height)
            throw Error::runtime(err::kInvalidCall);
}

void ImageProcessingDIB::initProgress(int32_t max) {
    raiseEvent(kInitProgress, {Variant::longValue(max)});
    checkImagesInUse();
}
void ImageProcessingDIB::progress(int32_t position) {
    raiseEvent(kProgress, {Variant::longValue(position)});
    checkImagesInUse();
}
void ImageProcessingDIB::complete(int32_t milliseconds) {
    raiseEvent(kComplete, {Variant::longValue(milliseconds)});
    checkImagesInUse();
}

// ---- filters ----

void ImageProcessingDIB::setFilterType(int32_t value) {
    if (value < eBlur || value > eCustom) throw filterError(2, "Invalid filter types.");
    filterType_ = value;
    if (value != eCustom) buildPreset(kernel_, value);
}

void ImageProcessingDIB::setFilterArraySize(int32_t value) {
    if (value % 2 == 0) throw filterError(1, "Size must be an odd number");
    if (value < 3 || value > 9) throw filterError(2, "Invalid size.  Size should be an odd number from 3 to 9");
    kernel_.resize(value);
}

int32_t ImageProcessingDIB::FilterValue(int32_t iX, int32_t iY) const {
    if (!kernel_.inRange(iX, iY)) throw Error::runtime(err::kSubscriptOutOfRange);
    return kernel_.at(iX, iY);
}

void ImageProcessingDIB::setFilterValue(int32_t iX, int32_t iY, int32_t value) {
    if (!kernel_.inRange(iX, iY)) throw Error::runtime(err::kSubscriptOutOfRange);
    kernel_.at(iX, iY) = value;
}

bool ImageProcessingDIB::ProcessImage(Ref<DIBSection>& cImage, Ref<DIBSection>& cBuffer) {
    if (filterType_ < eBlur || filterType_ == eCount) return false;
    DIBSection& image = required(cImage);
    DIBSection& buffer = required(cBuffer);
    if (!image.bits() || !buffer.bits()) return false;
    requireCovers(buffer, image);
    Working working(*this, {&image, &buffer});
    const PixelBuffer source = pixelsOf(image), work = pixelsOf(buffer);
    switch (filterType_) {
        case eUnSharp: {
            setFilterType(eBlur);
            const FilterKernel kernel = kernel_;  // the pass's own: handlers may change the object's
            prepareWorkImage(buffer, image, convolutionRunsInStrips(source, work, kernel), kernel.half);
            bool result = convolutionPass(source, work, kernel, *this);
            addImages(work, source, ImageSum{-1, {0, 0, 0}, 2, {0, 0, 0}});
            setFilterType(eUnSharp);
            return result;
        }
        case eEmboss: {
            const FilterKernel kernel = kernel_;
            prepareWorkImage(buffer, image, convolutionRunsInStrips(source, work, kernel), kernel.half);
            bool result = convolutionPass(source, work, kernel, *this);
            addImages(work, source, ImageSum{1, {127, 127, 127}, 0, {0, 0, 0}});
            return result;
        }
        case eMedian:
        case eMinimum:
        case eMaximum: {
            const Neighbourhood kind = filterType_ == eMedian    ? Neighbourhood::Mean
                                       : filterType_ == eMinimum ? Neighbourhood::Minimum
                                                                 : Neighbourhood::Maximum;
            prepareWorkImage(buffer, image, source.bits != work.bits, 1);
            bool result = neighbourhoodPass(source, work, kind, *this);
            copyInto(image, buffer);
            return result;
        }
        default: {
            const FilterKernel kernel = kernel_;
            prepareWorkImage(buffer, image, convolutionRunsInStrips(source, work, kernel), kernel.half);
            bool result = convolutionPass(source, work, kernel, *this);
            copyInto(image, buffer);
            return result;
        }
    }
}

// ---- pixel operations ----

Variant ImageProcessingDIB::AddLightest(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo) {
    DIBSection& from = required(cFrom);
    DIBSection& to = required(cTo);
    if (!from.bits() || !to.bits()) return Variant();
    requireCovers(from, to);
    copyDarker(pixelsOf(from), pixelsOf(to));
    return Variant();
}

Variant ImageProcessingDIB::AddDarkest(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo) {
    DIBSection& from = required(cFrom);
    DIBSection& to = required(cTo);
    if (!from.bits() || !to.bits()) return Variant();
    requireCovers(from, to);
    copyLighter(pixelsOf(from), pixelsOf(to));
    return Variant();
}

bool ImageProcessingDIB::AddImages(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo, int32_t lFromMultiplier,
                                   int32_t lFromOffsetR, int32_t lFromOffsetG, int32_t lFromOffsetB,
                                   int32_t lToMultiplier, int32_t lToOffsetR, int32_t lToOffsetG,
                                   int32_t lToOffsetB) {
    DIBSection& from = required(cFrom);
    DIBSection& to = required(cTo);
    if (!from.bits() || !to.bits()) return false;
    requireCovers(from, to);
    // The offsets named R act on the first byte of a pixel (blue), those named B on the third.
    addImages(pixelsOf(from), pixelsOf(to),
              ImageSum{lFromMultiplier, {lFromOffsetR, lFromOffsetG, lFromOffsetB}, lToMultiplier,
                       {lToOffsetR, lToOffsetG, lToOffsetB}});
    return false;
}

void ImageProcessingDIB::BlackAndWhite(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo) {
    DIBSection& from = required(cFrom);
    DIBSection& to = required(cTo);
    if (!from.bits() || !to.bits()) return;
    requireCovers(from, to);
    Working working(*this, {&from, &to});
    OperationClock clock;
    grayScale(pixelsOf(from), *this);
    diffuseBlackAndWhite(pixelsOf(from), pixelsOf(to), *this);
    copyInto(from, to);
    complete(clock.elapsedMilliseconds());
}

void ImageProcessingDIB::ApplyPalette(Ref<DIBSection>& cFrom, Ref<DIBSection>& cTo, Ref<cPalette>& cPal) {
    DIBSection& from = required(cFrom);
    DIBSection& to = required(cTo);
    if (!cPal) throw Error::runtime(err::kObjectNotSet);
    if (!from.bits() || !to.bits()) return;
    requireCovers(from, to);
    Working working(*this, {&from, &to});
    OperationClock clock;
    NearestColorSearch palette(cPal->entries());
    diffusePalette(pixelsOf(from), pixelsOf(to), palette, *this);
    copyInto(from, to);
    complete(clock.elapsedMilliseconds());
}

void ImageProcessingDIB::GrayScale(Ref<DIBSection>& cTo) {
    DIBSection& to = required(cTo);
    if (!to.bits()) return;
    Working working(*this, {&to});
    grayScale(pixelsOf(to), *this);
}

void ImageProcessingDIB::AddNoise(Ref<DIBSection>& cTo, int32_t lPercent, Variant bRandom) {
    DIBSection& to = required(cTo);
    if (!to.bits()) return;
    Working working(*this, {&to});
    addNoise(pixelsOf(to), lPercent, bRandom.toBool(), *this);
}

void ImageProcessingDIB::fade(Ref<DIBSection>& cTo, int32_t lAmount) {
    DIBSection& to = required(cTo);
    if (!to.bits()) return;
    Working working(*this, {&to});
    imaging::fade(pixelsOf(to), lAmount, *this);
}

void ImageProcessingDIB::Lighten(Ref<DIBSection>& cTo, int32_t lAmount) {
    DIBSection& to = required(cTo);
    if (!to.bits()) return;
    Working working(*this, {&to});
    lighten(pixelsOf(to), lAmount, *this);
}

void ImageProcessingDIB::Colourise(Ref<DIBSection>& cTo, float fHue, float /*fSaturation: has no effect*/) {
    DIBSection& to = required(cTo);
    if (!to.bits()) return;
    Working working(*this, {&to});
    colourise(pixelsOf(to), fHue, *this);
}

}  // namespace zorbel::imaging
