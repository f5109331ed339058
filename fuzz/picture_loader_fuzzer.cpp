// Feeds arbitrary bytes to the picture loader: every input must either load or fail with the
// loader's error, never crash or read outside the input.

#include <cstddef>
#include <cstdint>
#include <span>

#include "frame/error.hpp"
#include "platform/gdi/picture.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        zorbel::gdi::Picture picture = zorbel::gdi::loadPictureFromMemory(std::span<const uint8_t>(data, size));
        zorbel::gdi::releasePicture(picture);
    } catch (const zorbel::Error&) {
    }
    return 0;
}
