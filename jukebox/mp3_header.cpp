#include "jukebox/mp3_header.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <optional>

#include "platform/system/unique_fd.hpp"

namespace zorbel::jukebox {

namespace {

// Bit rates in kbit/s by column (version bit * 4 + layer code) and bit-rate index 1..14;
// columns 0 and 4 (reserved layer) and indexes 0 and 15 are 0.
constexpr int32_t kBitRates[8][16] = {
    {0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},        // MPEG-2 layer III
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},        // MPEG-2 layer II
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},   // MPEG-2 layer I
    {0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},    // MPEG-1 layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},   // MPEG-1 layer II
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // MPEG-1 layer I
};

// Sample rates by version bit * 4 + frequency code; 0 marks the reserved code.
constexpr int32_t kSampleRates[8] = {22050, 24000, 16000, 0, 44100, 48000, 32000, 0};

struct HeaderFields {
    uint8_t h0;
    uint8_t h1;
};

// The 16 header bits after the first 12-bit frame sync, byte-aligned or starting in the
// middle of a byte; the byte-aligned form wins at the same position.
std::optional<HeaderFields> findHeader(const uint8_t (&b)[kMp3ScanSize]) {
    auto hi = [](uint8_t v) { return static_cast<uint8_t>(v >> 4); };
    auto lo = [](uint8_t v) { return static_cast<uint8_t>(v & 0x0F); };
    auto join = [](uint8_t high, uint8_t low) { return static_cast<uint8_t>((high << 4) | low); };
    // p runs over 1-based positions 1..4095 as 0-based i = p - 1; bytes beyond the scan read 0.
    auto at = [&](size_t i) -> uint8_t { return i < kMp3ScanSize ? b[i] : 0; };
    for (size_t i = 0; i + 1 < kMp3ScanSize; ++i) {
        if (at(i) == 0xFF && (at(i + 1) & 0xF0) == 0xF0)
            return HeaderFields{join(lo(at(i + 1)), hi(at(i + 2))), join(lo(at(i + 2)), hi(at(i + 3)))};
        uint8_t first = join(lo(at(i)), hi(at(i + 1)));
        uint8_t second = join(lo(at(i + 1)), hi(at(i + 2)));
        if (first == 0xFF && (second & 0xF0) == 0xF0) return HeaderFields{at(i + 2), at(i + 3)};
    }
    return std::nullopt;
}

// Division rounded to nearest with ties to even, as the classic integer conversion does;
// nullopt for a zero divisor or a result beyond 32 bits.
std::optional<int32_t> roundedQuotient(double dividend, double divisor) {
    if (divisor == 0) return std::nullopt;
    double q = std::nearbyint(dividend / divisor);
    if (!(q >= -2147483648.0 && q <= 2147483647.0)) return std::nullopt;
    return static_cast<int32_t>(q);
}

}  // namespace

bool analyseMp3(const uint8_t (&scan)[kMp3ScanSize], uint64_t fileLength, Mp3Info& info) {
    std::optional<HeaderFields> header = findHeader(scan);
    if (!header) return false;
    int version = (header->h0 & 0x80) ? 1 : 0;
    int layerCode = (header->h0 & 0x60) >> 5;
    int protection = (header->h0 & 0x10) ? 1 : 0;
    int bitRateIndex = header->h0 & 0x0F;
    int frequencyCode = (header->h1 & 0xC0) >> 6;
    int padding = (header->h1 & 0x20) ? 1 : 0;

    info.bitRate = kBitRates[version * 4 + layerCode][bitRateIndex] * 1000;
    info.type = static_cast<int16_t>(version ? 1 : 2);
    info.layer = static_cast<int16_t>(4 - layerCode);
    info.protection = static_cast<int16_t>(protection);
    info.frequency = frequencyCode;
    if (int32_t rate = kSampleRates[version * 4 + frequencyCode]; rate != 0) info.sampleRate = rate;

    // The frame length uses the factor 144 for every layer, and 38.5 frames per second for
    // every rate: these are estimates, kept as they are for callers that compare them.
    if (info.sampleRate == 0) return false;
    auto frameLength = roundedQuotient(144.0 * info.bitRate / info.sampleRate + padding, 1.0);
    if (!frameLength) return false;
    auto frames = roundedQuotient(static_cast<double>(fileLength), *frameLength);
    if (!frames) return false;
    info.frameCount = *frames;
    auto seconds = roundedQuotient(info.frameCount, 38.5);
    if (!seconds) return false;
    info.duration = *seconds;
    return true;
}

bool analyseMp3File(const std::string& path, Mp3Info& info) {
    system::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st {};
    if (!fd || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    uint8_t scan[kMp3ScanSize];
    size_t have = 0;
    while (have < kMp3ScanSize) {
        ssize_t got = pread(fd.get(), scan + have, kMp3ScanSize - have, static_cast<off_t>(have));
        if (got <= 0) return false;
        have += static_cast<size_t>(got);
    }
    return analyseMp3(scan, static_cast<uint64_t>(st.st_size), info);
}

}  // namespace zorbel::jukebox
