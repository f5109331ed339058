#include <gtest/gtest.h>
#include <png.h>
#include <turbojpeg.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/error.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/brushes_palettes.hpp"
#include "platform/gdi/picture.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::gdi {
namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void put32(Bytes& b, uint32_t v) { put16(b, v & 0xFFFF), put16(b, v >> 16); }

// A bitmap information header followed by a colour table and rows.
Bytes dib(int32_t w, int32_t h, uint16_t bits, const std::vector<uint32_t>& table, const Bytes& rows) {
    Bytes b;
    put32(b, 40), put32(b, static_cast<uint32_t>(w)), put32(b, static_cast<uint32_t>(h));
    put16(b, 1), put16(b, bits), put32(b, 0), put32(b, static_cast<uint32_t>(rows.size()));
    put32(b, 0), put32(b, 0), put32(b, static_cast<uint32_t>(table.size())), put32(b, 0);
    for (uint32_t c : table) put32(b, c);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

Bytes bmpFile(const Bytes& info, size_t tableBytes) {
    Bytes b = {'B', 'M'};
    put32(b, static_cast<uint32_t>(14 + info.size())), put32(b, 0), put32(b, static_cast<uint32_t>(14 + 40 + tableBytes));
    b.insert(b.end(), info.begin(), info.end());
    return b;
}

// 2 x 2, 24 bits: bottom row blue, green; top row red, white.
Bytes bmp24() {
    Bytes rows = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    return bmpFile(dib(2, 2, 24, {}, rows), 0);
}

Bytes pngFile(int w, int h) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w), image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    Bytes pixels(static_cast<size_t>(w * h * 4), 0x80);
    pixels[3] = 0;  // first pixel transparent
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    Bytes out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr);
    out.resize(size);
    return out;
}

Bytes jpegFile(int w, int h) {
    tjhandle tj = tjInitCompress();
    Bytes pixels(static_cast<size_t>(w * h * 3), 0x40);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, pixels.data(), w, 0, h, TJPF_BGR, &jpeg, &size, TJSAMP_420, 90, 0);
    Bytes out(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(tj);
    return out;
}

// 1 x 1, white, transparent index 0.
Bytes gifFile() {
    const char data[] =
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00\x21\xf9\x04\x01\x00\x00\x00\x00"
        "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b";
    return Bytes(data, data + sizeof data - 1);
}

// One 2 x 2 image of 8 bits with its mask.
Bytes icoFile() {
    Bytes rows = {1, 2, 0, 0, 3, 4, 0, 0};
    Bytes mask = {0x80, 0, 0, 0, 0, 0, 0, 0};
    rows.insert(rows.end(), mask.begin(), mask.end());
    std::vector<uint32_t> table(256, 0);
    table[1] = 0xFF0000;
    Bytes image = dib(2, 4, 8, table, rows);
    Bytes b;
    put16(b, 0), put16(b, 1), put16(b, 1);
    b.push_back(2), b.push_back(2), b.push_back(0), b.push_back(0);
    put16(b, 1), put16(b, 8), put32(b, static_cast<uint32_t>(image.size())), put32(b, 22);
    b.insert(b.end(), image.begin(), image.end());
    return b;
}

void expectInvalid(const Bytes& bytes, const std::string& what) {
    try {
        Picture p = loadPictureFromMemory(bytes);
        releasePicture(p);
        ADD_FAILURE() << what << " loaded";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kInvalidPictureError) << what;
    }
}

TEST(PictureLoaderTest, LoadsEachFormat) {
    struct Case {
        const char* name;
        Bytes bytes;
        PictureType type;
        int32_t width, height;
    };
    const Case cases[] = {{"bmp", bmp24(), PictureType::Bitmap, 2, 2},
                          {"png", pngFile(3, 2), PictureType::Bitmap, 3, 2},
                          {"jpeg", jpegFile(17, 9), PictureType::Bitmap, 17, 9},
                          {"gif", gifFile(), PictureType::Bitmap, 1, 1},
                          {"ico", icoFile(), PictureType::Icon, 2, 2}};
    for (const Case& c : cases) {
        Picture p = loadPictureFromMemory(c.bytes);
        EXPECT_EQ(p.type, c.type) << c.name;
        EXPECT_EQ(p.width, c.width) << c.name;
        EXPECT_EQ(p.height, c.height) << c.name;
        EXPECT_NE(p.handle, 0u) << c.name;
        releasePicture(p);
    }
}

