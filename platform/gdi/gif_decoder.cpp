// Decoding of the first frame of a GIF file through giflib, placed on the logical screen.

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/decoded_image.hpp"

namespace zorbel::gdi {

namespace {

struct MemorySource {
    std::span<const uint8_t> bytes;
    size_t pos = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int length) {
    auto* src = static_cast<MemorySource*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(std::max(length, 0)), src->bytes.size() - src->pos);
    std::memcpy(out, src->bytes.data() + src->pos, n);
    src->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// Reads the extension blocks before the first image, remembering the transparent index.
bool readExtension(GifFileType* gif, int& transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    while (block) {
        if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4 && (block[1] & 1)) transparent = block[4];
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

void setTable(Bitmap& canvas, const ColorMapObject* map) {
    if (!map) return;
    int n = std::min(map->ColorCount, 256);
    for (int i = 0; i < n; ++i)
        canvas.colorTable()[i] = RgbQuad{map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red, 0};
}

// The canvas row of each line of the image in file order, for plain and interlaced images.
std::vector<int32_t> lineOrder(int32_t height, bool interlaced) {
    std::vector<int32_t> order;
    if (!interlaced) {
        for (int32_t y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    static constexpr int32_t kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int32_t y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
}

// The logical screen, filled with the background colour, and the mask when the image has a
// transparent colour. Made only once the first line of pixels has been read, so that a
// damaged file claiming a large screen fails before anything large is allocated.
bool makeCanvas(const GifFileType* gif, DecodedImage& image, int transparent) {
    image.color = createPictureBitmap(gif->SWidth, gif->SHeight, 8);
    if (!image.color) return false;
    std::fill(image.color->bits(), image.color->bits() + image.color->byteCount(),
              static_cast<uint8_t>(gif->SBackGroundColor));
    if (transparent < 0) return true;
    image.mask = createPictureBitmap(gif->SWidth, gif->SHeight, 1);
    if (!image.mask) return false;
    std::fill(image.mask->bits(), image.mask->bits() + image.mask->byteCount(), uint8_t{0xFF});
    return true;
}

bool readImage(GifFileType* gif, DecodedImage& image, int transparent) {
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    const GifImageDesc& d = gif->Image;
    if (d.Width <= 0 || d.Height <= 0) return false;
    std::vector<GifPixelType> line(static_cast<size_t>(d.Width));
    for (int32_t row : lineOrder(d.Height, d.Interlace)) {
        if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) return false;
        if (!image.color) {
            if (!makeCanvas(gif, image, transparent)) return false;
            setTable(*image.color, d.ColorMap ? d.ColorMap : gif->SColorMap);
        }
        Bitmap& canvas = *image.color;
        int32_t y = d.Top + row;
        for (int32_t i = 0; i < d.Width && canvas.contains(d.Left + i, y); ++i) {
            canvas.setRaw(d.Left + i, y, line[static_cast<size_t>(i)]);
            if (image.mask) image.mask->setRaw(d.Left + i, y, line[static_cast<size_t>(i)] == transparent ? 1 : 0);
        }
    }
    return true;
}

}  // namespace

std::optional<DecodedImage> decodeGif(std::span<const uint8_t> bytes) {
    MemorySource source{bytes};
    int error = 0;
    GifFile gif(DGifOpen(&source, readFromMemory, &error));
    if (!gif) return std::nullopt;
    if (gif->SWidth <= 0 || gif->SHeight <= 0) return std::nullopt;
    DecodedImage image;
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return std::nullopt;
        if (type == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif.get(), transparent)) return std::nullopt;
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (!readImage(gif.get(), image, transparent)) return std::nullopt;
            return image;
        } else {
            return std::nullopt;  // the file ends before its first image
        }
    }
}

}  // namespace zorbel::gdi
