#pragma once
// Plain values shared by the graphics layer: handles, colour values, rectangles, the bitmap
// information header and colour-table entries, with the classic numbers.

#include <cstdint>

namespace zorbel::gdi {

// Every graphics object is known to callers by a nonzero 32-bit handle; 0 means none.
using Handle = uint32_t;
using HDC = Handle;
using HBITMAP = Handle;
using HBRUSH = Handle;
using HPALETTE = Handle;
using HICON = Handle;
using HGDIOBJ = Handle;
using HWND = uint32_t;

// A colour value 0x00BBGGRR. The high bit marks a system colour index (translated through
// translateColor in sys_colors.hpp).
using ColorRef = uint32_t;

constexpr ColorRef rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) | (static_cast<ColorRef>(b) << 16);
}
constexpr uint8_t redOf(ColorRef c) { return static_cast<uint8_t>(c); }
constexpr uint8_t greenOf(ColorRef c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t blueOf(ColorRef c) { return static_cast<uint8_t>(c >> 16); }

// Returned by getPixel outside the bitmap or without one.
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// One colour-table entry: blue, green, red, reserved.
struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    bool operator==(const RgbQuad&) const = default;
};

// The 40-byte bitmap information header. A positive height means bottom-up rows.
struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// What getObject reports about a bitmap.
struct BitmapDescription {
    int32_t width = 0;
    int32_t height = 0;
    int32_t widthBytes = 0;
    uint16_t planes = 1;
    uint16_t bitsPixel = 0;
    void* bits = nullptr;  // pixel memory of a DIB section, nullptr for device bitmaps
};

// Kinds of graphics objects, with the classic object-type numbers.
enum class ObjectType : uint32_t {
    None = 0,
    Brush = 2,
    DeviceContext = 3,
    Palette = 5,
    Bitmap = 7,
    MemoryDC = 10,
    Icon = 100,  // icons live in the same table; the number is this layer's own
};

// Raster operations that have names; every other code of the 256 works as well.
namespace rop {
inline constexpr uint32_t kSrcCopy = 0x00CC0020;
inline constexpr uint32_t kSrcPaint = 0x00EE0086;
inline constexpr uint32_t kSrcAnd = 0x008800C6;
inline constexpr uint32_t kSrcInvert = 0x00660046;
inline constexpr uint32_t kSrcErase = 0x00440328;
inline constexpr uint32_t kNotSrcCopy = 0x00330008;
inline constexpr uint32_t kNotSrcErase = 0x001100A6;
inline constexpr uint32_t kMergeCopy = 0x00C000CA;
inline constexpr uint32_t kMergePaint = 0x00BB0226;
inline constexpr uint32_t kPatCopy = 0x00F00021;
inline constexpr uint32_t kPatPaint = 0x00FB0A09;
inline constexpr uint32_t kPatInvert = 0x005A0049;
inline constexpr uint32_t kDstInvert = 0x00550009;
inline constexpr uint32_t kBlackness = 0x00000042;
inline constexpr uint32_t kWhiteness = 0x00FF0062;
}  // namespace rop

// Clipboard formats.
inline constexpr uint32_t kClipboardText = 1;
inline constexpr uint32_t kClipboardBitmap = 2;

}  // namespace zorbel::gdi