TEST(PictureLoaderTest, BmpPixelsAreUpright) {
    Picture p = loadPictureFromMemory(bmp24());
    auto b = bitmapOf(p.handle);
    EXPECT_EQ(b->colorOfRaw(b->rawAt(0, 0)), rgb(255, 0, 0));  // top left
    EXPECT_EQ(b->colorOfRaw(b->rawAt(0, 1)), rgb(0, 0, 255));  // bottom left
    releasePicture(p);
}

TEST(PictureLoaderTest, IconKeepsColoursAndMask) {
    Picture p = loadPictureFromMemory(icoFile());
    auto icon = iconOf(p.handle);
    ASSERT_TRUE(icon && icon->mask);
    EXPECT_EQ(icon->color->colorOfRaw(icon->color->rawAt(0, 1)), rgb(255, 0, 0));
    EXPECT_EQ(icon->mask->rawAt(0, 1), 1u);
    EXPECT_EQ(icon->mask->rawAt(1, 1), 0u);
    releasePicture(p);
}

TEST(PictureLoaderTest, GifTransparencyAndPalette) {
    Picture p = loadPictureFromMemory(gifFile());
    auto b = bitmapOf(p.handle);
    EXPECT_EQ(b->colorOfRaw(b->rawAt(0, 0)), rgb(255, 255, 255));
    EXPECT_NE(p.palette, 0u);
    releasePicture(p);
}

TEST(PictureLoaderTest, HostileContentsFailCleanly) {
    std::vector<std::pair<std::string, Bytes>> files = {{"empty", {}}, {"garbage", Bytes(100, 0x5A)}};
    for (auto [name, bytes] : std::vector<std::pair<std::string, Bytes>>{
             {"bmp", bmp24()}, {"png", pngFile(5, 5)}, {"jpeg", jpegFile(16, 16)}, {"gif", gifFile()},
             {"ico", icoFile()}}) {
        // A PNG cut inside its end chunk still holds the whole image; cut the others there too.
        size_t nearEnd = name == "png" ? bytes.size() - 20 : bytes.size() - 3;
        for (size_t keep : {size_t{4}, bytes.size() / 2, nearEnd}) {
            files.push_back({name + " cut at " + std::to_string(keep), Bytes(bytes.begin(), bytes.begin() + keep)});
        }
    }
    Bytes hugeBmp = bmpFile(dib(100000, 100000, 24, {}, Bytes(16)), 0);
    files.push_back({"huge bmp", hugeBmp});
    Bytes negativeBmp = bmpFile(dib(-5, 2, 24, {}, Bytes(64)), 0);
    files.push_back({"negative width bmp", negativeBmp});
    Bytes tableTooLong = bmpFile(dib(1, 1, 8, std::vector<uint32_t>(300, 0), Bytes(4)), 1200);
    files.push_back({"colour table too long", tableTooLong});
    Bytes hugeGif = gifFile();
    hugeGif[6] = hugeGif[7] = hugeGif[8] = hugeGif[9] = 0xFF;  // logical screen 65535 x 65535
    files.push_back({"huge gif", hugeGif});
    Bytes badIco = icoFile();
    badIco[18] = 0xF0;  // image offset far past the end
    files.push_back({"ico offset", badIco});
    Bytes hugeJpeg = jpegFile(8, 8);
    for (size_t i = 0; i + 8 < hugeJpeg.size(); ++i)
        if (hugeJpeg[i] == 0xFF && hugeJpeg[i + 1] == 0xC0) {  // frame header: height, width
            hugeJpeg[i + 5] = hugeJpeg[i + 6] = hugeJpeg[i + 7] = hugeJpeg[i + 8] = 0xFF;
            break;
        }
    files.push_back({"huge jpeg", hugeJpeg});
    for (const auto& [name, bytes] : files) expectInvalid(bytes, name);
}

TEST(PictureLoaderTest, MissingFileIsFileNotFound) {
    zorbel::testing::TempFolder folder;
    try {
        loadPicture(folder / "none.bmp");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::kFileNotFound);
    }
    const Bytes bmp = bmp24();
    zorbel::testing::writeFile(folder / "a.bmp", std::string(bmp.begin(), bmp.end()));
    Picture p = loadPicture(folder / "a.bmp");
    EXPECT_EQ(p.width, 2);
    releasePicture(p);
}

}  // namespace
}  // namespace zorbel::gdi
