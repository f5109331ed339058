#include "imaging/dib_section.hpp"

#include <cmath>

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"
#include "imaging/imaging_messages.hpp"
#include "imaging/jpeg_codec.hpp"
#include "imaging/resample.hpp"
#include "platform/system/random.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/clipboard.hpp"
#include "platform/gdi/contexts.hpp"
#include "platform/gdi/surfaces.hpp"

namespace zorbel::imaging {

namespace {

using gdi::Handle;

Handle toHandle(int32_t value) { return static_cast<Handle>(value); }

uint8_t randomByte() { return static_cast<uint8_t>(std::nearbyint(255.0 * system::nextRandom())); }

// A memory context on the screen with a bitmap selected; undoes both when it goes.
class SelectedBitmap {
public:
    explicit SelectedBitmap(Handle bitmap) : dc_(gdi::createCompatibleDC(0)) {
        if (dc_) previous_ = gdi::selectObject(dc_, bitmap);
    }
    ~SelectedBitmap() {
        if (previous_) gdi::selectObject(dc_, previous_);
        if (dc_) gdi::deleteDC(dc_);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    Handle dc() const { return previous_ ? dc_ : 0; }

private:
    Handle dc_;
    Handle previous_ = 0;
};

}  // namespace

const ClassInfo& DIBSection::typeInfo() {
    using P = Param;
    static const ClassInfo info =
        ClassBuilder<DIBSection>("DIBSection", zorbelIdentity("DIBSection"))
            .method("CopyToClipboard", &DIBSection::CopyToClipboard, {P::opt("bAsDIB", true)})
            .method("CreateDIB", &DIBSection::CreateDIB, {"lHDC", "lWidth", "lHeight", "hDib"})
            .method("CreateFromPicture", &DIBSection::CreateFromPicture, {"picThis"})
            .method("Create", &DIBSection::Create, {"lWidth", "lHeight"})
            .property("BytesPerScanLine", &DIBSection::BytesPerScanLine)
            .property("Width", &DIBSection::Width)
            .property("Height", &DIBSection::Height)
            .method("LoadPictureBlt", &DIBSection::LoadPictureBlt,
                    {"lHDC", P::opt("lSrcLeft", 0), P::opt("lSrcTop", 0), P::opt("lSrcWidth", -1),
                     P::opt("lSrcHeight", -1), P::opt("eRop", kPlainCopy)})
            .method("PaintPicture", &DIBSection::PaintPicture,
                    {"lHDC", P::opt("lDestLeft", 0), P::opt("lDestTop", 0), P::opt("lDestWidth", -1),
                     P::opt("lDestHeight", -1), P::opt("lSrcLeft", 0), P::opt("lSrcTop", 0),
                     P::opt("eRop", kPlainCopy)})
            .property("hDC", &DIBSection::hDC)
            .property("hDib", &DIBSection::hDib)
            .property("DIBSectionBitsPtr", &DIBSection::DIBSectionBitsPtr)
            .method("RandomiseBits", &DIBSection::RandomiseBits, {P::opt("bGray", false)})
            .method("ClearUp", &DIBSection::ClearUp)
            .method("Resample", &DIBSection::Resample, {"lNewHeight", "lNewWidth"})
            .method("CaptureWindow", &DIBSection::CaptureWindow,
                    {P::opt("hwnd", 0), P::opt("lSrcLeft", 0), P::opt("lSrcTop", 0), P::opt("lSrcWidth", -1),
                     P::opt("lSrcHeight", -1), P::opt("eRop", kPlainCopy)})
            .method("LoadJPEG", &DIBSection::LoadJPEG, {"Filename"})
            .method("SaveJPEG", &DIBSection::SaveJPEG, {"Filename", P::opt("lQuality", 90)})
            .build();
    return info;
}

int32_t bytesPerScanLine24(int32_t width) {
    int64_t bytes = 3 * static_cast<int64_t>(width);
    if (bytes > INT32_MAX || bytes < INT32_MIN || bytes >= 2147483645) throw Error::runtime(err::kOverflow);
    return static_cast<int32_t>((bytes + 3) & ~int64_t{3});
}

DIBSection::~DIBSection() { ClearUp(); }

int32_t DIBSection::BytesPerScanLine() const { return bytesPerScanLine24(Width()); }

bool DIBSection::Create(int32_t lWidth, int32_t lHeight) {
    ClearUp();
    return surface_.createIn(gdi::createCompatibleDC(0), [&](gdi::HDC dc) {
        int32_t handle = 0;
        return CreateDIB(static_cast<int32_t>(dc), lWidth, lHeight, handle);
    });
}

bool DIBSection::CreateDIB(int32_t lHDC, int32_t lWidth, int32_t lHeight, int32_t& hDib) {
    const bool made = surface_.createBitmap(lHDC, lWidth, lHeight, 24, bytesPerScanLine24, nullptr);
    hDib = static_cast<int32_t>(surface_.dib);
    return made;
}

Variant DIBSection::CreateFromPicture(Ref<PictureObject>& picThis) {
    if (!picThis) throw Error::runtime(err::kObjectNotSet);
    Handle bitmap = picThis->picture().handle;
    gdi::BitmapDescription description;
    if (!gdi::getBitmapDescription(bitmap, description)) return Variant();
    if (!Create(description.width, description.height)) return Variant();
    SelectedBitmap source(bitmap);
    if (source.dc()) LoadPictureBlt(static_cast<int32_t>(source.dc()), 0, 0, -1, -1, kPlainCopy);
    return Variant();
}

void DIBSection::LoadPictureBlt(int32_t lHDC, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth,
                                int32_t lSrcHeight, int32_t eRop) {
    int32_t w = lSrcWidth < 0 ? Width() : lSrcWidth;
    int32_t h = lSrcHeight < 0 ? Height() : lSrcHeight;
    gdi::bitBlt(surface_.dc, 0, 0, w, h, toHandle(lHDC), lSrcLeft, lSrcTop, static_cast<uint32_t>(eRop));
}

void DIBSection::PaintPicture(int32_t lHDC, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                              int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop, int32_t eRop) {
    surface_.paint(lHDC, lDestLeft, lDestTop, lDestWidth, lDestHeight, lSrcLeft, lSrcTop, eRop);
}

void DIBSection::RandomiseBits(bool bGray) {
    system::randomize();
    if (!surface_.bits) return;
    const size_t stride = static_cast<size_t>(BytesPerScanLine());
    if (bGray) {
        for (int32_t r = 0; r < Height(); ++r)
            for (int32_t x = 0; x < Width(); ++x) {
                uint8_t* p = surface_.bits + r * stride + 3 * static_cast<size_t>(x);
                p[0] = p[1] = p[2] = randomByte();
            }
        return;
    }
    for (int32_t x = 0; x < Width(); ++x)
        for (int32_t r = 0; r < Height(); ++r) {
            uint8_t* p = surface_.bits + r * stride + 3 * static_cast<size_t>(x);
            p[0] = 0;
            p[1] = randomByte();
            p[2] = randomByte();
        }
}

void DIBSection::ClearUp() { surface_.release(); }

Ref<DIBSection> DIBSection::Resample(int32_t lNewHeight, int32_t lNewWidth) {
    Ref<DIBSection> result = makeRef<DIBSection>();
    if (!result->Create(lNewWidth, lNewHeight)) return nullptr;
    if (lNewWidth == Width() && lNewHeight == Height()) {
        result->LoadPictureBlt(hDC(), 0, 0, -1, -1, kPlainCopy);
        return result;
    }
    if (Width() < 2 || Height() < 2) throw Error::runtime(err::kSubscriptOutOfRange);
    if (!surface_.bits) return nullptr;  // no pixels to sample
    PixelBuffer source{surface_.bits, Width(), Height(), static_cast<size_t>(BytesPerScanLine())};
    PixelBuffer target{result->surface_.bits, lNewWidth, lNewHeight, static_cast<size_t>(result->BytesPerScanLine())};
    resampleBilinear(source, target);
    return result;
}

void DIBSection::CaptureWindow(int32_t hwnd, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth,
                               int32_t lSrcHeight, int32_t eRop) {
    // Without a foreground window the screen stands in for the default window.
    gdi::HWND window = hwnd != 0 ? toHandle(hwnd) : gdi::foregroundWindow();
    Handle dc = gdi::getDC(window);
    if (!dc) return;
    LoadPictureBlt(static_cast<int32_t>(dc), lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight, eRop);
    gdi::releaseDC(window, dc);
}

bool DIBSection::CopyToClipboard(bool bAsDIB) {
    if (bAsDIB) {
        showMessage("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!", MessageIcon::None);
        return false;
    }
    Handle screen = gdi::getDC(0);
    Handle memory = screen ? gdi::createCompatibleDC(screen) : 0;
    Handle bitmap = memory ? gdi::createCompatibleBitmap(screen, Width(), Height()) : 0;
    bool handedOver = false;
    if (bitmap) {
        Handle previous = gdi::selectObject(memory, bitmap);
        PaintPicture(static_cast<int32_t>(memory), 0, 0, -1, -1, 0, 0, kPlainCopy);
        gdi::selectObject(memory, previous);
        if (gdi::openClipboard(0)) {
            gdi::emptyClipboard();
            handedOver = gdi::setClipboardData(gdi::kClipboardBitmap, bitmap) != 0;
            gdi::closeClipboard();
        }
        if (!handedOver) gdi::deleteObject(bitmap);  // the clipboard did not take it
    }
    if (memory) gdi::deleteDC(memory);
    if (screen) gdi::releaseDC(0, screen);
    return handedOver;
}

bool DIBSection::LoadJPEG(std::string Filename) { return loadJpeg(*this, Filename); }

bool DIBSection::SaveJPEG(std::string Filename, int32_t lQuality) { return saveJpeg(*this, Filename, lQuality); }

}  // namespace zorbel::imaging
