#include "jukebox/playlist.hpp"

#include "frame/class_builder.hpp"
#include "frame/text.hpp"
#include "frame/zorbel_classes.hpp"
#include "jukebox/extended_song_info.hpp"
#include "jukebox/playlist_file.hpp"
#include "platform/system/atomic_file.hpp"
#include "platform/system/file_ops.hpp"
#include "platform/system/find_files.hpp"
#include "platform/system/paths.hpp"
#include "platform/system/unique_id.hpp"
#include "platform/system/collection_ops.hpp"
#include "platform/system/host_info.hpp"
#include "platform/system/random.hpp"
#include "platform/system/registry_values.hpp"

namespace zorbel::jukebox {

namespace {

constexpr const char* kSettingsKey = "Software\\QUENDRA\\Brenwick\\Tools\\Sonvale";
constexpr const char* kLastPlaylistValue = "LastPlaylist";
constexpr int16_t kRepeatWrap = 2;

// Slot positions of members that other parts of the class fill in.
constexpr const char* kNoDetails = "Keine Details verfügbar!";

std::vector<std::string> textsOf(const Collection& c) {
    std::vector<std::string> out;
    for (const Variant& v : c.items().items()) out.push_back(v.toString());
    return out;
}

}  // namespace

const ClassInfo& Playlist::typeInfo() {
    using C = Playlist;
    static const ClassInfo info =
        ClassBuilder<C>("Playlist", zorbelIdentity("Playlist"))
            .method("LoadPlaylist", &C::LoadPlaylist, {"Filename", Param::opt("AddToList", false)})
            .method("NextSong", &C::NextSong)
            .method("PrevSong", &C::PrevSong)
            .property("LastPlaylist", &C::LastPlaylist, &C::setLastPlaylist)
            .property("Shuffle", &C::Shuffle, &C::setShuffle)
            .property("Repeat", &C::Repeat, &C::setRepeat)
            .method("GetCurrentSong", &C::GetCurrentSong, {"Filename", "Title"})
            .property("CurrentSongPos", &C::CurrentSongPos)
            .property("SongCount", &C::SongCount)
            .method("SavePlaylist", &C::SavePlaylist, {Param::opt("UpdateSongs", true)})
            .property("PlaylistEntryCount", &C::PlaylistEntryCount)
            .property("PlaylistEntry", &C::PlaylistEntry, {"Index"})
            .method("PlaylistEntryRemove", &C::PlaylistEntryRemove, {"Index"})
            .method("PlaylistEntryAdd", &C::PlaylistEntryAdd,
                    {"NewFile", Param::opt("NewIndex", 0), Param::opt("DynamicAdd", false)})
            .method("PlaylistEntryMove", &C::PlaylistEntryMove, {"OldIndex", "NewIndex"})
            .method("SetExtenderCode", &C::SetExtenderCode, {"ExtenderCode", "ExtenderRegKey"})
            .method("GetSongCol", &C::GetSongCol)
            .method("GotoSong", &C::GotoSong, {"NewSong"})
            .property("ReadSongTitle", &C::ReadSongTitle, &C::setReadSongTitle)
            .method("GetSongDetails", &C::GetSongDetails, {"Filename"})
            .method("SaveSongToDB", &C::SaveSongToDB, {"Filename", Param::opt("UpdateEntry", false)})
            .method("SaveFinalPlaylist", &C::SaveFinalPlaylist,
                    {Param::opt("OutputFile", ""), Param::opt("SeparatorFile", ""), Param::opt("UpdateSongs", false)})
            .build();
    return info;
}

Playlist::Playlist() { system::ensureRegistryKey(system::kHiveCurrentUser, kSettingsKey); }

Playlist::~Playlist() {
    reset();
    library_.reset();
}

void Playlist::reset() {
    fileName_.clear();
    entries_.reset();
    songs_.reset();
    position_ = 0;
}

bool Playlist::LoadPlaylist(std::string fileName, bool addToList) {
    if (!addToList) reset();
    if (!entries_) entries_ = makeCollection();
    if (!system::fileExists(fileName)) return false;
    for (std::string& entry : readPlaylistFile(fileName)) entries_->items().add(Variant(std::move(entry)));
    fileName_ = fileName;
    setLastPlaylist(fileName);
    return true;
}

void Playlist::SavePlaylist(bool updateSongs) {
    if (fileName_.empty()) throw Error::runtime(err::kPathFileAccessError);
    if (!entries_) throw Error::runtime(err::kObjectNotSet);
    system::replaceFileAtomically(fileName_, formatPlaylist(textsOf(*entries_)));
    if (updateSongs) buildSongList();
}

void Playlist::SaveFinalPlaylist(std::string outputFile, std::string separatorFile, bool updateSongs) {
    if (outputFile.empty()) outputFile = fileName_;
    if (updateSongs) buildSongList();
    if (!songs_) throw Error::runtime(err::kObjectNotSet);
    if (outputFile.empty()) throw Error::runtime(err::kPathFileAccessError);
    std::vector<std::string> lines;
    for (std::string& song : textsOf(*songs_)) {
        lines.push_back(std::move(song));
        if (!separatorFile.empty()) lines.push_back(separatorFile);
    }
    system::replaceFileAtomically(outputFile, formatPlaylist(lines));
}

std::string Playlist::LastPlaylist() {
    return system::readRegistryValue(system::kHiveCurrentUser, kSettingsKey, kLastPlaylistValue, "");
}

void Playlist::setLastPlaylist(std::string value) {
    system::writeRegistryValue(system::kHiveCurrentUser, kSettingsKey, kLastPlaylistValue, value);
}

void Playlist::buildSongList() {
    if (!entries_) return;
    songs_ = makeCollection();
    for (const std::string& entry : textsOf(*entries_)) {
        if (!isCommandEntry(entry)) {
            addSong(entry);
            continue;
        }
        std::optional<DynamicEntry> dynamic = dynamicEntry(entry);
        if (!dynamic) continue;
        Ref<Collection> found = system::findFiles(system::folderPart(dynamic->search),
                                                  system::fileNamePart(dynamic->search),
                                                  dynamic->includeSubfolders);
        for (const std::string& song : textsOf(*found)) addSong(song);
    }
    if (songs_->Count() == 0 && entries_->Count() > 0 && rules()) rules()->onNoSongs();
    if (shuffle_) system::shuffleCollection(songs_);
    position_ = 0;
}

void Playlist::addSong(const std::string& song) {
    int copies = rules() ? rules()->copiesOf(song) : 1;
    for (int i = 0; i < copies; ++i) songs_->items().add(Variant(song));
}

void Playlist::setShuffle(bool value) {
    if (value == shuffle_) return;
    shuffle_ = value;
    if (!songs_) buildSongList();
}

bool Playlist::step(int32_t start, int direction) {
    if (!songs_) buildSongList();
    if (!songs_ || songs_->Count() == 0) return false;
    if (start == -1) start = position_;
    const int32_t count = songs_->Count();
    int32_t position = start;
    bool firstTry = true;
    for (;;) {
        position += direction;
        if (position > count) {
            if (repeat_ != kRepeatWrap) return false;
            position = 1;
        } else if (position < 1) {
            if (repeat_ != kRepeatWrap) return false;
            position = count;
        }
        if (position == start) return false;
        if (position == 1 && start == 0 && !firstTry) return false;
        if (system::fileExists(songs_->items().at(static_cast<size_t>(position)).toString())) {
            position_ = position;
            return true;
        }
        firstTry = false;
    }
}

bool Playlist::GetCurrentSong(std::string& fileName, std::string& title) {
    if (!entries_) return false;
    if (!songs_) buildSongList();
    if (!songs_ || songs_->Count() == 0) return false;
    if (position_ == 0) step(position_, +1);
    if (position_ == 0) return false;
    fileName = songs_->items().at(static_cast<size_t>(position_)).toString();
    title = titleOf(fileName);
    if (rules()) rules()->markPlayed(fileName);
    return true;
}

std::string Playlist::titleOf(const std::string& song) const {
    std::string extension = text::toLower(system::fileExtension(song));
    std::string title = system::fileNamePart(song);
    if (!extension.empty()) title = text::cutRight(title, text::length(extension) + 1);
    if (!readSongTitle_) return title;
    std::string kind = text::trim(extension);
    auto info = makeRef<ExtendedSongInfo>();
    if (kind == "mp3") {
        if (info->ReadInfo(song, sftMP3)) {
            if (!info->Title().empty()) title = info->Title();
            if (!info->Artist().empty()) title = "(" + info->Artist() + ") - " + title;
        }
    } else if (kind == "mod" || kind == "xm" || kind == "s3m" || kind == "it") {
        if (info->ReadInfo(song, sftModule) && !info->Title().empty()) title = info->Title();
    }
    return title;
}

std::string Playlist::PlaylistEntry(int32_t index) const {
    if (!entries_) return {};
    return entries_->items().item(Variant(index)).toString();
}

void Playlist::PlaylistEntryRemove(int32_t index) {
    if (entries_) entries_->items().remove(Variant(index));
}

void Playlist::insertEntry(std::string entry, int32_t index) {
    KeyedCollection& list = entries_->items();
    const int32_t count = static_cast<int32_t>(list.count());
    if (index < 0) index = 1;
    if (index > count + 1) index = 0;
    if (index == 1 && count > 0) {
        list.add(Variant(std::move(entry)), std::nullopt, Variant(1));
    } else if (index == 0 || index >= count + 1 || count == 0) {
        list.add(Variant(std::move(entry)));
    } else {
        list.add(Variant(std::move(entry)), std::nullopt, Variant(), Variant(index - 1));
    }
}

void Playlist::PlaylistEntryAdd(std::string newFile, int32_t newIndex, bool dynamicAdd) {
    if (!entries_) entries_ = makeCollection();
    insertEntry(newFile, newIndex);
    if (!dynamicAdd || !system::fileExists(newFile)) return;
    if (!songs_) throw Error::runtime(err::kObjectNotSet);
    KeyedCollection& songs = songs_->items();
    if (!shuffle_ || songs.empty()) {
        // An empty song list has no random place to draw from: the song simply goes in.
        songs.add(Variant(newFile));
        return;
    }
    int32_t place = system::randomInteger(1, static_cast<int32_t>(songs.count()));
    songs.add(Variant(newFile), std::nullopt, Variant(place));
}

void Playlist::PlaylistEntryMove(int32_t oldIndex, int32_t newIndex) {
    if (!entries_ || oldIndex == newIndex) return;
    std::string entry = entries_->items().item(Variant(oldIndex)).toString();
    entries_->items().remove(Variant(oldIndex));
    if (newIndex > oldIndex) --newIndex;
    insertEntry(std::move(entry), newIndex);
}

Variant Playlist::GetSongDetails(std::string fileName) {
    std::string details = system::fileDetailsText(fileName);
    if (details.empty() && text::toLower(text::trim(system::fileExtension(fileName))) == "mp3") {
        auto info = makeRef<ExtendedSongInfo>();
        if (info->ReadInfo(fileName, sftMP3)) {
            auto line = [&](const char* label, const std::string& value) {
                if (!value.empty()) details += label + value + "\r\n";
            };
            line("Titel: ", info->Title());
            line("Interpret: ", info->Artist());
            line("Album: ", info->Album().toString());
            line("Jahr: ", info->Year());
        }
    }
    return Variant(details.empty() ? std::string(kNoDetails) : details);
}

bool Playlist::SaveSongToDB(std::string fileName, bool updateEntry) {
    if (!library_) {
        auto library = makeRef<MediaLibrary>();
        if (!library->Connect()) return false;
        library_ = library;
    }
    MusicEntry found;
    bool exists = library_->GetEntryByFile(fileName, found);
    if (exists && !updateEntry) return false;

    MusicEntry entry;
    entry.MediaType = kMediaTypeSongFile;
    entry.MediaLocation = fileName;
    std::string extension = text::toLower(text::trim(system::fileExtension(fileName)));
    auto info = makeRef<ExtendedSongInfo>();
    if (extension == "mp3") {
        if (info->ReadInfo(fileName, sftMP3)) {
            entry.Title = info->Title();
            entry.Artist = info->Artist();
            entry.Genre = info->Genre();
            entry.Album = info->Album().toString();
            entry.Year = convert::toInteger(text::leadingNumber(info->Year()));
        } else {
            entry.Title = text::cutRight(system::fileNamePart(fileName), text::length(system::fileExtension(fileName)) + 1);
        }
    } else if (extension == "mod" || extension == "it" || extension == "xm") {
        if (info->ReadInfo(fileName, sftModule)) entry.Title = info->Title();
    }

    if (!exists) {
        entry.ID = system::newUniqueId();
        entry.MediaID = system::newUniqueId();
        library_->Add(entry);
        return true;
    }
    library_->GoToEntry(found.ID);
    std::pair<const char*, Variant> columns[] = {
        {"Title", Variant(entry.Title)},           {"Artist", Variant(entry.Artist)},
        {"Genre", Variant(std::to_string(entry.Genre))}, {"Album", Variant(entry.Album)},
        {"Year", Variant::integer(entry.Year)},     {"MediaLocation", Variant(entry.MediaLocation)},
    };
    for (auto& [column, value] : columns) library_->SetEntryData(column, value);
    // The caller is told the row was updated, so the update is stored before that answer.
    library_->storePendingChanges();
    return true;
}

}  // namespace zorbel::jukebox
