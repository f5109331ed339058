#include "tests/support/wav_file.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zorbel::testing {

namespace {

uint32_t le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint32_t>(b[at + static_cast<size_t>(i)]) << (8 * i);
    return v;
}

}  // namespace

int WavContents::peak() const {
    int best = 0;
    for (int16_t s : samples) best = std::max(best, std::abs(static_cast<int>(s)));
    return best;
}

double WavContents::soundingSeconds(int threshold) const {
    if (!channels || !sampleRate) return 0;
    size_t first = samples.size(), last = 0;
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(static_cast<int>(samples[i])) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    if (first > last) return 0;
    return static_cast<double>((last - first) / static_cast<size_t>(channels)) / sampleRate;
}

std::optional<WavContents> readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVEfmt ", 8) != 0)
        return std::nullopt;
    if (le(b, 4, 4) != b.size() - 8 || le(b, 20, 2) != 1 || le(b, 34, 2) != 16) return std::nullopt;
    if (std::memcmp(b.data() + 36, "data", 4) != 0 || le(b, 40, 4) != b.size() - 44) return std::nullopt;
    WavContents w;
    w.channels = static_cast<int>(le(b, 22, 2));
    w.sampleRate = static_cast<int>(le(b, 24, 4));
    w.samples.resize((b.size() - 44) / 2);
    std::memcpy(w.samples.data(), b.data() + 44, w.samples.size() * 2);
    return w;
}

}  // namespace zorbel::testing
