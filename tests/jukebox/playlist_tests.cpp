#include <gtest/gtest.h>

#include "tests/support/errors.hpp"

#include <set>

#include "frame/zorbel_library.hpp"
#include "jukebox/id3v1_tag.hpp"
#include "jukebox/playlist.hpp"
#include "jukebox/playlist_file.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::jukebox {
namespace {

using zorbel::testing::readFile;
using zorbel::testing::TempFolder;
using zorbel::testing::writeFile;

using zorbel::testing::errorOf;

std::vector<std::string> entriesOf(Playlist& p) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= p.PlaylistEntryCount(); ++i) out.push_back(p.PlaylistEntry(i));
    return out;
}

std::vector<std::string> songsOf(Playlist& p) {
    std::vector<std::string> out;
    for (const Variant& v : p.GetSongCol()->items().items()) out.push_back(v.toString());
    return out;
}

TEST(PlaylistFile, LinesCommentsAndLineEnds) {
    std::string bytes = "# comment\r\n\r\n  song one.mp3  \r  #not a comment\rlf\ninside\r\n   \r\nlast";
    std::vector<std::string> expected = {"song one.mp3", "#not a comment", "lf\ninside", "", "last"};
    EXPECT_EQ(parsePlaylist(bytes), expected);
    EXPECT_EQ(parsePlaylist(std::string_view("a\0b\r\xE4\r\n", 7)), (std::vector<std::string>{std::string("a\0b", 3), "ä"}));
    EXPECT_TRUE(parsePlaylist("").empty());
    std::string longLine(3 * 1024 * 1024, 'x');
    EXPECT_EQ(parsePlaylist(longLine + "\r\n").at(0).size(), longLine.size());
}

TEST(PlaylistFile, CommandAndDynamicEntries) {
    struct Case {
        const char* entry;
        bool command;
        bool dynamic;
        const char* search;
        bool subfolders;
    } cases[] = {
        {"!cmd_dynentr:/m/*.mp3+", true, true, "/m/*.mp3", true},
        {"!cmd_DYNENTR:/m/*.mp3", true, true, "/m/*.mp3", false},
        {"!cmd_dynentr:", true, false, "", false},
        {"!cmd_dynentr:x", true, true, "x", false},
        {"!cmd_other", true, false, "", false},
        {"!CMD_dynentr:/m/*", false, false, "", false},
        {"!cmd_", false, false, "", false},
        {"song.mp3", false, false, "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isCommandEntry(c.entry), c.command) << c.entry;
        auto dynamic = dynamicEntry(c.entry);
        ASSERT_EQ(dynamic.has_value(), c.dynamic) << c.entry;
        if (dynamic) {
            EXPECT_EQ(dynamic->search, c.search);
            EXPECT_EQ(dynamic->includeSubfolders, c.subfolders);
        }
    }
}

class PlaylistTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string song(const std::string& name) {
        writeFile(folder / name, "audio");
        return (folder / name).string();
    }
    std::string list(const std::string& name, const std::string& content) {
        writeFile(folder / name, content);
        return (folder / name).string();
    }
    Ref<Playlist> playlist = makeRef<Playlist>();
};

TEST_F(PlaylistTest, LoadsEntriesAndExpandsDynamicEntries) {
    song("music/a.mp3");
    song("music/b.MP3");
    song("music/notes.txt");
    song("music/sub/c.mp3");
    std::string file = list("list.m3u", "# mine\r\n\r\n  " + (folder / "x.mp3").string() + "  \r\n!cmd_dynentr:" +
                                            (folder / "music").string() + "/*.mp3+\r\n");
    ASSERT_TRUE(playlist->LoadPlaylist(file, false));
    EXPECT_EQ(playlist->PlaylistEntryCount(), 2);
    EXPECT_EQ(playlist->SongCount(), 0);  // built on first need
    EXPECT_EQ(playlist->LastPlaylist(), file);
    std::string name, title;
    ASSERT_TRUE(playlist->GetCurrentSong(name, title));
    EXPECT_EQ(name, (folder / "music/a.mp3").string());  // x.mp3 does not exist and is skipped
    EXPECT_EQ(title, "a");
    std::vector<std::string> expected = {(folder / "x.mp3").string(), (folder / "music/a.mp3").string(),
                                         (folder / "music/b.MP3").string(), (folder / "music/sub/c.mp3").string()};
    EXPECT_EQ(songsOf(*playlist), expected);
}

