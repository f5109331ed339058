#include "jukebox/music_entry.hpp"

namespace zorbel::jukebox {

const RecordInfo& musicEntryInfo() {
    static const RecordInfo info{"MusicEntry",
                                 {{"ID", VarType::String},
                                  {"Title", VarType::String},
                                  {"Artist", VarType::String},
                                  {"Genre", VarType::Long},
                                  {"Album", VarType::String},
                                  {"Year", VarType::Integer},
                                  {"MediaType", VarType::Integer},
                                  {"MediaID", VarType::String},
                                  {"MediaLocation", VarType::String}}};
    return info;
}

}  // namespace zorbel::jukebox

namespace zorbel {

RecordValue RecordTraits<jukebox::MusicEntry>::toValue(const jukebox::MusicEntry& e) {
    return RecordValue{&jukebox::musicEntryInfo(),
                       {Variant(e.ID), Variant(e.Title), Variant(e.Artist), Variant::longValue(e.Genre),
                        Variant(e.Album), Variant::integer(e.Year), Variant::integer(e.MediaType), Variant(e.MediaID),
                        Variant(e.MediaLocation)}};
}

jukebox::MusicEntry RecordTraits<jukebox::MusicEntry>::fromValue(const RecordValue& value) {
    const std::vector<Variant>& f = value.fields;
    jukebox::MusicEntry e;
    e.ID = f[0].toString();
    e.Title = f[1].toString();
    e.Artist = f[2].toString();
    e.Genre = f[3].toLong();
    e.Album = f[4].toString();
    e.Year = f[5].toInteger();
    e.MediaType = f[6].toInteger();
    e.MediaID = f[7].toString();
    e.MediaLocation = f[8].toString();
    return e;
}

}  // namespace zorbel
