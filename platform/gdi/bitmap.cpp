#include "platform/gdi/bitmap.hpp"

#include <cstdlib>
#include <limits>
#include <utility>

namespace zorbel::gdi {

namespace {

// The largest pixel block this layer allocates (1 GiB): larger requests are refused as a
// failed creation rather than risking the process on a hostile header.
constexpr size_t kMaxImageBytes = size_t{1} << 30;

bool validBitCount(uint16_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

int colorDistance(const RgbQuad& q, ColorRef c) {
    return std::abs(q.red - redOf(c)) + std::abs(q.green - greenOf(c)) + std::abs(q.blue - blueOf(c));
}

}  // namespace

std::optional<size_t> Bitmap::strideFor(int32_t width, uint16_t bitCount) {
    if (width <= 0 || !validBitCount(bitCount)) return std::nullopt;
    uint64_t bitsPerRow = static_cast<uint64_t>(width) * bitCount;
    uint64_t bytes = ((bitsPerRow + 31) / 32) * 4;
    if (bytes > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<size_t>(bytes);
}

std::optional<size_t> Bitmap::imageBytesFor(int32_t width, int32_t height, uint16_t bitCount) {
    std::optional<size_t> stride = strideFor(width, bitCount);
    if (!stride || height <= 0) return std::nullopt;
    if (*stride > kMaxImageBytes / static_cast<size_t>(height)) return std::nullopt;
    return *stride * static_cast<size_t>(height);
}

std::shared_ptr<Bitmap> Bitmap::create(int32_t width, int32_t height, uint16_t bitCount, bool topDown) {
    std::optional<size_t> bytes = imageBytesFor(width, height, bitCount);
    if (!bytes) return nullptr;
    PixelMemory pixels = PixelMemory::zeroed(*bytes);
    if (!pixels) return nullptr;
    return std::shared_ptr<Bitmap>(
        new Bitmap(width, height, bitCount, topDown, *strideFor(width, bitCount), *bytes, std::move(pixels)));
}

Bitmap::Bitmap(int32_t width, int32_t height, uint16_t bitCount, bool topDown, size_t stride, size_t bytes,
               PixelMemory pixels)
    : width_(width), height_(height), bitCount_(bitCount), topDown_(topDown), stride_(stride), bytes_(bytes),
      pixels_(std::move(pixels)), table_(defaultColorTable(bitCount)) {}

uint8_t* Bitmap::row(int32_t y) {
    int32_t storageRow = topDown_ ? y : height_ - 1 - y;
    return pixels_.data() + static_cast<size_t>(storageRow) * stride_;
}

const uint8_t* Bitmap::row(int32_t y) const { return const_cast<Bitmap*>(this)->row(y); }

uint32_t Bitmap::rawAt(int32_t x, int32_t y) const {
    const uint8_t* r = row(y);
    switch (bitCount_) {
        case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4: return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
        case 8: return r[x];
        case 24: {
            const uint8_t* p = r + 3 * static_cast<size_t>(x);
            return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
        }
        default: {
            const uint8_t* p = r + 4 * static_cast<size_t>(x);
            return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
        }
    }
}

void Bitmap::setRaw(int32_t x, int32_t y, uint32_t value) {
    uint8_t* r = row(y);
    switch (bitCount_) {
        case 1: {
            uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
            r[x >> 3] = static_cast<uint8_t>((value & 1) ? (r[x >> 3] | bit) : (r[x >> 3] & ~bit));
            return;
        }
        case 4: {
            int shift = (x & 1) ? 0 : 4;
            r[x >> 1] = static_cast<uint8_t>((r[x >> 1] & ~(0xF << shift)) | ((value & 0xF) << shift));
            return;
        }
        case 8: r[x] = static_cast<uint8_t>(value); return;
        case 24: {
            uint8_t* p = r + 3 * static_cast<size_t>(x);
            p[0] = static_cast<uint8_t>(value), p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value >> 16);
            return;
        }
        default: {
            uint8_t* p = r + 4 * static_cast<size_t>(x);
            p[0] = static_cast<uint8_t>(value), p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value >> 16), p[3] = static_cast<uint8_t>(value >> 24);
            return;
        }
    }
}

uint32_t Bitmap::rawMask() const { return bitCount_ >= 32 ? 0xFFFFFFFFu : (1u << bitCount_) - 1u; }

ColorRef Bitmap::colorOfRaw(uint32_t raw) const {
    if (bitCount_ <= 8) {
        if (raw >= table_.size()) return 0;
        const RgbQuad& q = table_[raw];
        return rgb(q.red, q.green, q.blue);
    }
    return rgb(static_cast<uint8_t>(raw >> 16), static_cast<uint8_t>(raw >> 8), static_cast<uint8_t>(raw));
}

uint32_t Bitmap::rawOfColor(ColorRef color) const {
    if (bitCount_ > 8) return blueOf(color) | (greenOf(color) << 8) | (static_cast<uint32_t>(redOf(color)) << 16);
    uint32_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (uint32_t i = 0; i < table_.size(); ++i) {
        int d = colorDistance(table_[i], color);
        if (d < bestDistance) best = i, bestDistance = d;
        if (d == 0) break;
    }
    return best;
}

std::vector<RgbQuad> defaultColorTable(uint16_t bitCount) {
    std::vector<RgbQuad> table;
    if (bitCount == 1) {
        table = {RgbQuad{0, 0, 0, 0}, RgbQuad{255, 255, 255, 0}};
    } else if (bitCount == 4) {
        static constexpr uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
        for (uint32_t c : kVga)  // listed as 0xRRGGBB
            table.push_back(RgbQuad{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16), 0});
    } else if (bitCount == 8) {
        for (int i = 0; i < 256; ++i) {
            uint8_t v = static_cast<uint8_t>(i);
            table.push_back(RgbQuad{v, v, v, 0});
        }
    }
    return table;
}

}  // namespace zorbel::gdi
