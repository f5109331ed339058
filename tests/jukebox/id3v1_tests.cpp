#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>

#include <filesystem>

#include "frame/zorbel_library.hpp"
#include "jukebox/extended_song_info.hpp"
#include "jukebox/id3v1_tag.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::jukebox {
namespace {

using zorbel::testing::readFile;
using zorbel::testing::TempFolder;
using zorbel::testing::writeFile;

// A 128-byte tag from raw field bytes, each padded with NULs to its width.
std::string tag(std::string title, std::string artist, std::string album, std::string year, std::string comment,
                uint8_t genre, char pad = ' ') {
    auto field = [&](std::string s, size_t width) {
        s.resize(width, pad);
        return s;
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) + field(comment, 30) +
           std::string(1, static_cast<char>(genre));
}

Ref<ExtendedSongInfo> songInfo() { return makeRef<ExtendedSongInfo>(); }

class Id3v1 : public ::testing::Test {
protected:
    TempFolder folder;
    std::string file(const std::string& name, const std::string& bytes) {
        writeFile(folder / name, bytes);
        return (folder / name).string();
    }
};

TEST_F(Id3v1, ReadsFieldsCutAtNulAndTrailingSpaces) {
    std::string audio(1000, '\x55');
    std::string path = file("a.mp3", audio + tag("Song", "  Artist ", "Alb\xE4", "    ", "c", 255, ' '));
    auto info = songInfo();
    ASSERT_TRUE(info->ReadInfo(path, sftMP3));
    EXPECT_EQ(info->Title(), "Song");
    EXPECT_EQ(info->Artist(), "  Artist");
    EXPECT_EQ(info->Album(), Variant("Albä"));
    EXPECT_EQ(info->Year(), "");
    EXPECT_EQ(info->Genre(), 255);

    std::string nulPadded = file("b.mp3", audio + tag("Song", "x\0junk", "", "1999", "", 12, '\0'));
    ASSERT_TRUE(info->ReadInfo(nulPadded, sftMP3));
    EXPECT_EQ(info->Title(), "Song");
    EXPECT_EQ(info->Year(), "1999");
}

TEST_F(Id3v1, FilesWithoutATagLeaveThePropertiesAlone) {
    auto info = songInfo();
    ASSERT_TRUE(info->ReadInfo(file("ok.mp3", tag("Kept", "", "", "", "", 1)), sftMP3));
    std::string lower = tag("New", "", "", "", "", 1);
    lower[0] = 't';
    struct Case {
        const char* name;
        std::string path;
    } cases[] = {
        {"lower-case marker", file("lower.mp3", lower)},
        {"127 bytes", file("short.mp3", tag("New", "", "", "", "", 1).substr(1))},
        {"empty", file("empty.mp3", "")},
        {"missing", (folder / "missing.mp3").string()},
        {"directory", folder.path().string()},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(info->ReadInfo(c.path, sftMP3)) << c.name;
        EXPECT_FALSE(info->SaveInfo(c.path, 3)) << c.name;
    }
    EXPECT_EQ(info->Title(), "Kept");
    EXPECT_TRUE(info->ReadInfo(file("exact.mp3", tag("Exact", "", "", "", "", 0)), sftMP3));
    EXPECT_EQ(info->Title(), "Exact");
    EXPECT_FALSE(info->ReadInfo(file("exact2.mp3", tag("X", "", "", "", "", 0)), 7));
    EXPECT_EQ(info->Title(), "Exact");
}

TEST_F(Id3v1, SaveReplacesOrAppendsOnlyTheTagBytes) {
    std::string audio = "ID3-free audio bytes \x01\x02\xFF";
    std::string untagged = file("u.mp3", audio);
    std::string tagged = file("t.mp3", audio + tag("Old", "Old", "Old", "1990", "Old", 3));
    auto info = songInfo();
    info->setTitle(std::string(40, 'T'));
    info->setArtist("Müller");
    info->setAlbum(Variant(42));
    info->setYear("20201");
    info->setGenre(254);
    for (const std::string& path : {untagged, tagged}) {
        ASSERT_TRUE(info->SaveInfo(path, sftMP3));
        std::string bytes = readFile(path);
        ASSERT_EQ(bytes.size(), audio.size() + kTagSize) << path;
        EXPECT_EQ(bytes.substr(0, audio.size()), audio);
        EXPECT_EQ(bytes.substr(audio.size() + 33, 30), "M\xFCller" + std::string(24, ' '));
        auto back = songInfo();
        ASSERT_TRUE(back->ReadInfo(path, sftMP3));
        EXPECT_EQ(back->Title(), std::string(30, 'T'));
        EXPECT_EQ(back->Album(), Variant("42"));
        EXPECT_EQ(back->Year(), "2020");
        EXPECT_EQ(back->Genre(), 254);
    }
}

TEST_F(Id3v1, SaveRefusesValuesItCannotStoreBeforeTouchingTheFile) {
    std::string path = file("x.mp3", "audio");
    auto info = songInfo();
    auto errorOf = [&] {
        try {
            info->SaveInfo(path, sftMP3);
        } catch (const Error& e) {
            return e.number();
        }
        return 0;
    };
    info->setGenre(256);
    EXPECT_EQ(errorOf(), err::kOverflow);
    info->setGenre(-1);
    EXPECT_EQ(errorOf(), err::kOverflow);
    info->setGenre(0);
    info->setAlbum(toVariant(songInfo()));
    EXPECT_EQ(errorOf(), err::kTypeMismatch);
    info->setAlbum(Variant::null());
    EXPECT_EQ(errorOf(), err::kInvalidUseOfNull);
    EXPECT_EQ(readFile(path), "audio");
}

TEST_F(Id3v1, AlbumKeepsObjectsThroughDispatch) {
    Ref<Object> info = zorbelLibrary().create(*zorbelLibrary().findByProgId("ZorbelKit.ExtendedSongInfo"));
    Ref<Object> other = makeRef<ExtendedSongInfo>();
    info->invoke("Album", com::kSet, {toVariant(other)});
    EXPECT_EQ(info->invoke("Album", com::kGet).toObject().get(), other->asDispatch());
    info->invoke("Album", com::kLet, {Variant(3.5)});
    EXPECT_EQ(info->invoke("Album", com::kGet), Variant(3.5));
}

TEST_F(Id3v1, ReadOnlyFileFailsToSaveAndStaysUnchanged) {
    if (geteuid() != 0) GTEST_SKIP() << "needs a private mount namespace";
    std::string path = file("ro/song.mp3", "audio" + tag("T", "", "", "", "", 1));
    pid_t child = fork();
    if (child == 0) {
        // A read-only bind mount in a private namespace: root cannot write there either.
        bool ready = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                     mount((folder / "ro").c_str(), (folder / "ro").c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                     mount(nullptr, (folder / "ro").c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        if (!ready) _exit(2);
        auto info = songInfo();
        info->setTitle("New");
        _exit(info->SaveInfo(path, sftMP3) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "mount namespaces unavailable";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readFile(path), "audio" + tag("T", "", "", "", "", 1));
}

}  // namespace
}  // namespace zorbel::jukebox
