// Jukebox data timings against peers, measured in one run:
//   tags:      ReadInfo of the ID3v1 tags of N files, against TagLib reading the same tags
//   song list: building the song list of one dynamic entry over a tree of M files, against
//              `find` listing the same tree
// Usage: jukebox_bench [tag files, default 10000] [tree files, default 100000]

#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "jukebox/extended_song_info.hpp"
#include "jukebox/id3v1_tag.hpp"
#include "jukebox/playlist.hpp"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The best of a few runs, to keep page-cache warm-up and noise out of the ratio.
template <class Fn>
double best(int runs, Fn fn) {
    double bestTime = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        fn();
        bestTime = std::min(bestTime, secondsSince(start));
    }
    return bestTime;
}

void writeTaggedFiles(const fs::path& folder, int count) {
    fs::create_directories(folder);
    std::string audio(4096, '\0');
    audio[0] = '\xFF', audio[1] = '\xFB', audio[2] = '\x90';
    for (int i = 0; i < count; ++i) {
        fs::path file = folder / ("song" + std::to_string(i) + ".mp3");
        std::ofstream(file, std::ios::binary) << audio;
        zorbel::jukebox::Id3v1Fields tag;
        tag.title = "Title " + std::to_string(i);
        tag.artist = "Artist";
        zorbel::jukebox::writeTag(file.string(), tag);
    }
}

void benchTags(const fs::path& root, int count) {
    fs::path folder = root / "tags";
    writeTaggedFiles(folder, count);
    size_t ours = 0, theirs = 0;
    auto info = zorbel::makeRef<zorbel::jukebox::ExtendedSongInfo>();
    double oursTime = best(3, [&] {
        ours = 0;
        for (int i = 0; i < count; ++i) {
            if (info->ReadInfo((folder / ("song" + std::to_string(i) + ".mp3")).string(), zorbel::jukebox::sftMP3))
                ours += info->Title().size();
        }
    });
    double theirsTime = best(3, [&] {
        theirs = 0;
        for (int i = 0; i < count; ++i) {
            TagLib::MPEG::File file((folder / ("song" + std::to_string(i) + ".mp3")).c_str(), false);
            if (TagLib::ID3v1::Tag* tag = file.ID3v1Tag()) theirs += tag->title().to8Bit(true).size();
        }
    });
    std::printf("tags:      %d files  ReadInfo %.3f s  TagLib %.3f s  ratio %.2f  (checksums %zu / %zu)\n", count,
                oursTime, theirsTime, oursTime / theirsTime, ours, theirs);
}

void writeTree(const fs::path& folder, int count) {
    const int perFolder = 1000;
    for (int i = 0; i < count; ++i) {
        fs::path sub = folder / ("d" + std::to_string(i / perFolder)) / ("e" + std::to_string(i / perFolder % 7));
        if (i % perFolder == 0) fs::create_directories(sub);
        std::ofstream(sub / ("f" + std::to_string(i) + ".mp3"));
    }
}

void benchSongList(const fs::path& root, int count) {
    fs::path tree = root / "tree";
    writeTree(tree, count);
    fs::path list = root / "dynamic.m3u";
    std::ofstream(list, std::ios::binary) << "!cmd_dynentr:" << tree.string() << "/*.mp3+\r\n";
    int32_t songs = 0;
    double oursTime = best(3, [&] {
        auto playlist = zorbel::makeRef<zorbel::jukebox::Playlist>();
        playlist->LoadPlaylist(list.string(), false);
        playlist->NextSong();  // builds the song list
        songs = playlist->SongCount();
    });
    size_t found = 0;
    std::string command = "find '" + tree.string() + "' -type f -name '*.mp3'";
    double findTime = best(3, [&] {
        found = 0;
        FILE* pipe = popen(command.c_str(), "r");
        char line[4096];
        while (pipe && std::fgets(line, sizeof line, pipe)) ++found;
        if (pipe) pclose(pipe);
    });
    std::printf("song list: %d files  build %.3f s  find %.3f s  ratio %.2f  (songs %d / %zu)\n", count, oursTime,
                findTime, oursTime / findTime, songs, found);
}

}  // namespace

int main(int argc, char** argv) {
    int tagFiles = argc > 1 ? std::atoi(argv[1]) : 10000;
    int treeFiles = argc > 2 ? std::atoi(argv[2]) : 100000;
    fs::path root = fs::temp_directory_path() / ("zorbel-jukebox-bench-" + std::to_string(getpid()));
    setenv("ZORBEL_ROOT", (root / "registry").c_str(), 1);
    benchTags(root, tagFiles);
    benchSongList(root, treeFiles);
    fs::remove_all(root);
    return 0;
}
