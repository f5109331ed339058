#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "frame/error.hpp"
#include "imaging/dib_section.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/clipboard.hpp"
#include "platform/gdi/contexts.hpp"
#include "platform/window/message_box.hpp"

namespace zorbel::imaging {
namespace {

uint8_t* pixel(DIBSection& d, int32_t x, int32_t row) { return d.bits() + row * d.BytesPerScanLine() + 3 * x; }

void setPixel(DIBSection& d, int32_t x, int32_t row, uint8_t b, uint8_t g, uint8_t r) {
    uint8_t* p = pixel(d, x, row);
    p[0] = b, p[1] = g, p[2] = r;
}

// Captures message boxes while alive.
struct BoxRecorder {
    std::vector<std::string> texts;
    BoxRecorder() {
        window::setMessageBoxHook([this](const std::string& text, const std::string&, uint32_t) {
            texts.push_back(text);
            return std::optional<int>(window::IDOK);
        });
    }
    ~BoxRecorder() { window::setMessageBoxHook(nullptr); }
};

TEST(DIBSectionTest, BytesPerScanLine) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    const int32_t widths[] = {1, 2, 3, 4, 5};
    const int32_t expected[] = {4, 8, 12, 12, 16};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(d->Create(widths[i], 1));
        EXPECT_EQ(d->BytesPerScanLine(), expected[i]);
    }
    EXPECT_EQ(bytesPerScanLine24(715827881), 2147483644);
    for (int32_t w : {715827882, 800000000}) {
        try {
            bytesPerScanLine24(w);
            ADD_FAILURE() << w;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kOverflow);
        }
    }
}

TEST(DIBSectionTest, HeightTimesRowOverflowRaises) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    int32_t handle = 0;
    EXPECT_THROW(d->CreateDIB(0, 100000, 100000, handle), Error);
    EXPECT_FALSE(d->Create(20000, 20000));  // 1.2 GB: refused, not allocated
    EXPECT_EQ(d->hDC(), 0);
}

TEST(DIBSectionTest, FailedCreateKeepsRequestedSize) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    EXPECT_FALSE(d->Create(0, 10));
    EXPECT_EQ(d->hDC(), 0);
    EXPECT_EQ(d->hDib(), 0);
    EXPECT_EQ(d->DIBSectionBitsPtr(), 0.0);
    EXPECT_EQ(d->Width(), 0);
    EXPECT_EQ(d->Height(), 10);
    d->RandomiseBits(false);  // no pixels: nothing is touched
    d->ClearUp();
    d->ClearUp();
}

TEST(DIBSectionTest, ResampleExampleValues) {
    // 2 x 2 to width 4, height 2: columns 0, 0.25, 0.5, 0.75; rows 0 and 0.5.
    Ref<DIBSection> d = makeRef<DIBSection>();
    ASSERT_TRUE(d->Create(2, 2));
    setPixel(*d, 0, 0, 0, 10, 100);
    setPixel(*d, 1, 0, 255, 20, 101);
    setPixel(*d, 0, 1, 100, 30, 0);
    setPixel(*d, 1, 1, 55, 41, 200);
    Ref<DIBSection> r = d->Resample(2, 4);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Width(), 4);
    EXPECT_EQ(r->Height(), 2);
    // Row 0 samples storage row 0 only; row 1 mixes rows 0 and 1 half and half.
    const uint8_t expected[2][4][3] = {
        {{0, 10, 100}, {64, 12, 100}, {128, 15, 100}, {191, 18, 101}},
        {{50, 20, 50}, {76, 22, 75}, {102, 25, 100}, {129, 28, 125}},
    };
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(pixel(*r, x, row)[c], expected[row][x][c]) << row << "," << x << "," << c;
}

// The resampling rule written out directly, pixel by pixel.
uint8_t referenceSample(DIBSection& src, int32_t newW, int32_t newH, int32_t j, int32_t i, int c) {
    float xs = static_cast<float>((src.Width() - 1) / static_cast<double>(newW));
    float ys = static_cast<float>((src.Height() - 1) / static_cast<double>(newH));
    float sx = static_cast<float>(static_cast<double>(xs) * j), sy = static_cast<float>(static_cast<double>(ys) * i);
    int32_t x0 = static_cast<int32_t>(std::floor(sx)), y0 = static_cast<int32_t>(std::floor(sy));
    double fx = static_cast<float>(sx - x0), fy = static_cast<float>(sy - y0);
    auto p = [&](int32_t x, int32_t r) { return static_cast<double>(pixel(src, x, r)[c]); };
    double left = std::nearbyint((1 - fy) * p(x0, y0) + fy * p(x0, y0 + 1));
    double right = std::nearbyint((1 - fy) * p(x0 + 1, y0) + fy * p(x0 + 1, y0 + 1));
    return static_cast<uint8_t>(std::clamp(std::nearbyint((1 - fx) * left + fx * right), 0.0, 255.0));
}

TEST(DIBSectionTest, ResampleMatchesTheRuleOnRandomImages) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    ASSERT_TRUE(d->Create(9, 7));
    d->RandomiseBits(false);
    for (int32_t row = 0; row < 7; ++row)
        for (int32_t x = 0; x < 9; ++x) pixel(*d, x, row)[0] = static_cast<uint8_t>(pixel(*d, x, row)[1] ^ x);
    for (auto [w, h] : {std::pair{13, 5}, std::pair{4, 3}, std::pair{30, 31}}) {
        Ref<DIBSection> r = d->Resample(h, w);
        ASSERT_TRUE(r);
        for (int32_t i = 0; i < h; ++i)
            for (int32_t j = 0; j < w; ++j)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(pixel(*r, j, i)[c], referenceSample(*d, w, h, j, i, c)) << w << "x" << h;
    }
}

