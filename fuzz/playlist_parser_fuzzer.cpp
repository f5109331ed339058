// Playlist files of any bytes: parsing, command recognition and writing back never fail.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "jukebox/playlist_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Split the input at an arbitrary point to exercise lines that cross chunks.
    zorbel::jukebox::PlaylistParser parser;
    size_t cut = size ? data[0] % (size + 1) : 0;
    parser.feed(bytes.substr(0, cut));
    parser.feed(bytes.substr(cut));
    auto entries = parser.finish();
    for (const std::string& entry : entries) (void)zorbel::jukebox::dynamicEntry(entry);
    std::string written = zorbel::jukebox::formatPlaylist(entries);
    (void)zorbel::jukebox::parsePlaylist(written);
    return 0;
}
