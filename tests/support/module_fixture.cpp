#include "tests/support/module_fixture.hpp"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace zorbel::testing {

namespace {

constexpr int kRows = 64;
constexpr int kPlayedRows = 16;
constexpr int kSquareBytes = 64;
constexpr uint16_t kPeriodC2 = 428;

void putText(std::vector<uint8_t>& out, size_t at, const std::string& text, size_t width) {
    std::memcpy(out.data() + at, text.data(), std::min(text.size(), width));
}

void putWord(std::vector<uint8_t>& out, size_t at, uint16_t value) {
    out[at] = static_cast<uint8_t>(value >> 8);
    out[at + 1] = static_cast<uint8_t>(value);
}

struct Cell {
    uint8_t sample = 0;
    uint16_t period = 0;
    uint8_t effect = 0;
    uint8_t parameter = 0;
};

void putCell(std::vector<uint8_t>& out, size_t at, const Cell& c) {
    out[at] = static_cast<uint8_t>((c.sample & 0xF0) | (c.period >> 8));
    out[at + 1] = static_cast<uint8_t>(c.period);
    out[at + 2] = static_cast<uint8_t>((c.sample << 4) | c.effect);
    out[at + 3] = c.parameter;
}

// "M.K." for four channels, "6CHN" to "9CHN", "10CH" to "32CH".
std::string channelTag(int channels) {
    if (channels == 4) return "M.K.";
    if (channels < 10) return std::to_string(channels) + "CHN";
    return std::to_string(channels) + "CH";
}

}  // namespace

std::vector<uint8_t> makeModule(const ModuleSpec& spec) {
    const size_t patternBytes = static_cast<size_t>(kRows) * spec.channels * 4;
    const size_t header = 1084;
    std::vector<uint8_t> out(header + patternBytes * spec.patterns + kSquareBytes, 0);
    putText(out, 0, spec.title, 20);
    for (size_t s = 0; s < 31; ++s) {
        const size_t at = 20 + 30 * s;
        if (s < spec.sampleNames.size()) putText(out, at, spec.sampleNames[s], 22);
        const bool square = s == 0;
        putWord(out, at + 22, square ? kSquareBytes / 2 : 0);  // length in words
        out[at + 25] = square ? 64 : 0;                        // volume
        putWord(out, at + 26, 0);                               // loop start
        putWord(out, at + 28, square ? kSquareBytes / 2 : 1);   // loop length (1: none)
    }
    out[950] = static_cast<uint8_t>(spec.orders.size());
    out[951] = 127;
    std::copy(spec.orders.begin(), spec.orders.end(), out.begin() + 952);
    std::memcpy(out.data() + 1080, channelTag(spec.channels).data(), 4);
    for (int p = 0; p < spec.patterns; ++p) {
        const size_t base = header + patternBytes * static_cast<size_t>(p);
        for (int ch = 0; ch < spec.channels; ++ch) {
            Cell note{1, kPeriodC2, 0, 0};
            if (ch == 0) note.effect = 0xF, note.parameter = 2;  // speed 2
            putCell(out, base + static_cast<size_t>(ch) * 4, note);
        }
        // Pattern break on the last played row.
        putCell(out, base + (static_cast<size_t>(kPlayedRows - 1) * spec.channels + 1) * 4, Cell{0, 0, 0xD, 0});
    }
    uint8_t* square = out.data() + header + patternBytes * spec.patterns;
    for (int i = 0; i < kSquareBytes; ++i) square[i] = static_cast<uint8_t>(i % 16 < 8 ? 100 : -100);
    return out;
}

std::string writeModuleFile(const std::filesystem::path& file, const ModuleSpec& spec) {
    const std::vector<uint8_t> bytes = makeModule(spec);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

}  // namespace zorbel::testing
