// Feeds arbitrary text to the palette-file parser: it must yield colours or raise a
// conversion error, never crash.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/error.hpp"
#include "imaging/palette_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        zorbel::imaging::parsePaletteText(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const zorbel::Error&) {
    }
    return 0;
}
