#include "jukebox/extended_song_info.hpp"

#include "frame/class_builder.hpp"
#include "frame/zorbel_classes.hpp"
#include "jukebox/id3v1_tag.hpp"
#include "jukebox/mp3_header.hpp"
#include "frame/collection_object.hpp"
#include "frame/text.hpp"
#include "platform/modules/module_system.hpp"
#include "platform/system/text_ops.hpp"
#include "playback/midas.hpp"

namespace zorbel::jukebox {

const EnumInfo& songFileTypeInfo() {
    static const EnumInfo info{"SongFileTypeConstants", {{"sftMP3", sftMP3}, {"sftModule", sftModule}}};
    return info;
}

const ClassInfo& ExtendedSongInfo::typeInfo() {
    using C = ExtendedSongInfo;
    static const ClassInfo info =
        ClassBuilder<C>("ExtendedSongInfo", zorbelIdentity("ExtendedSongInfo"))
            .property("Genre", &C::Genre, &C::setGenre)
            .property("Comment", &C::Comment, &C::setComment)
            .property("Year", &C::Year, &C::setYear)
            .property("Artist", &C::Artist, &C::setArtist)
            .propertyLetSet("Album", &C::Album, &C::setAlbum, &C::setAlbum)
            .property("Title", &C::Title, &C::setTitle)
            .method("ReadInfo", &C::ReadInfo, {"Filename", "FileFormat"})
            .method("SaveInfo", &C::SaveInfo, {"Filename", "FileFormat"})
            .method("GetMoreInfoMP3", &C::GetMoreInfoMP3,
                    {"MP3File", "MP3Type", "MP3Layer", "Protection", "BitRate", "sampleRate", "Frequency",
                     "FrameCount", "Duration"})
            .stored("Samples", &C::Samples)
            .property("Channels", &C::Channels, &C::setChannels)
            .property("Patterns", &C::Patterns, &C::setPatterns)
            .property("Length", &C::Length, &C::setLength)
            .build();
    return info;
}

bool ExtendedSongInfo::ReadInfo(std::string fileName, int32_t fileFormat) {
    if (fileFormat == sftModule) return readModuleInfo(fileName);
    if (fileFormat != sftMP3) return false;
    std::optional<Id3v1Fields> tag = readTag(fileName);
    if (!tag) return false;
    title_ = tag->title;
    artist_ = tag->artist;
    album_ = Variant(tag->album);
    year_ = tag->year;
    comment_ = tag->comment;
    genre_ = tag->genre;
    return true;
}

// Loads the module only to read its records; nothing is played. The shared sound system is
// held for the read, so a module already playing keeps it running.
bool ExtendedSongInfo::readModuleInfo(const std::string& fileName) {
    if (!playback::MidasAcquire()) return false;
    modules::ModuleSystem& system = modules::ModuleSystem::forThisThread();
    bool result = false;
    if (modules::ModuleHandle module = system.loadModule(fileName)) {
        modules::ModuleInfo info;
        uint32_t instruments = 0;
        if (system.getModuleInfo(module, info)) {
            result = true;
            channels_ = static_cast<int32_t>(info.numChannels);
            length_ = static_cast<int32_t>(info.songLength);
            patterns_ = static_cast<int32_t>(info.numPatterns);
            title_ = text::rtrim(system::nulCut(modules::nameText(info.songName)));
            instruments = info.numInstruments;
        }
        Ref<Collection> names = makeCollection();
        for (uint32_t number = 1; number <= instruments; ++number) {
            modules::InstrumentInfo instrument;
            if (!system.getInstrumentInfo(module, number, instrument)) continue;
            // The whole 32-character field, as stored.
            names->items().add(Variant(modules::nameText(instrument.name)));
        }
        Samples = toVariant(names).toObject();
        system.freeModule(module);
    }
    playback::MidasRelease();
    return result;
}

bool ExtendedSongInfo::SaveInfo(std::string fileName, int32_t fileFormat) {
    if (fileFormat != sftMP3) return false;
    // Values that cannot be stored fail before the file is looked at.
    Id3v1Fields fields;
    fields.title = title_;
    fields.artist = artist_;
    fields.album = album_.toString();
    fields.year = year_;
    fields.comment = comment_;
    fields.genre = Variant(genre_).toByte();
    return writeTag(fileName, fields);
}

bool ExtendedSongInfo::GetMoreInfoMP3(std::string mp3File, int16_t& mp3Type, int16_t& mp3Layer, int16_t& protection,
                                      int32_t& bitRate, int32_t& sampleRate, int32_t& frequency,
                                      int32_t& frameCount, int32_t& duration) {
    Mp3Info info{bitRate, mp3Type, mp3Layer, protection, frequency, sampleRate, frameCount, duration};
    bool complete = analyseMp3File(mp3File, info);
    bitRate = info.bitRate;
    mp3Type = info.type;
    mp3Layer = info.layer;
    protection = info.protection;
    frequency = info.frequency;
    sampleRate = info.sampleRate;
    frameCount = info.frameCount;
    duration = info.duration;
    return complete;
}

}  // namespace zorbel::jukebox
