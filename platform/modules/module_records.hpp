#pragma once
// The records the module system fills, laid out as its callers read them.

#include <array>
#include <cstdint>
#include <string>

namespace zorbel::modules {

using ModuleHandle = uint32_t;  // 0: none
using PlayHandle = uint32_t;    // 0: none

// Names are 32-byte fields of Windows-1252 text, NUL-padded.
using NameField = std::array<char, 32>;

// The text as a NUL-padded Windows-1252 field, cut to 32 bytes.
NameField nameField(const std::string& utf8);
// The whole field as text, NULs included.
std::string nameText(const NameField& field);

struct ModuleInfo {
    NameField songName{};
    uint32_t songLength = 0;      // entries of the order list
    uint32_t numPatterns = 0;
    uint32_t numInstruments = 0;  // instruments, or samples for formats without instruments
    uint32_t numChannels = 0;
};
static_assert(sizeof(ModuleInfo) == 48);

struct InstrumentInfo {
    NameField name{};
};

struct PlayStatus {
    uint32_t position = 0;  // the current order
    uint32_t pattern = 0;
    uint32_t row = 0;
    int32_t syncInfo = 0;
    uint32_t songLoopCount = 0;
};
static_assert(sizeof(PlayStatus) == 20);

// The configuration: five 32-bit values. The first is the mixing rate in Hz; the others are
// kept and saved as they are.
struct ModuleConfig {
    std::array<uint32_t, 5> values{32000, 10, 1, 500, 100};
    uint32_t mixingRate() const { return values[0]; }
};

}  // namespace zorbel::modules
