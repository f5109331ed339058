#include "platform/audio/wav_writer.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <limits>

namespace zorbel::audio {

namespace {

constexpr size_t kHeaderBytes = 44;
// The RIFF sizes are 32-bit; the file stops growing before they would wrap.
constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - kHeaderBytes;

void putLe(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool writeAll(int fd, const void* data, size_t size, off_t offset) {
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        ssize_t n = pwrite(fd, p, size, offset);
        if (n <= 0) return false;
        p += n, size -= static_cast<size_t>(n), offset += n;
    }
    return true;
}

}  // namespace

WavWriter::WavWriter(const std::string& path, int sampleRate, int channels) : channels_(channels) {
    fd_.reset(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd_) return;
    std::array<uint8_t, kHeaderBytes> h{};
    std::memcpy(h.data(), "RIFF", 4);
    std::memcpy(h.data() + 8, "WAVEfmt ", 8);
    putLe(h.data() + 16, 16, 4);  // format chunk size
    putLe(h.data() + 20, 1, 2);   // PCM
    putLe(h.data() + 22, static_cast<uint32_t>(channels), 2);
    putLe(h.data() + 24, static_cast<uint32_t>(sampleRate), 4);
    putLe(h.data() + 28, static_cast<uint32_t>(sampleRate * channels * 2), 4);
    putLe(h.data() + 32, static_cast<uint32_t>(channels * 2), 2);
    putLe(h.data() + 34, 16, 2);
    std::memcpy(h.data() + 36, "data", 4);
    if (!writeAll(fd_.get(), h.data(), h.size(), 0) || !writeSizes()) fd_.reset();
}

bool WavWriter::writeSizes() {
    const uint64_t dataBytes = frames_ * static_cast<uint64_t>(channels_) * 2;
    uint8_t riff[4], data[4];
    putLe(riff, static_cast<uint32_t>(dataBytes + kHeaderBytes - 8), 4);
    putLe(data, static_cast<uint32_t>(dataBytes), 4);
    return writeAll(fd_.get(), riff, 4, 4) && writeAll(fd_.get(), data, 4, 40);
}

bool WavWriter::write(const int16_t* samples, size_t frames) {
    if (!fd_) return false;
    const uint64_t bytes = static_cast<uint64_t>(frames) * static_cast<uint64_t>(channels_) * 2;
    const uint64_t written = frames_ * static_cast<uint64_t>(channels_) * 2;
    if (written + bytes > kMaxDataBytes) return false;
    // Samples are stored little-endian, as this platform holds them.
    if (!writeAll(fd_.get(), samples, static_cast<size_t>(bytes), static_cast<off_t>(kHeaderBytes + written))) {
        fd_.reset();
        return false;
    }
    frames_ += frames;
    return writeSizes();
}

void WavWriter::close() {
    if (!fd_) return;
    writeSizes();
    fsync(fd_.get());
    fd_.close();
}

}  // namespace zorbel::audio
