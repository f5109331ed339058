#pragma once
// Playlist: the jukebox host's play order. The entry list is the playlist file's content; the
// song list is the concrete order of song files built from it (dynamic entries expanded,
// host rules applied, optionally shuffled), which navigation walks.

#include <string>

#include "frame/collection_object.hpp"
#include "frame/object.hpp"
#include "jukebox/extender_rules.hpp"
#include "jukebox/media_library.hpp"

namespace zorbel::jukebox {

class Playlist final : public Dispatchable<Playlist> {
public:
    Playlist();
    ~Playlist() override;
    static const ClassInfo& typeInfo();

    // Files
    bool LoadPlaylist(std::string fileName, bool addToList);
    void SavePlaylist(bool updateSongs);
    void SaveFinalPlaylist(std::string outputFile, std::string separatorFile, bool updateSongs);
    std::string LastPlaylist();
    void setLastPlaylist(std::string value);

    // Navigation
    bool NextSong() { return step(position_, +1); }
    bool PrevSong() { return step(position_, -1); }
    bool GotoSong(int32_t newSong) { return step(newSong - 1, +1); }
    bool GetCurrentSong(std::string& fileName, std::string& title);
    int32_t CurrentSongPos() const { return position_; }
    int32_t SongCount() const { return songs_ ? songs_->Count() : 0; }
    Ref<Collection> GetSongCol() const { return songs_ ? songs_ : makeCollection(); }

    bool Shuffle() const { return shuffle_; }
    void setShuffle(bool value);
    int16_t Repeat() const { return repeat_; }
    void setRepeat(int16_t value) { repeat_ = value; }
    bool ReadSongTitle() const { return readSongTitle_; }
    void setReadSongTitle(bool value) { readSongTitle_ = value; }

    // Entry editing
    int32_t PlaylistEntryCount() const { return entries_ ? entries_->Count() : 0; }
    std::string PlaylistEntry(int32_t index) const;
    void PlaylistEntryRemove(int32_t index);
    void PlaylistEntryAdd(std::string newFile, int32_t newIndex, bool dynamicAdd);
    void PlaylistEntryMove(int32_t oldIndex, int32_t newIndex);

    // Host rules, song details and the song database
    bool SetExtenderCode(std::string extenderCode, std::string extenderRegKey) {
        return rules_.select(extenderCode, extenderRegKey);
    }
    Variant GetSongDetails(std::string fileName);
    bool SaveSongToDB(std::string fileName, bool updateEntry);

private:
    void reset();
    void buildSongList();
    void addSong(const std::string& song);
    bool step(int32_t start, int direction);
    void insertEntry(std::string entry, int32_t index);
    std::string titleOf(const std::string& song) const;
    HostRules* rules() { return rules_.active() ? &rules_ : nullptr; }

    std::string fileName_;
    Ref<Collection> entries_;  // absent until something is loaded or added
    Ref<Collection> songs_;    // absent until built
    bool shuffle_ = false;
    int16_t repeat_ = 0;
    bool readSongTitle_ = false;
    int32_t position_ = 0;
    ExtenderRules rules_;
    Ref<MediaLibrary> library_;  // made by the first SaveSongToDB that connects
};

}  // namespace zorbel::jukebox
