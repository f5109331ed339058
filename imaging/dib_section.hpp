#pragma once
// DIBSection: one 24-bit device-independent bitmap selected in its own memory device
// context. Its pixel buffer is the layout every 24-bit operation of the library relies on:
// Height rows of BytesPerScanLine bytes, storage row 0 the bottom row, pixels as blue, green,
// red; the padding at the end of a row is never written.

#include <cstdint>
#include <string>

#include "frame/object.hpp"
#include "imaging/dib_handles.hpp"
#include "imaging/picture_object.hpp"
#include "platform/gdi/types.hpp"

namespace zorbel::imaging {

inline constexpr int32_t kPlainCopy = 13369376;  // 0xCC0020

class DIBSection final : public Dispatchable<DIBSection> {
public:
    static const ClassInfo& typeInfo();

    bool CopyToClipboard(bool bAsDIB);
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
    // The address travels as a floating-point number: it does not fit a 32-bit integer.
    double DIBSectionBitsPtr() const { return static_cast<double>(reinterpret_cast<uintptr_t>(surface_.bits)); }
    void RandomiseBits(bool bGray);
    void ClearUp();
    Ref<DIBSection> Resample(int32_t lNewHeight, int32_t lNewWidth);
    void CaptureWindow(int32_t hwnd, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth, int32_t lSrcHeight,
                       int32_t eRop);
    bool LoadJPEG(std::string Filename);
    bool SaveJPEG(std::string Filename, int32_t lQuality);

    // The pixel buffer for the library's own image code; nullptr without pixels.
    uint8_t* bits() const { return surface_.bits; }

protected:
    ~DIBSection() override;

private:
    DibHandles surface_;
};

// Bytes per row of a 24-bit image: 3 x width rounded up to a multiple of 4. Raises overflow
// (6) when 3 x width does not fit a 32-bit integer or reaches 2147483645.
int32_t bytesPerScanLine24(int32_t width);

}  // namespace zorbel::imaging
