#pragma once
// Writes 16-bit PCM to a WAV file as it comes. The header's sizes are brought up to date
// after every block, so the file is a valid WAV file at any moment, not only after close.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system/unique_fd.hpp"

namespace zorbel::audio {

class WavWriter {
public:
    // Creates or truncates the file; check ok() afterwards.
    WavWriter(const std::string& path, int sampleRate, int channels);

    bool ok() const { return static_cast<bool>(fd_); }
    // Appends interleaved frames; false (and the writer stops) when the disk refuses them.
    bool write(const int16_t* samples, size_t frames);
    uint64_t framesWritten() const { return frames_; }
    // Flushes the header and the data to the disk and closes the file.
    void close();

private:
    bool writeSizes();

    system::UniqueFd fd_;
    int channels_;
    uint64_t frames_ = 0;
};

}  // namespace zorbel::audio
