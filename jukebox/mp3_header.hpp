#pragma once
// MP3 frame header analysis: finds the first frame header in the first 4096 bytes of a file
// and estimates bit rate, sample rate, frame count and duration from that one header.

#include <cstdint>
#include <string>

namespace zorbel::jukebox {

inline constexpr size_t kMp3ScanSize = 4096;

// The outputs; the analysis writes them in declaration order as far as it gets, and leaves
// the rest as the caller set them.
struct Mp3Info {
    int32_t bitRate = 0;
    int16_t type = 0;        // 1 MPEG-1, 2 MPEG-2
    int16_t layer = 0;       // 1..3, 4 for the reserved layer code
    int16_t protection = 0;  // the header's protection bit as 0 or 1
    int32_t frequency = 0;   // the 2-bit sampling-frequency code
    int32_t sampleRate = 0;
    int32_t frameCount = 0;
    int32_t duration = 0;    // seconds
};

// Analyses the scan bytes of a file of fileLength bytes. False when no header is found or the
// estimate cannot be computed (a zero sample rate or frame length).
bool analyseMp3(const uint8_t (&scan)[kMp3ScanSize], uint64_t fileLength, Mp3Info& info);

// Reads the first 4096 bytes of the file and analyses them; False for missing, unreadable or
// shorter files.
bool analyseMp3File(const std::string& path, Mp3Info& info);

}  // namespace zorbel::jukebox