TEST_F(PlaylistTest, MissingFileResetsOnlyInReplaceMode) {
    std::string first = list("one.m3u", "a\r\nb\r\n");
    ASSERT_TRUE(playlist->LoadPlaylist(first, false));
    EXPECT_FALSE(playlist->LoadPlaylist((folder / "none.m3u").string(), true));
    EXPECT_EQ(playlist->PlaylistEntryCount(), 2);
    EXPECT_FALSE(playlist->LoadPlaylist((folder / "none.m3u").string(), false));
    EXPECT_EQ(playlist->PlaylistEntryCount(), 0);
    EXPECT_FALSE(playlist->LoadPlaylist(folder.path().string(), false));  // a folder is no playlist
    EXPECT_EQ(errorOf([&] { playlist->SavePlaylist(true); }), err::kPathFileAccessError);
}

TEST_F(PlaylistTest, AddModeAppendsAndSavesIntoTheLastFile) {
    std::string first = list("one.m3u", "#c\r\na\r\n");
    std::string second = list("two.m3u", "b\r\n");
    Ref<Playlist> fresh = makeRef<Playlist>();
    ASSERT_TRUE(fresh->LoadPlaylist(first, true));  // add mode on a new object
    ASSERT_TRUE(fresh->LoadPlaylist(second, true));
    fresh->SavePlaylist(false);
    EXPECT_EQ(readFile(second), "a\r\nb\r\n");
    EXPECT_EQ(readFile(first), "#c\r\na\r\n");
}

TEST_F(PlaylistTest, FinalPlaylistWithSeparators) {
    std::string a = song("a.mp3"), b = song("b.mp3");
    std::string file = list("l.m3u", a + "\r\n" + b + "\r\n");
    ASSERT_TRUE(playlist->LoadPlaylist(file, false));
    EXPECT_EQ(errorOf([&] { playlist->SaveFinalPlaylist((folder / "out.m3u").string(), "", false); }),
              err::kObjectNotSet);
    EXPECT_FALSE(std::filesystem::exists(folder / "out.m3u"));
    playlist->SaveFinalPlaylist((folder / "out.m3u").string(), "/sep.wav", true);
    EXPECT_EQ(readFile(folder / "out.m3u"), a + "\r\n/sep.wav\r\n" + b + "\r\n/sep.wav\r\n");
    playlist->SaveFinalPlaylist("", "", false);
    EXPECT_EQ(readFile(file), a + "\r\n" + b + "\r\n");
}

TEST_F(PlaylistTest, SaveFailureLeavesTheOldFile) {
    std::string file = list("keep/l.m3u", "old\r\n");
    ASSERT_TRUE(playlist->LoadPlaylist(file, false));
    playlist->PlaylistEntryAdd("new", 0, false);
    std::filesystem::remove(folder / "keep/l.m3u");
    std::filesystem::create_directory(folder / "keep/l.m3u");  // the target is now a folder
    EXPECT_NE(errorOf([&] { playlist->SavePlaylist(false); }), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "keep/l.m3u"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "keep"), {}), 1);  // no temp left
}

