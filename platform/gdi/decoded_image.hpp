#pragma once
// What an image decoder hands the picture loader: the colour image, and for icons and
// transparent images the AND mask (1 = transparent).

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/gdi/bitmap.hpp"

namespace zorbel::gdi {

struct DecodedImage {
    std::shared_ptr<Bitmap> color;
    std::shared_ptr<Bitmap> mask;
};

// A bitmap for a decoded picture; nullptr beyond 256 MiB of pixels, so that a small hostile
// file cannot make the loader allocate and fill gigabytes.
std::shared_ptr<Bitmap> createPictureBitmap(int32_t width, int32_t height, uint16_t bitCount);

// Each returns nullopt for contents it cannot decode safely. None reads outside bytes.
std::optional<DecodedImage> decodeBmp(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodeIco(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodeGif(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodeJpeg(std::span<const uint8_t> bytes);
std::optional<DecodedImage> decodePng(std::span<const uint8_t> bytes);

// A DIB as stored in BMP files and icon images: a bitmap information header, its colour
// table and pixels. heightDivisor 2 reads an icon image (colour rows, then the mask rows).
std::optional<DecodedImage> decodeDib(std::span<const uint8_t> dib, size_t pixelOffset, int heightDivisor);

}  // namespace zorbel::gdi
