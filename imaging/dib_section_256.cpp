#include "imaging/dib_section_256.hpp"

#include <algorithm>
#include <cmath>

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"
#include "imaging/color_math.hpp"
#include "platform/system/random.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/contexts.hpp"

namespace zorbel::imaging {

namespace {

gdi::Handle toHandle(int32_t value) { return static_cast<gdi::Handle>(value); }

std::array<gdi::RgbQuad, 256> greyRamp() {
    std::array<gdi::RgbQuad, 256> table{};
    for (int i = 0; i < 256; ++i) {
        uint8_t v = static_cast<uint8_t>(i);
        table[static_cast<size_t>(i)] = gdi::RgbQuad{v, v, v, 0};
    }
    return table;
}

uint8_t checkedByte(int64_t v) {
    if (v < 0 || v > 255) throw Error::runtime(err::kOverflow);
    return static_cast<uint8_t>(v);
}

uint8_t clampedByte(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

const ClassInfo& DIBSection256::typeInfo() {
    using P = Param;
    static const ClassInfo info =
        ClassBuilder<DIBSection256>("DIBSection256", zorbelIdentity("DIBSection256"))
            .method("CreateDIB", &DIBSection256::CreateDIB, {"lHDC", "lWidth", "lHeight", "hDib"})
            .method("CreateFromPicture", &DIBSection256::CreateFromPicture, {"picThis"})
            .method("Create", &DIBSection256::Create, {"lWidth", "lHeight"})
            .property("BytesPerScanLine", &DIBSection256::BytesPerScanLine)
            .property("Width", &DIBSection256::Width)
            .property("Height", &DIBSection256::Height)
            .method("LoadPictureBlt", &DIBSection256::LoadPictureBlt,
                    {"lHDC", P::opt("lSrcLeft", 0), P::opt("lSrcTop", 0), P::opt("lSrcWidth", -1),
                     P::opt("lSrcHeight", -1), P::opt("eRop", kPlainCopy)})
            .method("PaintPicture", &DIBSection256::PaintPicture,
                    {"lHDC", P::opt("lDestLeft", 0), P::opt("lDestTop", 0), P::opt("lDestWidth", -1),
                     P::opt("lDestHeight", -1), P::opt("lSrcLeft", 0), P::opt("lSrcTop", 0),
                     P::opt("eRop", kPlainCopy)})
            .property("hDC", &DIBSection256::hDC)
            .property("hDib", &DIBSection256::hDib)
            .property("DIBSectionBitsPtr", &DIBSection256::DIBSectionBitsPtr)
            .method("RandomiseBits", &DIBSection256::RandomiseBits)
            .method("ClearUp", &DIBSection256::ClearUp)
            .method("fade", &DIBSection256::fade, {"lAmount"})
            .property("Color", &DIBSection256::Color, &DIBSection256::setColor, {"nIndex", "value"})
            .method("AdjustLightness", &DIBSection256::AdjustLightness, {"lAmount"})
            .method("GrayScale", &DIBSection256::GrayScale)
            .method("Invert", &DIBSection256::Invert)
            .method("CopyPalette", &DIBSection256::CopyPalette, {"cDib"})
            .method("HLSToRGB", &DIBSection256::HLSToRGB, {"h", "s", "l", "R", "g", "b"})
            .build();
    return info;
}

int32_t bytesPerScanLine8(int32_t width) {
    int64_t padded = int64_t{width} + 3;
    if (padded > INT32_MAX) throw Error::runtime(err::kOverflow);
    return static_cast<int32_t>(padded & ~int64_t{3});
}

DIBSection256::~DIBSection256() { ClearUp(); }

int32_t DIBSection256::BytesPerScanLine() const { return bytesPerScanLine8(Width()); }

bool DIBSection256::CreateDIB(int32_t lHDC, int32_t lWidth, int32_t lHeight, int32_t& hDib) {
    const auto ramp = greyRamp();
    const bool made = surface_.createBitmap(lHDC, lWidth, lHeight, 8, bytesPerScanLine8, ramp.data());
    hDib = static_cast<int32_t>(surface_.dib);
    return made;
}

bool DIBSection256::Create(int32_t lWidth, int32_t lHeight) {
    ClearUp();
    gdi::HDC display = gdi::createDisplayDC();
    gdi::HDC context = gdi::createCompatibleDC(display);
    if (display) gdi::deleteDC(display);
    return surface_.createIn(context, [&](gdi::HDC dc) {
        int32_t handle = 0;
        return CreateDIB(static_cast<int32_t>(dc), lWidth, lHeight, handle);
    });
}

Variant DIBSection256::CreateFromPicture(Ref<PictureObject>& picThis) {
    if (!picThis) throw Error::runtime(err::kObjectNotSet);
    gdi::HBITMAP bitmap = picThis->picture().handle;
    gdi::BitmapDescription description;
    if (!gdi::getBitmapDescription(bitmap, description)) return Variant();
    if (!Create(description.width, description.height)) return Variant();
    gdi::HDC memory = gdi::createCompatibleDC(0);
    gdi::HGDIOBJ previous = gdi::selectObject(memory, bitmap);
    uint32_t n = previous ? gdi::getDIBColorTable(memory, 0, 256, work_.data()) : 0;
    // Pictures with a colour table keep their indices; others take the nearest grey level.
    const auto ramp = greyRamp();
    gdi::BitmapInfoHeader target = surface_.header;
    target.clrUsed = n > 0 ? n : 256;
    gdi::getDIBits(bitmap, 0, static_cast<uint32_t>(Height()), surface_.bits,
                   static_cast<size_t>(Height()) * static_cast<size_t>(BytesPerScanLine()), target,
                   n > 0 ? work_.data() : ramp.data());
    if (n > 0) gdi::setDIBColorTable(surface_.dc, 0, 256, work_.data());
    if (previous) gdi::selectObject(memory, previous);
    gdi::deleteDC(memory);
    return Variant();
}

void DIBSection256::LoadPictureBlt(int32_t lHDC, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth,
                                   int32_t lSrcHeight, int32_t eRop) {
    uint32_t n = gdi::getDIBColorTable(toHandle(lHDC), 0, 256, work_.data());
    if (n > 0) gdi::setDIBColorTable(surface_.dc, 0, n, work_.data());
    int32_t w = lSrcWidth < 0 ? Width() : lSrcWidth;
    int32_t h = lSrcHeight < 0 ? Height() : lSrcHeight;
    gdi::bitBlt(surface_.dc, 0, 0, w, h, toHandle(lHDC), lSrcLeft, lSrcTop, static_cast<uint32_t>(eRop));
}

void DIBSection256::PaintPicture(int32_t lHDC, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                                 int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop, int32_t eRop) {
    surface_.paint(lHDC, lDestLeft, lDestTop, lDestWidth, lDestHeight, lSrcLeft, lSrcTop, eRop);
}

void DIBSection256::RandomiseBits() {
    system::randomize();
    if (!surface_.bits) return;
    const size_t stride = static_cast<size_t>(BytesPerScanLine());
    for (int32_t r = 0; r < Height(); ++r)
        for (int32_t x = 0; x < Width(); ++x)
            surface_.bits[r * stride + static_cast<size_t>(x)] = static_cast<uint8_t>(std::nearbyint(255.0 * system::nextRandom()));
}

void DIBSection256::ClearUp() { surface_.release(); }

uint32_t DIBSection256::readTable() { return gdi::getDIBColorTable(surface_.dc, 0, 256, work_.data()); }

template <class Rule>
void DIBSection256::rewriteTable(uint32_t n, Rule rule) {
    Table fresh{};
    for (uint32_t i = 0; i <= n; ++i) fresh[i] = rule(work_[i]);
    gdi::setDIBColorTable(surface_.dc, 0, 256, fresh.data());
}

void DIBSection256::fade(int32_t lAmount) {
    uint32_t n = readTable();
    rewriteTable(n, [lAmount](const gdi::RgbQuad& q) {
        auto scale = [lAmount](uint8_t c) { return checkedByte(int64_t{lAmount} * c / 255); };
        return gdi::RgbQuad{scale(q.blue), scale(q.green), scale(q.red), 0};
    });
}

void DIBSection256::AdjustLightness(int32_t lAmount) {
    uint32_t n = readTable();
    if (n == 0) return;
    rewriteTable(n, [lAmount](const gdi::RgbQuad& q) {
        float h, s, l;
        rgbToHls(q.red, q.green, q.blue, h, s, l);
        float lighter = static_cast<float>(lAmount / 100.0 * l);
        int32_t r, g, b;
        hlsToRgb(h, s, lighter, r, g, b);
        return gdi::RgbQuad{clampedByte(b), clampedByte(g), clampedByte(r), 0};
    });
}

void DIBSection256::GrayScale() {
    uint32_t n = readTable();
    if (n == 0) return;
    rewriteTable(n, [](const gdi::RgbQuad& q) {
        auto v = static_cast<uint8_t>(std::nearbyint((222.0 * q.red + 707.0 * q.green + 71.0 * q.blue) / 1000.0));
        return gdi::RgbQuad{v, v, v, 0};
    });
}

void DIBSection256::Invert() {
    uint32_t n = readTable();
    rewriteTable(n, [](const gdi::RgbQuad& q) {
        return gdi::RgbQuad{static_cast<uint8_t>(255 - q.blue), static_cast<uint8_t>(255 - q.green),
                            static_cast<uint8_t>(255 - q.red), 0};
    });
}

int32_t DIBSection256::Color(int16_t nIndex) const {
    gdi::RgbQuad entry;
    if (gdi::getDIBColorTable(surface_.dc, static_cast<uint32_t>(nIndex), 1, &entry) != 1) return -1;
    return entry.red + 256 * entry.green + 65536 * entry.blue;
}

void DIBSection256::setColor(int16_t nIndex, int32_t value) {
    auto c = static_cast<uint32_t>(value);
    gdi::RgbQuad entry{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), 0};
    gdi::setDIBColorTable(surface_.dc, static_cast<uint32_t>(nIndex), 1, &entry);
}

void DIBSection256::CopyPalette(Ref<DIBSection256>& cDib) {
    if (!cDib) throw Error::runtime(err::kObjectNotSet);
    uint32_t n = gdi::getDIBColorTable(toHandle(cDib->hDC()), 0, 256, work_.data());
    if (n > 0) gdi::setDIBColorTable(surface_.dc, 0, 256, work_.data());
}

void DIBSection256::HLSToRGB(float& h, float& s, float& l, int32_t& R, int32_t& g, int32_t& b) {
    hlsToRgb(h, s, l, R, g, b);
}

}  // namespace zorbel::imaging
