#include <gtest/gtest.h>

#include <random>

#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/brushes_palettes.hpp"
#include "platform/gdi/contexts.hpp"
#include "platform/gdi/raster_op.hpp"

namespace zorbel::gdi {
namespace {

// The classic definition, bit by bit: the result for pattern, source and destination bits
// p, s, d is bit (p << 2 | s << 1 | d) of the code's third byte.
uint32_t referenceRop(uint8_t index, uint32_t p, uint32_t s, uint32_t d, int bits) {
    uint32_t out = 0;
    for (int b = 0; b < bits; ++b) {
        int term = static_cast<int>(((p >> b) & 1) << 2 | ((s >> b) & 1) << 1 | ((d >> b) & 1));
        out |= ((index >> term) & 1u) << b;
    }
    return out;
}

// A memory context holding a new bitmap filled with random stored values.
struct Canvas {
    HDC dc = 0;
    HBITMAP bitmap = 0;
    Canvas(int32_t w, int32_t h, uint16_t bits, std::mt19937& rng) {
        dc = createCompatibleDC(0);
        bitmap = createBitmap(w, h, bits);
        selectObject(dc, bitmap);
        auto b = bitmapOf(bitmap);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) b->setRaw(x, y, rng() & b->rawMask());
    }
    ~Canvas() {
        selectObject(dc, stockBitmap());
        deleteObject(bitmap);
        deleteDC(dc);
    }
    Bitmap& bits() const { return *bitmapOf(bitmap); }
};

TEST(RasterOpTest, NamedCodesMatchTheirTruthTables) {
    struct Case {
        uint32_t code;
        uint8_t expected;  // the operation on P = 0xF0, S = 0xCC, D = 0xAA
    };
    const Case cases[] = {{rop::kSrcCopy, 0xCC},    {rop::kSrcPaint, 0xCC | 0xAA}, {rop::kSrcAnd, 0xCC & 0xAA},
                          {rop::kSrcInvert, 0x66},  {rop::kNotSrcCopy, 0x33},      {rop::kPatCopy, 0xF0},
                          {rop::kPatInvert, 0x5A},  {rop::kDstInvert, 0x55},       {rop::kBlackness, 0},
                          {rop::kWhiteness, 0xFF},  {rop::kSrcErase, 0xCC & 0x55}, {rop::kMergeCopy, 0xF0 & 0xCC}};
    for (const Case& c : cases) EXPECT_EQ(ropIndex(c.code), c.expected) << std::hex << c.code;
}

class AllRopsTest : public ::testing::TestWithParam<uint16_t> {};

// Every one of the 256 codes against the bitwise reference, with a pattern brush, on random
// bitmaps of one format; the blit lands at an offset and is clipped at the edges.
TEST_P(AllRopsTest, BlitMatchesTruthTable) {
    const uint16_t bits = GetParam();
    std::mt19937 rng(bits);
    for (int index = 0; index < 256; ++index) {
        Canvas src(7, 5, bits, rng), dst(6, 6, bits, rng);
        Bitmap before = dst.bits();
        HBRUSH brush = createSolidBrush(rgb(0x12, 0x9A, 0xE4));
        selectObject(dst.dc, brush);
        uint32_t pattern = dst.bits().rawOfColor(rgb(0x12, 0x9A, 0xE4));
        uint32_t code = static_cast<uint32_t>(index) << 16;
        ASSERT_TRUE(bitBlt(dst.dc, 1, 2, 7, 5, src.dc, 0, 1, code));
        for (int32_t y = 0; y < 6; ++y) {
            for (int32_t x = 0; x < 6; ++x) {
                bool inside = x >= 1 && y >= 2 && y - 2 + 1 < 5;
                uint32_t expected = inside ? referenceRop(static_cast<uint8_t>(index), pattern,
                                                          src.bits().rawAt(x - 1, y - 1), before.rawAt(x, y),
                                                          bits == 32 ? 32 : bits)
                                           : before.rawAt(x, y);
                ASSERT_EQ(dst.bits().rawAt(x, y), expected) << "rop " << index << " at " << x << "," << y;
            }
        }
        deleteObject(brush);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, AllRopsTest, ::testing::Values(1, 4, 8, 24, 32));

TEST(BlitTest, OverlappingCopyReadsOriginalPixels) {
    std::mt19937 rng(3);
    Canvas c(8, 1, 8, rng);
    Bitmap before = c.bits();
    ASSERT_TRUE(bitBlt(c.dc, 1, 0, 7, 1, c.dc, 0, 0, rop::kSrcCopy));
    for (int32_t x = 1; x < 8; ++x) EXPECT_EQ(c.bits().rawAt(x, 0), before.rawAt(x - 1, 0));
}

TEST(BlitTest, ColourToMonochromeUsesSourceBackground) {
    std::mt19937 rng(1);
    Canvas color(3, 1, 24, rng), mono(3, 1, 1, rng);
    setPixel(color.dc, 0, 0, rgb(10, 20, 30));
    setPixel(color.dc, 1, 0, rgb(255, 255, 255));
    setPixel(color.dc, 2, 0, rgb(10, 20, 31));
    setBkColor(color.dc, rgb(10, 20, 30));
    ASSERT_TRUE(bitBlt(mono.dc, 0, 0, 3, 1, color.dc, 0, 0, rop::kSrcCopy));
    EXPECT_EQ(mono.bits().rawAt(0, 0), 1u);  // the background colour becomes white
    EXPECT_EQ(mono.bits().rawAt(1, 0), 0u);  // white that is not the background becomes black
    EXPECT_EQ(mono.bits().rawAt(2, 0), 0u);
}

TEST(BlitTest, MonochromeToColourUsesDestinationTextAndBackground) {
    std::mt19937 rng(1);
    Canvas mono(2, 1, 1, rng), color(2, 1, 32, rng);
    mono.bits().setRaw(0, 0, 0);
    mono.bits().setRaw(1, 0, 1);
    setTextColor(color.dc, rgb(1, 2, 3));
    setBkColor(color.dc, rgb(200, 100, 50));
    ASSERT_TRUE(bitBlt(color.dc, 0, 0, 2, 1, mono.dc, 0, 0, rop::kSrcCopy));
    EXPECT_EQ(getPixel(color.dc, 0, 0), rgb(1, 2, 3));
    EXPECT_EQ(getPixel(color.dc, 1, 0), rgb(200, 100, 50));
}

TEST(BlitTest, IndexedDestinationTakesNearestTableEntry) {
    std::mt19937 rng(1);
    Canvas color(1, 1, 24, rng), indexed(1, 1, 4, rng);
    setPixel(color.dc, 0, 0, rgb(250, 5, 5));
    ASSERT_TRUE(bitBlt(indexed.dc, 0, 0, 1, 1, color.dc, 0, 0, rop::kSrcCopy));
    EXPECT_EQ(getPixel(indexed.dc, 0, 0), rgb(255, 0, 0));
}

TEST(BlitTest, StretchIsNearestNeighbour) {
    std::mt19937 rng(1);
    Canvas src(2, 2, 24, rng), dst(4, 2, 24, rng);
    setPixel(src.dc, 0, 0, rgb(1, 0, 0));
    setPixel(src.dc, 1, 0, rgb(2, 0, 0));
    setPixel(src.dc, 0, 1, rgb(3, 0, 0));
    setPixel(src.dc, 1, 1, rgb(4, 0, 0));
    ASSERT_TRUE(stretchBlt(dst.dc, 0, 0, 4, 1, src.dc, 0, 0, 2, 2, rop::kSrcCopy));
    const ColorRef expected[4] = {rgb(1, 0, 0), rgb(1, 0, 0), rgb(2, 0, 0), rgb(2, 0, 0)};
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(getPixel(dst.dc, x, 0), expected[x]);
}

TEST(BlitTest, FillRectAndPixelsStayInsideTheSurface) {
    std::mt19937 rng(1);
    Canvas c(4, 4, 24, rng);
    HBRUSH brush = createSolidBrush(rgb(9, 8, 7));
    EXPECT_EQ(fillRect(c.dc, Rect{-2, 1, 2, 10}, brush), 1);
    EXPECT_EQ(getPixel(c.dc, 1, 3), rgb(9, 8, 7));
    EXPECT_NE(getPixel(c.dc, 2, 1), rgb(9, 8, 7));
    EXPECT_EQ(getPixel(c.dc, 4, 0), kInvalidColor);
    EXPECT_EQ(setPixel(c.dc, -1, 0, 0), kInvalidColor);
    deleteObject(brush);
}

TEST(BlitTest, SourceOperationWithoutSourceFails) {
    std::mt19937 rng(1);
    Canvas c(2, 2, 24, rng);
    EXPECT_FALSE(bitBlt(c.dc, 0, 0, 2, 2, 0, 0, 0, rop::kSrcCopy));
    EXPECT_TRUE(bitBlt(c.dc, 0, 0, 2, 2, 0, 0, 0, rop::kBlackness));
    EXPECT_EQ(getPixel(c.dc, 1, 1), 0u);
}

}  // namespace
}  // namespace zorbel::gdi
