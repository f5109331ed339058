// Decoding of JPEG files through TurboJPEG into 24-bit bottom-up BGR bitmaps.

#include <turbojpeg.h>

#include <memory>

#include "platform/gdi/decoded_image.hpp"

namespace zorbel::gdi {

namespace {

struct TjCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjCloser>;

}  // namespace

std::optional<DecodedImage> decodeJpeg(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4 || bytes.size() > 0xFFFFFFFFu || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
    TjHandle tj(tjInitDecompress());
    if (!tj) return std::nullopt;
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    auto* data = const_cast<unsigned char*>(bytes.data());
    auto size = static_cast<unsigned long>(bytes.size());
    if (tjDecompressHeader3(tj.get(), data, size, &width, &height, &subsampling, &colorspace) != 0) return std::nullopt;
    DecodedImage image;
    image.color = createPictureBitmap(width, height, 24);
    if (!image.color) return std::nullopt;
    int pitch = static_cast<int>(image.color->stride());
    if (tjDecompress2(tj.get(), data, size, image.color->bits(), width, pitch, height, TJPF_BGR, TJFLAG_BOTTOMUP) != 0)
        return std::nullopt;
    return image;
}

}  // namespace zorbel::gdi
