#pragma once
// DIBSection256: one 8-bit device-independent bitmap with a 256-entry colour table, selected
// in its own memory device context. Its colour effects change the colour table only, so they
// recolour the whole picture without touching a pixel. Rows are bottom-up and padded to 4
// bytes as in DIBSection; the padding is never written.

#include <array>
#include <cstdint>

#include "frame/object.hpp"
#include "imaging/dib_section.hpp"
#include "imaging/dib_handles.hpp"
#include "imaging/picture_object.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::imaging {

class DIBSection256 final : public Dispatchable<DIBSection256> {
public:
    static const ClassInfo& typeInfo();

    bool CreateDIB(int32_t lHDC, int32_t lWidth, int32_t lHeight, int32_t& hDib);
    Variant CreateFromPicture(Ref<PictureObject>& picThis);
    bool Create(int32_t lWidth, int32_t lHeight);
    int32_t BytesPerScanLine() const;
    int32_t Width() const { return surface_.header.width; }
    int32_t Height() const { return surface_.header.height; }
    void LoadPictureBlt(int32_t lHDC, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth, int32_t lSrcHeight,
                        int32_t eRop);
    void PaintPicture(int32_t lHDC, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth, int32_t lDestHeight,
                      int32_t lSrcLeft, int32_t lSrcTop, int32_t eRop);
    int32_t hDC() const { return static_cast<int32_t>(surface_.dc); }
    int32_t hDib() const { return static_cast<int32_t>(surface_.dib); }
    double DIBSectionBitsPtr() const { return static_cast<double>(reinterpret_cast<uintptr_t>(surface_.bits)); }
    void RandomiseBits();
    void ClearUp();
    void fade(int32_t lAmount);
    int32_t Color(int16_t nIndex) const;
    void setColor(int16_t nIndex, int32_t value);
    void AdjustLightness(int32_t lAmount);
    void GrayScale();
    void Invert();
    void CopyPalette(Ref<DIBSection256>& cDib);
    void HLSToRGB(float& h, float& s, float& l, int32_t& R, int32_t& g, int32_t& b);

    uint8_t* bits() const { return surface_.bits; }

protected:
    ~DIBSection256() override;

private:
    using Table = std::array<gdi::RgbQuad, 257>;
    // Reads the DIB's table into the work table; the number of entries read.
    uint32_t readTable();
    // Computes a fresh table from entries 0..n of the work table and writes it back.
    template <class Rule>
    void rewriteTable(uint32_t n, Rule rule);

    DibHandles surface_;
    Table work_{};
};

// Bytes per row of an 8-bit image: width rounded up to a multiple of 4; overflow (6) when
// width + 3 exceeds the 32-bit range.
int32_t bytesPerScanLine8(int32_t width);

}  // namespace zorbel::imaging
