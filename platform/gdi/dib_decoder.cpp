// Decoding of DIBs as BMP files and icon images store them (uncompressed, 1/4/8/24/32 bits).

#include <algorithm>
#include <cstring>

#include "platform/gdi/byte_reader.hpp"
#include "platform/gdi/decoded_image.hpp"

namespace zorbel::gdi {

namespace {

struct DibHeader {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
};

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

std::optional<DibHeader> readHeader(ByteReader& in) {
    DibHeader h;
    h.size = in.u32();
    if (h.size == 12) {  // the old core header: 16-bit sizes
        h.width = in.u16();
        h.height = static_cast<int16_t>(in.u16());
        in.u16();
        h.bitCount = in.u16();
    } else if (h.size >= 40) {
        h.width = in.i32();
        h.height = in.i32();
        in.u16();
        h.bitCount = in.u16();
        h.compression = in.u32();
        in.skip(12);
        h.colorsUsed = in.u32();
        in.skip(h.size - 36);  // important colours and any larger header
    } else {
        return std::nullopt;
    }
    if (in.failed()) return std::nullopt;
    return h;
}

bool supported(const DibHeader& h) {
    bool plain = h.compression == kBiRgb || (h.compression == kBiBitfields && h.bitCount == 32);
    return plain && h.width > 0 && h.height != 0 && h.height != INT32_MIN;
}

bool readColorTable(ByteReader& in, const DibHeader& h, Bitmap& bitmap) {
    if (h.bitCount > 8) return true;
    size_t full = size_t{1} << h.bitCount;
    size_t count = h.colorsUsed == 0 ? full : h.colorsUsed;
    if (count > full) return false;
    size_t entryBytes = h.size == 12 ? 3 : 4;
    if (count * entryBytes > in.remaining()) return false;
    auto& table = bitmap.colorTable();
    std::fill(table.begin(), table.end(), RgbQuad{});
    for (size_t i = 0; i < count; ++i) {
        table[i].blue = in.u8(), table[i].green = in.u8(), table[i].red = in.u8();
        if (entryBytes == 4) in.u8();
    }
    return !in.failed();
}

// Copies stored rows (bottom-up unless topDown) into a bitmap of the same format.
bool readRows(std::span<const uint8_t> src, size_t offset, Bitmap& bitmap, bool topDown) {
    size_t bytes = bitmap.stride() * static_cast<size_t>(bitmap.height());
    if (offset > src.size() || bytes > src.size() - offset) return false;
    for (int32_t r = 0; r < bitmap.height(); ++r) {
        int32_t y = topDown ? r : bitmap.height() - 1 - r;
        std::memcpy(bitmap.row(y), src.data() + offset + static_cast<size_t>(r) * bitmap.stride(), bitmap.stride());
    }
    return true;
}

}  // namespace

std::shared_ptr<Bitmap> createPictureBitmap(int32_t width, int32_t height, uint16_t bitCount) {
    constexpr size_t kMaxPictureBytes = size_t{256} << 20;
    std::optional<size_t> bytes = Bitmap::imageBytesFor(width, height, bitCount);
    if (!bytes || *bytes > kMaxPictureBytes) return nullptr;
    return Bitmap::create(width, height, bitCount);
}

std::optional<DecodedImage> decodeDib(std::span<const uint8_t> dib, size_t pixelOffset, int heightDivisor) {
    ByteReader in(dib);
    std::optional<DibHeader> header = readHeader(in);
    if (!header || !supported(*header)) return std::nullopt;
    if (header->compression == kBiBitfields) in.skip(header->size == 40 ? 12 : 0);
    bool topDown = header->height < 0;
    int32_t height = (topDown ? -header->height : header->height) / heightDivisor;
    // Refuse sizes the data cannot hold before allocating anything for them.
    std::optional<size_t> needed = Bitmap::imageBytesFor(header->width, height, header->bitCount);
    if (!needed || *needed > dib.size()) return std::nullopt;
    DecodedImage image;
    image.color = createPictureBitmap(header->width, height, header->bitCount);
    if (!image.color || !readColorTable(in, *header, *image.color)) return std::nullopt;
    size_t offset = pixelOffset != 0 ? pixelOffset : in.position();
    if (!readRows(dib, offset, *image.color, topDown)) return std::nullopt;
    if (heightDivisor == 2) {
        image.mask = Bitmap::create(header->width, height, 1);
        size_t maskOffset = offset + image.color->byteCount();
        if (!image.mask || !readRows(dib, maskOffset, *image.mask, topDown)) image.mask.reset();
    }
    return image;
}

std::optional<DecodedImage> decodeBmp(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    if (in.u8() != 'B' || in.u8() != 'M') return std::nullopt;
    in.skip(8);
    uint32_t pixelOffset = in.u32();
    if (in.failed() || pixelOffset < 14 + 12 || pixelOffset > bytes.size()) return std::nullopt;
    return decodeDib(bytes.subspan(14), pixelOffset - 14, 1);
}

}  // namespace zorbel::gdi
