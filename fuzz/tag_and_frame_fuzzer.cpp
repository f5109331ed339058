// ID3v1 field blocks and MP3 frame headers of any bytes: reading and analysing never fail.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "jukebox/id3v1_tag.hpp"
#include "jukebox/mp3_header.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= zorbel::jukebox::kTagFieldsSize) {
        auto fields = zorbel::jukebox::parseFields(reinterpret_cast<const char*>(data));
        (void)zorbel::jukebox::formatFields(fields);
    }
    uint8_t scan[zorbel::jukebox::kMp3ScanSize] = {};
    std::memcpy(scan, data, size < sizeof scan ? size : sizeof scan);
    uint64_t length = 0;
    std::memcpy(&length, data, size < sizeof length ? size : sizeof length);
    zorbel::jukebox::Mp3Info info;
    info.sampleRate = size > 8 ? data[8] : 0;
    (void)zorbel::jukebox::analyseMp3(scan, length, info);
    return 0;
}
