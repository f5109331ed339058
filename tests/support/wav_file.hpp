#pragma once
// Reads back the 16-bit PCM WAV files the audio engine writes, to check what was heard.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorbel::testing {

struct WavContents {
    int sampleRate = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved

    size_t frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
    int peak() const;
    // The frames from the first to the last one with a sample above `threshold`, in seconds.
    double soundingSeconds(int threshold = 64) const;
};

// nullopt when the file is missing or not a complete 16-bit PCM WAV file.
std::optional<WavContents> readWav(const std::string& path);

}  // namespace zorbel::testing
