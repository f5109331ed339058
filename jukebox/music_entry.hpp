#pragma once
// MusicEntry: the public record that carries one song row between a host and the media
// library.

#include <cstdint>
#include <string>

#include "frame/class_builder.hpp"

namespace zorbel::jukebox {

struct MusicEntry {
    std::string ID;
    std::string Title;
    std::string Artist;
    int32_t Genre = 0;
    std::string Album;
    int16_t Year = 0;
    int16_t MediaType = 0;  // 1: a song file on disk at MediaLocation
    std::string MediaID;
    std::string MediaLocation;
};

inline constexpr int16_t kMediaTypeSongFile = 1;

// The record as type information shows it.
const RecordInfo& musicEntryInfo();

}  // namespace zorbel::jukebox

namespace zorbel {

template <>
struct RecordTraits<jukebox::MusicEntry> {
    static const RecordInfo& info() { return jukebox::musicEntryInfo(); }
    static RecordValue toValue(const jukebox::MusicEntry& entry);
    static jukebox::MusicEntry fromValue(const RecordValue& value);
};

}  // namespace zorbel