struct StepCase {
    const char* name;
    std::vector<bool> present;
    int16_t repeat;
    int32_t current;  // made current with GotoSong first (0: none)
    char op;          // 'n' next, 'p' prev, 'g' goto
    int32_t arg;
    bool result;
    int32_t after;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class Navigation : public PlaylistTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(Navigation, Steps) {
    const StepCase& c = GetParam();
    std::string content;
    for (size_t i = 0; i < c.present.size(); ++i) {
        std::string path = (folder / ("s" + std::to_string(i + 1) + ".mp3")).string();
        if (c.present[i]) song("s" + std::to_string(i + 1) + ".mp3");
        content += path + "\r\n";
    }
    ASSERT_TRUE(playlist->LoadPlaylist(list("l.m3u", content), false));
    if (c.current) {
        ASSERT_TRUE(playlist->GotoSong(c.current));
    }
    playlist->setRepeat(c.repeat);
    bool result = c.op == 'n' ? playlist->NextSong() : c.op == 'p' ? playlist->PrevSong() : playlist->GotoSong(c.arg);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(playlist->CurrentSongPos(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Navigation,
    ::testing::Values(StepCase{"EndStops", {1, 1, 1}, 0, 3, 'n', 0, false, 3},
                      StepCase{"EndWraps", {1, 1, 1}, 2, 3, 'n', 0, true, 1},
                      StepCase{"StartStops", {1, 1, 1}, 0, 1, 'p', 0, false, 1},
                      StepCase{"StartWraps", {1, 1, 1}, 2, 1, 'p', 0, true, 3},
                      StepCase{"OnlyOnePlayable", {0, 1, 0}, 2, 2, 'n', 0, false, 2},
                      StepCase{"GotoSkipsMissing", {1, 0, 1}, 0, 0, 'g', 2, true, 3},
                      StepCase{"GotoZeroIsNext", {1, 1, 1}, 0, 1, 'g', 0, true, 2},
                      StepCase{"GotoBeyondStops", {1, 1, 1}, 0, 0, 'g', 5, false, 0},
                      StepCase{"GotoBeyondWraps", {0, 1, 1}, 2, 0, 'g', 5, true, 2},
                      StepCase{"NothingPlayable", {0, 0}, 2, 0, 'n', 0, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlaylistTest, EntryMovesAndAdds) {
    struct Move {
        int32_t from, to;
        const char* expected;
    } moves[] = {{1, 3, "BACD"}, {1, 5, "BCDA"}, {4, 1, "DABC"}, {1, 0, "BCDA"}, {1, 10, "BCDA"}, {2, -3, "BACD"}};
    for (const Move& m : moves) {
        Ref<Playlist> p = makeRef<Playlist>();
        for (const char* e : {"A", "B", "C", "D"}) p->PlaylistEntryAdd(e, 0, false);
        p->PlaylistEntryMove(m.from, m.to);
        std::string order;
        for (const std::string& e : entriesOf(*p)) order += e;
        EXPECT_EQ(order, m.expected) << m.from << "->" << m.to;
    }
    Ref<Playlist> p = makeRef<Playlist>();
    p->PlaylistEntryAdd("b", 0, false);
    p->PlaylistEntryAdd("a", 1, false);
    p->PlaylistEntryAdd("front", -5, false);
    p->PlaylistEntryAdd("end", 99, false);
    p->PlaylistEntryAdd("mid", 3, false);
    EXPECT_EQ(entriesOf(*p), (std::vector<std::string>{"front", "a", "mid", "b", "end"}));
    EXPECT_EQ(errorOf([&] { p->PlaylistEntry(6); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { p->PlaylistEntryRemove(0); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { p->PlaylistEntryMove(9, 1); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(p->PlaylistEntryCount(), 5);
}

TEST_F(PlaylistTest, DynamicAddPlacesTheSongAtOnce) {
    std::string a = song("a.mp3"), b = song("b.mp3"), c = song("c.mp3");
    EXPECT_EQ(errorOf([&] { playlist->PlaylistEntryAdd(a, 0, true); }), err::kObjectNotSet);
    EXPECT_EQ(playlist->PlaylistEntryCount(), 1);  // the entry went in before the failure
    ASSERT_TRUE(playlist->GotoSong(1));           // builds the song list
    playlist->PlaylistEntryAdd(b, 1, true);
    EXPECT_EQ(songsOf(*playlist), (std::vector<std::string>{a, b}));  // appended, whatever the entry index
    playlist->PlaylistEntryAdd((folder / "missing.mp3").string(), 0, true);
    EXPECT_EQ(playlist->SongCount(), 2);  // only existing files join the song list
    playlist->setShuffle(true);           // the list exists: it keeps its order
    EXPECT_EQ(songsOf(*playlist), (std::vector<std::string>{a, b}));
    playlist->PlaylistEntryAdd(c, 0, true);
    std::vector<std::string> songs = songsOf(*playlist);
    ASSERT_EQ(songs.size(), 3u);
    EXPECT_NE(songs.back(), c);  // drawn into positions 1..2, never appended
    EXPECT_EQ(playlist->CurrentSongPos(), 1);
    EXPECT_EQ(playlist->PlaylistEntryCount(), 4);
}

TEST_F(PlaylistTest, TitlesFromNamesAndTags) {
    std::string plain = song("Plain Song");
    std::string upper = song("Tagged.MP3");
    std::string artistOnly = song("Only Artist.mp3");
    Id3v1Fields tag;
    tag.title = "Real Title";
    tag.artist = "Band";
    ASSERT_TRUE(writeTag(upper, tag));
    tag.title.clear();
    ASSERT_TRUE(writeTag(artistOnly, tag));
    ASSERT_TRUE(playlist->LoadPlaylist(list("l.m3u", plain + "\r\n" + upper + "\r\n" + artistOnly + "\r\n"), false));
    std::vector<std::string> titles;
    for (bool readTags : {false, true}) {
        playlist->setReadSongTitle(readTags);
        for (int32_t i = 1; i <= 3; ++i) {
            ASSERT_TRUE(playlist->GotoSong(i));
            std::string name, title;
            ASSERT_TRUE(playlist->GetCurrentSong(name, title));
            titles.push_back(title);
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Plain Song", "Tagged", "Only Artist", "Plain Song",
                                                "(Band) - Real Title", "(Band) - Only Artist"}));
}

TEST_F(PlaylistTest, ShuffleKeepsTheSongsAndRebuildsAtOnceWhenAbsent) {
    std::string content;
    for (int i = 0; i < 30; ++i) content += "s" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(playlist->LoadPlaylist(list("l.m3u", content), false));
    playlist->setShuffle(true);
    EXPECT_EQ(playlist->SongCount(), 30);  // built by the change
    std::vector<std::string> shuffled = songsOf(*playlist);
    std::multiset<std::string> same(shuffled.begin(), shuffled.end());
    EXPECT_EQ(same.size(), 30u);
    EXPECT_EQ(same.count("s7"), 1u);
    playlist->SavePlaylist(true);
    EXPECT_NE(songsOf(*playlist), shuffled);  // a fresh order (30! orders: equal is practically impossible)
    Ref<Playlist> fresh = makeRef<Playlist>();
    EXPECT_EQ(fresh->GetSongCol()->Count(), 0);
    EXPECT_EQ(fresh->SongCount(), 0);
}

TEST_F(PlaylistTest, ScriptableThroughTheClassTable) {
    Ref<Object> p = zorbelLibrary().create(*zorbelLibrary().findByProgId("ZorbelKit.Playlist"));
    EXPECT_EQ(p->invoke("LoadPlaylist", com::kMethod, {Variant(list("l.m3u", song("a.mp3") + "\r\n"))}), Variant(true));
    Args args = {Variant(""), Variant("")};
    EXPECT_EQ(invokeDispatch(p.get(), "GetCurrentSong", com::kMethod, args), Variant(true));
    EXPECT_EQ(args[1], Variant("a"));
    EXPECT_EQ(p->invoke("PlaylistEntry", com::kGet, {Variant(1)}), Variant((folder / "a.mp3").string()));
}

}  // namespace
}  // namespace zorbel::jukebox
