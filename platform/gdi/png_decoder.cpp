// Decoding of PNG files through libpng's simplified reader into 32-bit bottom-up BGRA
// bitmaps; the alpha channel stays in the fourth byte and gives the mask (alpha 0 =
// transparent) when the file has one.

#include <png.h>

#include <cstring>

#include "platform/gdi/decoded_image.hpp"

namespace zorbel::gdi {

namespace {

// Owns the simplified reader's state.
class PngImage {
public:
    PngImage() {
        std::memset(&image_, 0, sizeof image_);
        image_.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    png_image* get() { return &image_; }

private:
    png_image image_;
};

std::shared_ptr<Bitmap> maskFromAlpha(const Bitmap& color) {
    auto mask = Bitmap::create(color.width(), color.height(), 1);
    if (!mask) return nullptr;
    for (int32_t y = 0; y < color.height(); ++y)
        for (int32_t x = 0; x < color.width(); ++x) mask->setRaw(x, y, (color.rawAt(x, y) >> 24) == 0 ? 1 : 0);
    return mask;
}

}  // namespace

std::optional<DecodedImage> decodePng(std::span<const uint8_t> bytes) {
    PngImage png;
    if (!png_image_begin_read_from_memory(png.get(), bytes.data(), bytes.size())) return std::nullopt;
    bool hasAlpha = (png.get()->format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.get()->format = PNG_FORMAT_BGRA;
    if (png.get()->width > INT32_MAX || png.get()->height > INT32_MAX) return std::nullopt;
    DecodedImage image;
    image.color = createPictureBitmap(static_cast<int32_t>(png.get()->width), static_cast<int32_t>(png.get()->height), 32);
    if (!image.color) return std::nullopt;
    // A negative stride asks for bottom-up rows, the bitmap's own order.
    auto stride = -static_cast<png_int_32>(image.color->stride() / 4 * 4);
    if (!png_image_finish_read(png.get(), nullptr, image.color->bits(), stride, nullptr)) return std::nullopt;
    if (hasAlpha) image.mask = maskFromAlpha(*image.color);
    return image;
}

}  // namespace zorbel::gdi
