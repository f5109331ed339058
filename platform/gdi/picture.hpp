#pragma once
// Picture objects: a bitmap or icon handle with its type, size in pixels and an optional
// logical palette, and the loader that makes them from BMP, ICO, GIF (first frame), JPEG and
// PNG files. Files are recognised by their contents, not their names.

#include <cstdint>
#include <filesystem>
#include <span>

#include "platform/gdi/types.hpp"

namespace zorbel::gdi {

enum class PictureType : int16_t { None = 0, Bitmap = 1, Icon = 3 };

struct Picture {
    Handle handle = 0;
    PictureType type = PictureType::None;
    int32_t width = 0;
    int32_t height = 0;
    HPALETTE palette = 0;
};

// Error raised for contents that are no picture, are damaged or too large.
inline constexpr int32_t kInvalidPictureError = 481;

// Raise zorbel::Error: 481 "Invalid picture" for unreadable or hostile contents, the file
// errors (53, 70, ...) when the file cannot be read.
Picture loadPicture(const std::filesystem::path& file);
Picture loadPictureFromMemory(std::span<const uint8_t> bytes);

// Deletes the picture's handle and palette.
void releasePicture(Picture& picture);

}  // namespace zorbel::gdi
