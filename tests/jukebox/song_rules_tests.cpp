// Extender codes, played marks, rating weights, song details and storing songs in the song
// database.

#include <gtest/gtest.h>

#include <map>

#include "jukebox/id3v1_tag.hpp"
#include "jukebox/media_library.hpp"
#include "jukebox/playlist.hpp"
#include "frame/text.hpp"
#include "platform/system/host_info.hpp"
#include "platform/system/paths.hpp"
#include "platform/system/registry_values.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::jukebox {
namespace {

using zorbel::testing::TempFolder;
using zorbel::testing::writeFile;

constexpr const char* kKey = "SOFTWARE\\Host\\Extender";

std::map<std::string, int> countSongs(Playlist& p) {
    std::map<std::string, int> counts;
    for (const Variant& v : p.GetSongCol()->items().items()) ++counts[system::fileNamePart(v.toString())];
    return counts;
}

class SongRules : public ::testing::Test {
protected:
    TempFolder folder;
    Ref<Playlist> playlist = makeRef<Playlist>();
    std::string song(const std::string& name) {
        writeFile(folder / name, "audio");
        return (folder / name).string();
    }
    std::string list(const std::vector<std::string>& songs) {
        std::string content;
        for (const std::string& s : songs) content += s + "\r\n";
        writeFile(folder / "l.m3u", content);
        return (folder / "l.m3u").string();
    }
    void rate(const std::string& fileName, const std::string& rating) {
        system::writeRegistryValue(system::kHiveLocalMachine, std::string(kKey) + "\\" + fileName,
                                   "Rating" + system::ratingNameSuffix(), rating);
    }
};

TEST_F(SongRules, ExtenderCodesAreExact) {
    EXPECT_FALSE(playlist->SetExtenderCode("Kelmar-Player", kKey));
    EXPECT_FALSE(playlist->SetExtenderCode("", kKey));
    EXPECT_TRUE(playlist->SetExtenderCode("kelmar-player", "first"));
    EXPECT_TRUE(playlist->SetExtenderCode("torvik-hub", kKey));
    // Both rules now use the second key: a song rated 4 there, played marks there.
    std::string a = song("a.mp3");
    rate("a.mp3", "4");
    ASSERT_TRUE(playlist->LoadPlaylist(list({a}), false));
    playlist->SavePlaylist(true);
    EXPECT_EQ(playlist->SongCount(), 4);
}

TEST_F(SongRules, RatingWeights) {
    ASSERT_TRUE(playlist->SetExtenderCode("kelmar-player", kKey));
    std::vector<std::string> songs;
    for (const char* name : {"r0.mp3", "r2.mp3", "r3.mp3", "r4.mp3", "r9.mp3", "neg.mp3", "unrated.mp3"})
        songs.push_back(song(name));
    rate("r0.mp3", "0");
    rate("r2.mp3", "2");
    rate("r3.mp3", "3");
    rate("r4.mp3", "4.4");
    rate("r9.mp3", "9");
    rate("neg.mp3", "-7");
    ASSERT_TRUE(playlist->LoadPlaylist(list(songs), false));
    playlist->SavePlaylist(true);
    std::map<std::string, int> expected = {{"r2.mp3", 1}, {"r3.mp3", 2}, {"r4.mp3", 4},
                                           {"r9.mp3", 1}, {"neg.mp3", 1}, {"unrated.mp3", 1}};
    EXPECT_EQ(countSongs(*playlist), expected);
    // Rating 1 keeps a song about half of the time.
    int kept = 0;
    for (int i = 0; i < 400; ++i) kept += ExtenderRules::copiesForRating(1);
    EXPECT_GT(kept, 120);
    EXPECT_LT(kept, 280);
}

TEST_F(SongRules, PlayedMarksPlayEverySongOnceThenStartAgain) {
    ASSERT_TRUE(playlist->SetExtenderCode("torvik-hub", kKey));
    std::string a = song("A.mp3"), b = song("b.mp3");
    ASSERT_TRUE(playlist->LoadPlaylist(list({a, b}), false));
    std::string name, title;
    ASSERT_TRUE(playlist->GetCurrentSong(name, title));
    EXPECT_EQ(system::readRegistryValue(system::kHiveLocalMachine, kKey, text::toLower(a), "0"), "1");
    playlist->SavePlaylist(true);  // a is played: only b is left
    EXPECT_EQ(countSongs(*playlist), (std::map<std::string, int>{{"b.mp3", 1}}));
    ASSERT_TRUE(playlist->GetCurrentSong(name, title));
    playlist->SavePlaylist(true);  // everything played: an empty list, and the marks are cleared
    EXPECT_EQ(playlist->SongCount(), 0);
    EXPECT_TRUE(system::readRegistryValue(system::kHiveLocalMachine, kKey, text::toLower(b), "none") == "none");
    playlist->SavePlaylist(true);
    EXPECT_EQ(playlist->SongCount(), 2);
}

TEST_F(SongRules, SongDetails) {
    std::string full = song("full.mp3"), titleOnly = song("title.mp3"), plain = song("plain.mp3");
    std::string other = song("other.ogg");
    Id3v1Fields tag;
    tag.title = "T";
    ASSERT_TRUE(writeTag(titleOnly, tag));
    tag.artist = "A";
    tag.album = "Al";
    tag.year = "1999";
    ASSERT_TRUE(writeTag(full, tag));
    EXPECT_EQ(playlist->GetSongDetails(full), Variant("Titel: T\r\nInterpret: A\r\nAlbum: Al\r\nJahr: 1999\r\n"));
    EXPECT_EQ(playlist->GetSongDetails(titleOnly), Variant("Titel: T\r\n"));
    for (const std::string& f : {plain, other, (folder / "missing.mp3").string()})
        EXPECT_EQ(playlist->GetSongDetails(f), Variant("Keine Details verfügbar!")) << f;
}

TEST_F(SongRules, SaveSongToDatabaseAddsOnceAndUpdatesOnRequest) {
    std::string tagged = song("Tagged.MP3"), untagged = song("No Tag.mp3"), module = song("tune.s3m");
    Id3v1Fields tag;
    tag.title = "First";
    tag.artist = "Artist";
    tag.year = "1987";
    tag.genre = 17;
    ASSERT_TRUE(writeTag(tagged, tag));
    EXPECT_TRUE(playlist->SaveSongToDB(tagged, false));
    EXPECT_FALSE(playlist->SaveSongToDB(tagged, false));
    EXPECT_TRUE(playlist->SaveSongToDB(untagged, false));
    EXPECT_TRUE(playlist->SaveSongToDB(module, false));
    tag.title = "Second";
    ASSERT_TRUE(writeTag(tagged, tag));
    EXPECT_TRUE(playlist->SaveSongToDB(tagged, true));

    auto library = makeRef<MediaLibrary>();
    ASSERT_TRUE(library->Connect());
    EXPECT_EQ(library->ListEntries()->Count(), 3);
    MusicEntry e;
    ASSERT_TRUE(library->GetEntryByFile(tagged, e));
    EXPECT_EQ(e.Title, "Second");
    EXPECT_EQ(e.Artist, "Artist");
    EXPECT_EQ(e.Year, 1987);
    EXPECT_EQ(e.Genre, 17);
    EXPECT_EQ(e.MediaType, 1);
    EXPECT_FALSE(e.MediaID.empty());
    ASSERT_TRUE(library->GetEntryByFile(untagged, e));
    EXPECT_EQ(e.Title, "No Tag");
    MusicEntry m;
    ASSERT_TRUE(library->GetEntryByFile(module, m));
    EXPECT_EQ(m.Title, "");
}

}  // namespace
}  // namespace zorbel::jukebox
