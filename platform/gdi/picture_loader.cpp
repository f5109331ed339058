#include <cerrno>
#include <fstream>
#include <iterator>
#include <vector>

#include "frame/error.hpp"
#include "platform/gdi/bitmaps.hpp"
#include "platform/gdi/brushes_palettes.hpp"
#include "platform/gdi/contexts.hpp"
#include "platform/gdi/decoded_image.hpp"
#include "platform/gdi/picture.hpp"

namespace zorbel::gdi {

namespace {

// Files above this size are refused before they are read.
constexpr std::uintmax_t kMaxPictureFileBytes = 256u << 20;

[[noreturn]] void invalidPicture() { throw Error(kInvalidPictureError, "Invalid picture"); }

std::optional<DecodedImage> decodeAny(std::span<const uint8_t> bytes) {
    if (bytes.size() < 4) return std::nullopt;
    if (bytes[0] == 'B' && bytes[1] == 'M') return decodeBmp(bytes);
    if (bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F') return decodeGif(bytes);
    if (bytes[0] == 0xFF && bytes[1] == 0xD8) return decodeJpeg(bytes);
    if (bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G') return decodePng(bytes);
    if (bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2) && bytes[3] == 0) return decodeIco(bytes);
    return std::nullopt;
}

HPALETTE paletteFor(const Bitmap& bitmap) {
    if (bitmap.bitCount() > 8) return 0;
    std::vector<PaletteEntry> entries;
    for (const RgbQuad& q : bitmap.colorTable()) entries.push_back(PaletteEntry{q.red, q.green, q.blue, 0});
    return createPalette(entries);
}

}  // namespace

Picture loadPictureFromMemory(std::span<const uint8_t> bytes) {
    std::optional<DecodedImage> image = decodeAny(bytes);
    if (!image || !image->color) invalidPicture();
    bool isIcon = bytes[0] == 0 && image->mask;
    Picture picture;
    picture.width = image->color->width();
    picture.height = image->color->height();
    if (isIcon) {
        picture.type = PictureType::Icon;
        picture.handle = createIcon(*image->color, *image->mask);
    } else {
        picture.type = PictureType::Bitmap;
        picture.palette = paletteFor(*image->color);
        picture.handle = addBitmap(image->color);
    }
    if (!picture.handle) invalidPicture();
    return picture;
}

Picture loadPicture(const std::filesystem::path& file) {
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec) throw fileError(ec.value());
    if (size > kMaxPictureFileBytes) invalidPicture();
    std::ifstream in(file, std::ios::binary);
    if (!in) throw fileError(errno);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return loadPictureFromMemory(bytes);
}

void releasePicture(Picture& picture) {
    if (picture.handle) deleteObject(picture.handle);
    if (picture.palette) deleteObject(picture.palette);
    picture = Picture{};
}

}  // namespace zorbel::gdi