TEST(DIBSectionTest, ResampleToSameSizeIsExactCopy) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    ASSERT_TRUE(d->Create(5, 3));
    d->RandomiseBits(true);
    Ref<DIBSection> r = d->Resample(3, 5);
    ASSERT_TRUE(r);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(std::memcmp(pixel(*d, 0, row), pixel(*r, 0, row), 15), 0);
}

TEST(DIBSectionTest, ResampleOfOnePixelLineRaisesSubscript) {
    for (auto [w, h] : {std::pair{1, 5}, std::pair{5, 1}}) {
        Ref<DIBSection> d = makeRef<DIBSection>();
        ASSERT_TRUE(d->Create(w, h));
        try {
            d->Resample(3, 3);
            ADD_FAILURE();
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), err::kSubscriptOutOfRange);
        }
    }
}

TEST(DIBSectionTest, ResampleDoesNotTouchPadding) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    ASSERT_TRUE(d->Create(3, 3));
    d->RandomiseBits(false);
    Ref<DIBSection> r = d->Resample(5, 5);  // rows of 15 bytes in 16
    for (int row = 0; row < 5; ++row) EXPECT_EQ(r->bits()[row * 16 + 15], 0);
}

TEST(DIBSectionTest, RandomiseBitsRules) {
    Ref<DIBSection> d = makeRef<DIBSection>();
    ASSERT_TRUE(d->Create(7, 4));
    d->RandomiseBits(false);
    bool anyNonZero = false;
    for (int row = 0; row < 4; ++row)
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(pixel(*d, x, row)[0], 0);
            anyNonZero |= pixel(*d, x, row)[1] != 0;
        }
    EXPECT_TRUE(anyNonZero);
    d->RandomiseBits(true);
    for (int row = 0; row < 4; ++row)
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(pixel(*d, x, row)[0], pixel(*d, x, row)[1]);
            EXPECT_EQ(pixel(*d, x, row)[1], pixel(*d, x, row)[2]);
        }
    for (int row = 0; row < 4; ++row) EXPECT_EQ(d->bits()[row * 24 + 21], 0);  // padding
}

TEST(DIBSectionTest, PaintAndLoadWithDefaultsCopyWholeImage) {
    Ref<DIBSection> a = makeRef<DIBSection>(), b = makeRef<DIBSection>();
    ASSERT_TRUE(a->Create(4, 3));
    ASSERT_TRUE(b->Create(4, 3));
    a->RandomiseBits(false);
    a->PaintPicture(b->hDC(), 0, 0, -1, -1, 0, 0, kPlainCopy);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(std::memcmp(pixel(*a, 0, row), pixel(*b, 0, row), 12), 0);
    Ref<DIBSection> c = makeRef<DIBSection>();
    ASSERT_TRUE(c->Create(4, 3));
    c->LoadPictureBlt(a->hDC(), 0, 0, -1, -1, kPlainCopy);
    for (int row = 0; row < 3; ++row) EXPECT_EQ(std::memcmp(pixel(*a, 0, row), pixel(*c, 0, row), 12), 0);
    // Device row 0 is the top: storage row 2.
    setPixel(*a, 0, 2, 1, 2, 3);
    EXPECT_EQ(gdi::getPixel(static_cast<gdi::HDC>(a->hDC()), 0, 0), gdi::rgb(3, 2, 1));
}

TEST(DIBSectionTest, CreateFromPictureCopiesBitmap) {
    gdi::HBITMAP bitmap = gdi::createBitmap(3, 2, 24);
    auto b = gdi::bitmapOf(bitmap);
    b->setRaw(2, 1, 0x00ABCDEF);  // bottom right
    Ref<PictureObject> picture =
        PictureObject::make(gdi::Picture{bitmap, gdi::PictureType::Bitmap, 3, 2, 0});
    Ref<DIBSection> d = makeRef<DIBSection>();
    EXPECT_TRUE(d->CreateFromPicture(picture).isEmpty());
    EXPECT_EQ(d->Width(), 3);
    EXPECT_EQ(d->Height(), 2);
    EXPECT_EQ(pixel(*d, 2, 0)[0], 0xEF);
    EXPECT_EQ(pixel(*d, 2, 0)[2], 0xAB);
}

TEST(DIBSectionTest, CopyToClipboard) {
    BoxRecorder boxes;
    Ref<DIBSection> d = makeRef<DIBSection>();
    ASSERT_TRUE(d->Create(2, 2));
    EXPECT_FALSE(d->CopyToClipboard(true));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!");
    setPixel(*d, 1, 1, 9, 8, 7);
    EXPECT_TRUE(d->CopyToClipboard(false));
    gdi::HBITMAP onClipboard = gdi::getClipboardData(gdi::kClipboardBitmap);
    ASSERT_NE(onClipboard, 0u);
    auto b = gdi::bitmapOf(onClipboard);
    EXPECT_EQ(b->colorOfRaw(b->rawAt(1, 0)), gdi::rgb(7, 8, 9));
}

TEST(DIBSectionTest, DispatchDefaults) {
    BoxRecorder boxes;
    Ref<DIBSection> d = makeRef<DIBSection>();
    d->invoke("Create", com::kMethod, {Variant(2), Variant(2)});
    EXPECT_FALSE(d->invoke("CopyToClipboard", com::kMethod).toBool());
    EXPECT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(d->invoke("BytesPerScanLine", com::kGet).toLong(), 8);
}

}  // namespace
}  // namespace zorbel::imaging
