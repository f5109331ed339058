// Decoding of icon files: the first image of the directory, stored as a DIB with its mask or
// as an embedded PNG.

#include "platform/gdi/byte_reader.hpp"
#include "platform/gdi/decoded_image.hpp"

namespace zorbel::gdi {

namespace {

bool isPng(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::equal(kSignature, kSignature + 8, bytes.begin());
}

}  // namespace

std::optional<DecodedImage> decodeIco(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    uint16_t reserved = in.u16();
    uint16_t type = in.u16();
    uint16_t count = in.u16();
    if (in.failed() || reserved != 0 || (type != 1 && type != 2) || count == 0) return std::nullopt;
    in.skip(8);  // width, height, colours, reserved, planes / hotspot
    uint32_t size = in.u32();
    uint32_t offset = in.u32();
    if (in.failed() || offset > bytes.size() || size > bytes.size() - offset || size == 0) return std::nullopt;
    std::span<const uint8_t> image = bytes.subspan(offset, size);
    if (isPng(image)) return decodePng(image);
    return decodeDib(image, 0, 2);
}

}  // namespace zorbel::gdi
