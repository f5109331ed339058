#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/brushes_palettes.hpp"
#include "platform/gdi/clipboard.hpp"
#include "platform/gdi/contexts.hpp"
#include "platform/gdi/surfaces.hpp"
#include "platform/gdi/sys_colors.hpp"

namespace zorbel::gdi {
namespace {

TEST(BitmapLayoutTest, RowsArePaddedAndBottomUp) {
    struct Case {
        int32_t width;
        uint16_t bits;
        size_t stride;
    };
    for (Case c : {Case{1, 1, 4}, Case{33, 1, 8}, Case{9, 4, 8}, Case{5, 8, 8}, Case{1, 24, 4}, Case{5, 24, 16},
                   Case{3, 32, 12}})
        EXPECT_EQ(Bitmap::strideFor(c.width, c.bits), c.stride) << c.width << "x" << c.bits;
    auto b = Bitmap::create(2, 3, 24);
    b->setRaw(0, 0, 0x112233);  // top row is the last storage row
    EXPECT_EQ(b->bits()[2 * 8 + 0], 0x33);
    EXPECT_EQ(b->bits()[2 * 8 + 2], 0x11);
}

TEST(BitmapLayoutTest, RefusesInvalidAndOverflowingSizes) {
    EXPECT_EQ(Bitmap::create(0, 5, 24), nullptr);
    EXPECT_EQ(Bitmap::create(5, -1, 24), nullptr);
    EXPECT_EQ(Bitmap::create(5, 5, 16), nullptr);
    EXPECT_EQ(Bitmap::create(INT32_MAX, INT32_MAX, 32), nullptr);
    EXPECT_EQ(Bitmap::create(70000, 70000, 24), nullptr);
}

TEST(ContextTest, MemoryContextStartsWithMonochromeStockBitmap) {
    HDC dc = createCompatibleDC(0);
    ASSERT_NE(dc, 0u);
    EXPECT_EQ(getCurrentBitmap(dc), stockBitmap());
    HBITMAP compatible = createCompatibleBitmap(dc, 4, 4);
    BitmapDescription d;
    ASSERT_TRUE(getBitmapDescription(compatible, d));
    EXPECT_EQ(d.bitsPixel, 1);
    HDC screen = getDC(0);
    HBITMAP screenCompatible = createCompatibleBitmap(screen, 4, 4);
    ASSERT_TRUE(getBitmapDescription(screenCompatible, d));
    EXPECT_EQ(d.bitsPixel, 32);
    EXPECT_EQ(releaseDC(0, screen), 1);
    deleteObject(compatible);
    deleteObject(screenCompatible);
    deleteDC(dc);
}

TEST(ContextTest, BitmapSelectedOnceAndNotDeletableWhileSelected) {
    HDC a = createCompatibleDC(0), b = createCompatibleDC(0);
    HBITMAP bitmap = createBitmap(2, 2, 24);
    EXPECT_EQ(selectObject(a, bitmap), stockBitmap());
    EXPECT_EQ(selectObject(b, bitmap), 0u);
    EXPECT_FALSE(deleteObject(bitmap));
    EXPECT_EQ(selectObject(a, stockBitmap()), bitmap);
    EXPECT_TRUE(deleteObject(bitmap));
    EXPECT_FALSE(deleteObject(bitmap));  // stale handles find nothing
    EXPECT_EQ(getObjectType(bitmap), ObjectType::None);
    EXPECT_FALSE(deleteObject(stockBitmap()));
    deleteDC(a);
    deleteDC(b);
}

TEST(ContextTest, DeletingContextReleasesItsBitmap) {
    HDC dc = createCompatibleDC(0);
    HBITMAP bitmap = createBitmap(2, 2, 8);
    selectObject(dc, bitmap);
    EXPECT_TRUE(deleteDC(dc));
    EXPECT_TRUE(deleteObject(bitmap));
}

TEST(ContextTest, WindowContextsNeedASurfaceProvider) {
    EXPECT_EQ(getDC(77), 0u);
    auto surface = Bitmap::create(3, 3, 32);
    setWindowSurfaceProvider([&](HWND w) { return w == 77 ? surface : nullptr; });
    HDC dc = getDC(77);
    ASSERT_NE(dc, 0u);
    setPixel(dc, 1, 1, rgb(5, 6, 7));
    EXPECT_EQ(surface->colorOfRaw(surface->rawAt(1, 1)), rgb(5, 6, 7));
    EXPECT_EQ(releaseDC(78, dc), 0);
    EXPECT_EQ(releaseDC(77, dc), 1);
    setWindowSurfaceProvider(nullptr);
}

TEST(DibSectionTest, ColourTableGetAndSet) {
    BitmapInfoHeader h;
    h.width = 4, h.height = 2, h.bitCount = 8;
    std::vector<RgbQuad> table(256);
    for (int i = 0; i < 256; ++i) table[i] = RgbQuad{0, 0, static_cast<uint8_t>(i), 0};
    void* bits = nullptr;
    HBITMAP dib = createDIBSection(0, h, table.data(), &bits);
    ASSERT_NE(dib, 0u);
    ASSERT_NE(bits, nullptr);
    HDC dc = createCompatibleDC(0);
    selectObject(dc, dib);
    static_cast<uint8_t*>(bits)[0] = 9;  // bottom-left pixel
    EXPECT_EQ(getPixel(dc, 0, 1), rgb(9, 0, 0));
    RgbQuad entry{1, 2, 3, 0};
    EXPECT_EQ(setDIBColorTable(dc, 9, 1, &entry), 1u);
    EXPECT_EQ(getPixel(dc, 0, 1), rgb(3, 2, 1));
    std::vector<RgbQuad> out(300);
    EXPECT_EQ(getDIBColorTable(dc, 0, 300, out.data()), 256u);
    EXPECT_EQ(getDIBColorTable(dc, 256, 1, out.data()), 0u);
    selectObject(dc, stockBitmap());
    deleteDC(dc);
    deleteObject(dib);
}

TEST(DibSectionTest, DeviceBitmapsHaveNoReadableTable) {
    HDC dc = createCompatibleDC(0);
    HBITMAP bitmap = createBitmap(2, 2, 8);
    selectObject(dc, bitmap);
    RgbQuad out[4];
    EXPECT_EQ(getDIBColorTable(dc, 0, 4, out), 0u);
    selectObject(dc, stockBitmap());
    deleteDC(dc);
    deleteObject(bitmap);
}

TEST(SysColorTest, HighBitNamesASystemColour) {
    EXPECT_EQ(translateColor(0x00123456), 0x00123456u);
    setSysColor(5, rgb(1, 2, 3));
    EXPECT_EQ(translateColor(0x80000005), rgb(1, 2, 3));
    EXPECT_EQ(brushColor(createSolidBrush(0x80000005)), rgb(1, 2, 3));
    EXPECT_EQ(translateColor(0x800000FF), 0u);
    resetSysColors();
    EXPECT_EQ(getSysColor(5), rgb(255, 255, 255));
}

TEST(PaletteTest, EntriesReadBackAndSizeLimits) {
    EXPECT_EQ(createPalette({}), 0u);
    EXPECT_EQ(createPalette(std::vector<PaletteEntry>(257)), 0u);
    HPALETTE p = createPalette({{1, 2, 3, 0}, {4, 5, 6, 0}});
    EXPECT_EQ(getPaletteEntries(p, 0, 0, nullptr), 2u);
    PaletteEntry out[4];
    EXPECT_EQ(getPaletteEntries(p, 1, 4, out), 1u);
    EXPECT_EQ(out[0], (PaletteEntry{4, 5, 6, 0}));
    EXPECT_TRUE(deleteObject(p));
}

TEST(ClipboardTest, BitmapOwnershipAndText) {
    HBITMAP first = createBitmap(1, 1, 24), second = createBitmap(1, 1, 24);
    EXPECT_EQ(setClipboardData(kClipboardBitmap, first), 0u);  // not open
    ASSERT_TRUE(openClipboard(0));
    EXPECT_TRUE(emptyClipboard());
    EXPECT_EQ(setClipboardData(kClipboardBitmap, first), first);
    EXPECT_TRUE(setClipboardText("hello"));
    EXPECT_TRUE(closeClipboard());
    EXPECT_EQ(getClipboardData(kClipboardBitmap), first);
    EXPECT_EQ(getClipboardText(), "hello");
    ASSERT_TRUE(openClipboard(0));
    EXPECT_EQ(setClipboardData(kClipboardBitmap, second), second);
    EXPECT_EQ(getObjectType(first), ObjectType::None);  // the replaced bitmap was the clipboard's
    EXPECT_TRUE(emptyClipboard());
    EXPECT_EQ(getObjectType(second), ObjectType::None);
    EXPECT_FALSE(isClipboardFormatAvailable(kClipboardText));
    EXPECT_TRUE(closeClipboard());
    EXPECT_FALSE(closeClipboard());
}

}  // namespace
}  // namespace zorbel::gdi
