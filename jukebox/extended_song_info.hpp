#pragma once
// ExtendedSongInfo: what the library knows about one song file beyond its name: the ID3v1
// tag fields, the technical data of an MP3 stream and the song data of a tracker module.

#include <string>

#include "frame/object.hpp"

namespace zorbel::jukebox {

enum SongFileType : int32_t {
    sftMP3 = 1,
    sftModule = 2,
};

// The enumeration as type information shows it.
const EnumInfo& songFileTypeInfo();

class ExtendedSongInfo final : public Dispatchable<ExtendedSongInfo> {
public:
    static const ClassInfo& typeInfo();

    int32_t Genre() const { return genre_; }
    void setGenre(int32_t v) { genre_ = v; }
    std::string Comment() const { return comment_; }
    void setComment(std::string v) { comment_ = std::move(v); }
    std::string Year() const { return year_; }
    void setYear(std::string v) { year_ = std::move(v); }
    std::string Artist() const { return artist_; }
    void setArtist(std::string v) { artist_ = std::move(v); }
    Variant Album() const { return album_; }
    void setAlbum(Variant v) { album_ = std::move(v); }
    std::string Title() const { return title_; }
    void setTitle(std::string v) { title_ = std::move(v); }

    bool ReadInfo(std::string fileName, int32_t fileFormat);
    bool SaveInfo(std::string fileName, int32_t fileFormat);
    bool GetMoreInfoMP3(std::string mp3File, int16_t& mp3Type, int16_t& mp3Layer, int16_t& protection,
                        int32_t& bitRate, int32_t& sampleRate, int32_t& frequency, int32_t& frameCount,
                        int32_t& duration);

    ObjectRef Samples;  // module instrument names, a keyed collection

    int32_t Channels() const { return channels_; }
    void setChannels(int32_t v) { channels_ = v; }
    int32_t Patterns() const { return patterns_; }
    void setPatterns(int32_t v) { patterns_ = v; }
    int32_t Length() const { return length_; }
    void setLength(int32_t v) { length_ = v; }

private:
    bool readModuleInfo(const std::string& fileName);

    int32_t genre_ = 0;
    std::string comment_;
    std::string year_;
    std::string artist_;
    Variant album_;
    std::string title_;
    int32_t channels_ = 0;
    int32_t patterns_ = 0;
    int32_t length_ = 0;
};

}  // namespace zorbel::jukebox
