#include <gtest/gtest.h>

#include "frame/error.hpp"
#include "imaging/dib_section_256.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/blit.hpp"
#include "platform/gdi/contexts.hpp"

namespace zorbel::imaging {
namespace {

Ref<DIBSection256> made(int32_t w = 4, int32_t h = 2) {
    Ref<DIBSection256> d = makeRef<DIBSection256>();
    EXPECT_TRUE(d->Create(w, h));
    return d;
}

std::vector<int32_t> table(const DIBSection256& d) {
    std::vector<int32_t> out;
    for (int16_t i = 0; i < 256; ++i) out.push_back(d.Color(i));
    return out;
}

TEST(DIBSection256Test, NewImageIsAGreyRamp) {
    Ref<DIBSection256> d = made();
    for (int16_t i = 0; i < 256; ++i) EXPECT_EQ(d->Color(i), i * 65793);
    EXPECT_EQ(d->Color(256), -1);
    EXPECT_EQ(d->Color(-1), -1);
    EXPECT_EQ(makeRef<DIBSection256>()->Color(0), -1);
    d->bits()[0] = 77;  // bottom-left pixel shows grey 77
    EXPECT_EQ(gdi::getPixel(static_cast<gdi::HDC>(d->hDC()), 0, 1), gdi::rgb(77, 77, 77));
}

TEST(DIBSection256Test, BytesPerScanLine) {
    Ref<DIBSection256> d = makeRef<DIBSection256>();
    for (auto [w, bytes] : {std::pair{1, 4}, std::pair{4, 4}, std::pair{5, 8}}) {
        ASSERT_TRUE(d->Create(w, 1));
        EXPECT_EQ(d->BytesPerScanLine(), bytes);
    }
    EXPECT_THROW(bytesPerScanLine8(INT32_MAX - 1), Error);
}

TEST(DIBSection256Test, ColorLetWritesChannelsFromTheValue) {
    Ref<DIBSection256> d = made();
    d->setColor(5, 0x00C80000);
    EXPECT_EQ(d->Color(5), 13107200);
    d->setColor(6, 32768);
    EXPECT_EQ(d->Color(6), 32768);
    d->setColor(7, static_cast<int32_t>(0xFF010203));  // the top byte is ignored
    EXPECT_EQ(d->Color(7), 0x010203);
    d->setColor(300, 5);  // outside: ignored
}

TEST(DIBSection256Test, TableEffects) {
    Ref<DIBSection256> d = made();
    d->setColor(1, 255);  // pure red
    auto original = table(*d);
    d->Invert();
    EXPECT_EQ(d->Color(0), 0xFFFFFF);
    d->Invert();
    EXPECT_EQ(table(*d), original);
    d->fade(255);
    EXPECT_EQ(table(*d), original);
    d->fade(128);
    EXPECT_EQ(d->Color(255), 128 * 65793);
    d->GrayScale();
    EXPECT_EQ(d->Color(1), 28 * 65793);  // the faded red 128: 222 x 128 / 1000 = 28.4
    d->setColor(2, 255);
    d->GrayScale();
    EXPECT_EQ(d->Color(2), 57 * 65793);
}

TEST(DIBSection256Test, FadeOverflowLeavesTableUnchanged) {
    Ref<DIBSection256> d = made();
    auto original = table(*d);
    try {
        d->fade(300);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kOverflow);
    }
    EXPECT_EQ(table(*d), original);
}

TEST(DIBSection256Test, AdjustLightness) {
    Ref<DIBSection256> d = made();
    d->setColor(10, 0x0000C8);  // red 200
    auto original = table(*d);
    d->AdjustLightness(100);
    EXPECT_EQ(table(*d), original);
    d->AdjustLightness(50);
    EXPECT_EQ(d->Color(200), 100 * 65793);
    EXPECT_EQ(d->Color(10), 100);
    d->AdjustLightness(0);
    for (int32_t c : table(*d)) EXPECT_EQ(c, 0);
    Ref<DIBSection256> e = made();
    e->AdjustLightness(200);
    EXPECT_EQ(e->Color(100), 200 * 65793);
    EXPECT_EQ(e->Color(200), 255 * 65793);  // clamped
}

TEST(DIBSection256Test, CopyPaletteAndLoadPictureBltTakeTheSourceTable) {
    Ref<DIBSection256> a = made(), b = made();
    a->setColor(3, 0x123456);
    b->CopyPalette(a);
    EXPECT_EQ(b->Color(3), 0x123456);
    Ref<DIBSection256> empty = makeRef<DIBSection256>();
    auto before = table(*b);
    b->CopyPalette(empty);
    EXPECT_EQ(table(*b), before);
    Ref<DIBSection256> c = made();
    a->bits()[0] = 3;
    c->LoadPictureBlt(a->hDC(), 0, 0, -1, -1, kPlainCopy);
    EXPECT_EQ(c->Color(3), 0x123456);
    EXPECT_EQ(c->bits()[0], 3);
}

TEST(DIBSection256Test, CreateFromPictureKeepsIndexedPictures) {
    gdi::BitmapInfoHeader h;
    h.width = 2, h.height = 2, h.bitCount = 8;
    std::vector<gdi::RgbQuad> colors(256);
    colors[9] = gdi::RgbQuad{1, 2, 3, 0};
    void* bits = nullptr;
    gdi::HBITMAP dib = gdi::createDIBSection(0, h, colors.data(), &bits);
    static_cast<uint8_t*>(bits)[1] = 9;
    Ref<PictureObject> picture = PictureObject::make(gdi::Picture{dib, gdi::PictureType::Bitmap, 2, 2, 0});
    Ref<DIBSection256> d = makeRef<DIBSection256>();
    d->CreateFromPicture(picture);
    EXPECT_EQ(d->Width(), 2);
    EXPECT_EQ(d->bits()[1], 9);
    EXPECT_EQ(d->Color(9), 0x010203);
}

TEST(DIBSection256Test, RandomiseAndClearUp) {
    Ref<DIBSection256> d = made(5, 3);
    d->RandomiseBits();
    for (int r = 0; r < 3; ++r)
        for (int c = 5; c < 8; ++c) EXPECT_EQ(d->bits()[r * 8 + c], 0);
    d->ClearUp();
    d->ClearUp();
    EXPECT_EQ(d->hDC(), 0);
    d->RandomiseBits();
    d->Invert();
    EXPECT_EQ(d->Color(0), -1);
}

}  // namespace
}  // namespace zorbel::imaging
