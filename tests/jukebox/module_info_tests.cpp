// Song data of tracker modules: ExtendedSongInfo's module read, and the titles the playlist
// and the song database take from it.

#include <gtest/gtest.h>

#include <cstdlib>

#include "frame/collection_object.hpp"
#include "jukebox/extended_song_info.hpp"
#include "jukebox/id3v1_tag.hpp"
#include "jukebox/media_library.hpp"
#include "jukebox/music_entry.hpp"
#include "jukebox/playlist.hpp"
#include "playback/midas.hpp"
#include "tests/support/module_fixture.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::jukebox {
namespace {

using testing::ModuleSpec;

class ModuleInfoTest : public ::testing::Test {
protected:
    std::string module(const std::string& file, const ModuleSpec& spec) {
        return testing::writeModuleFile(folder / file, spec);
    }
    // A song database of the test's own.
    void SetUp() override { setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1); }
    void TearDown() override { EXPECT_EQ(playback::midasUserCount(), 0); }
    testing::TempFolder folder;
    Ref<ExtendedSongInfo> info = makeRef<ExtendedSongInfo>();
};

Ref<Collection> samplesOf(ExtendedSongInfo& info) { return objectAs<Collection>(Variant(info.Samples)); }

TEST_F(ModuleInfoTest, ReadsTheModulesFacts) {
    ModuleSpec spec;
    spec.title = "Tune";
    spec.channels = 8;
    spec.patterns = 20;
    spec.orders.clear();
    for (int i = 0; i < 30; ++i) spec.orders.push_back(static_cast<uint8_t>(i % 20));
    spec.sampleNames = {"Kick", "Sn\xE4re"};
    ASSERT_TRUE(info->ReadInfo(module("t.mod", spec), sftModule));
    EXPECT_EQ(info->Title(), "Tune");  // cut at the NUL
    EXPECT_EQ(info->Channels(), 8);
    EXPECT_EQ(info->Patterns(), 20);
    EXPECT_EQ(info->Length(), 30);
    Ref<Collection> samples = samplesOf(*info);
    ASSERT_TRUE(samples);
    ASSERT_EQ(samples->Count(), 31);
    // Whole 32-character fields, NULs included.
    EXPECT_EQ(samples->Item(Variant(1)).toString(), "Kick" + std::string(28, '\0'));
    EXPECT_EQ(samples->Item(Variant(2)).toString(), "Sn\u00E4re" + std::string(27, '\0'));
    EXPECT_EQ(samples->Item(Variant(31)).toString(), std::string(32, '\0'));
}

TEST_F(ModuleInfoTest, NonModulesLeaveEverythingAsItWas) {
    ModuleSpec spec;
    ASSERT_TRUE(info->ReadInfo(module("a.mod", spec), sftModule));
    Ref<Collection> before = samplesOf(*info);
    for (const std::string& bytes : {std::string("not a module"), std::string()}) {
        testing::writeFile(folder / "x.mod", bytes);
        EXPECT_FALSE(info->ReadInfo((folder / "x.mod").string(), sftModule));
    }
    EXPECT_FALSE(info->ReadInfo((folder / "missing.xm").string(), sftModule));
    EXPECT_EQ(samplesOf(*info).get(), before.get());
    EXPECT_EQ(info->Title(), "Test Song");
}

TEST_F(ModuleInfoTest, ModuleReadKeepsTheTagFields) {
    const std::string mp3 = (folder / "s.mp3").string();
    testing::writeFile(mp3, std::string(1000, '\0'));
    Id3v1Fields tag;
    tag.title = "Mp3 Title";
    tag.artist = "Artist";
    tag.album = "Album";
    tag.year = "1999";
    tag.comment = "Note";
    tag.genre = 17;
    ASSERT_TRUE(writeTag(mp3, tag));
    ASSERT_TRUE(info->ReadInfo(mp3, sftMP3));
    ModuleSpec spec;
    spec.title = "Mod Title";
    ASSERT_TRUE(info->ReadInfo(module("m.mod", spec), sftModule));
    EXPECT_EQ(info->Title(), "Mod Title");
    EXPECT_EQ(info->Artist(), "Artist");
    EXPECT_EQ(info->Album(), Variant("Album"));
    EXPECT_EQ(info->Year(), "1999");
    EXPECT_EQ(info->Comment(), "Note");
    EXPECT_EQ(info->Genre(), 17);
}

TEST_F(ModuleInfoTest, PlaylistAndSongDatabaseTakeModuleTitles) {
    ModuleSpec spec;
    spec.title = "Chip Tune";
    const std::string mod = module("song.mod", spec);
    testing::writeFile(folder / "l.m3u", mod + "\r\n");
    auto playlist = makeRef<Playlist>();
    ASSERT_TRUE(playlist->LoadPlaylist((folder / "l.m3u").string(), false));
    playlist->setReadSongTitle(true);
    std::string name, title;
    ASSERT_TRUE(playlist->GetCurrentSong(name, title));
    EXPECT_EQ(title, "Chip Tune");

    EXPECT_TRUE(playlist->SaveSongToDB(mod, false));
    auto library = makeRef<MediaLibrary>();
    ASSERT_TRUE(library->Connect());
    MusicEntry entry;
    ASSERT_TRUE(library->GetEntryByFile(mod, entry));
    EXPECT_EQ(entry.Title, "Chip Tune");
}

}  // namespace
}  // namespace zorbel::jukebox
