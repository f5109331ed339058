// zorbel-make-demo: writes the bundled demo into a folder: short MP3 files (sine tones encoded
// with LAME) with ID3v1 tags, and a playlist with a plain entry, a comment and a dynamic entry.
// Usage: zorbel-make-demo <folder>

#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "jukebox/id3v1_tag.hpp"

namespace {

namespace fs = std::filesystem;

struct Song {
    const char* file;
    double frequency;
    const char* title;
    const char* artist;
    const char* album;
    uint8_t genre;
};

constexpr int kSampleRate = 44100;
constexpr double kSeconds = 2.0;

struct LameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

std::vector<unsigned char> encodeTone(double frequency) {
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame) throw std::runtime_error("lame_init failed");
    lame_set_in_samplerate(lame.get(), kSampleRate);
    lame_set_out_samplerate(lame.get(), kSampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), 64);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) throw std::runtime_error("lame_init_params failed");

    std::vector<short> pcm(static_cast<size_t>(kSampleRate * kSeconds));
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<short>(8000 * std::sin(2 * M_PI * frequency * static_cast<double>(i) / kSampleRate));
    std::vector<unsigned char> mp3(pcm.size() * 5 / 4 + 7200);
    int size = lame_encode_buffer(lame.get(), pcm.data(), pcm.data(), static_cast<int>(pcm.size()), mp3.data(),
                                  static_cast<int>(mp3.size()));
    if (size < 0) throw std::runtime_error("lame_encode_buffer failed");
    int tail = lame_encode_flush(lame.get(), mp3.data() + size, static_cast<int>(mp3.size()) - size);
    if (tail < 0) throw std::runtime_error("lame_encode_flush failed");
    mp3.resize(static_cast<size_t>(size + tail));
    return mp3;
}

void writeSong(const fs::path& folder, const Song& song) {
    fs::path path = folder / song.file;
    fs::create_directories(path.parent_path());
    std::vector<unsigned char> mp3 = encodeTone(song.frequency);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    zorbel::jukebox::Id3v1Fields tag;
    tag.title = song.title;
    tag.artist = song.artist;
    tag.album = song.album;
    tag.year = "2026";
    tag.comment = "Zorbel demo";
    tag.genre = song.genre;
    if (!zorbel::jukebox::writeTag(path.string(), tag)) throw std::runtime_error("cannot tag " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorbel-make-demo <folder>\n");
        return 2;
    }
    const fs::path folder = fs::absolute(argv[1]);
    const Song songs[] = {
        {"Overture.mp3", 440.0, "Overture", "Demo Ensemble", "Tones", 32},
        {"more/Second Light.mp3", 523.25, "Second Light", "Ärger & Söhne", "Tones", 13},
        {"more/deep/Third Step.mp3", 659.25, "Third Step", "Demo Ensemble", "Tones", 26},
        {"more/Untitled.mp3", 392.0, "", "", "", 255},
    };
    try {
        for (const Song& song : songs) writeSong(folder, song);
        std::ofstream playlist(folder / "demo.m3u", std::ios::binary);
        playlist << "# Zorbel demo playlist\r\n"
                 << (folder / "Overture.mp3").string() << "\r\n"
                 << "\r\n"
                 << "!cmd_dynentr:" << (folder / "more").string() << "/*.mp3+\r\n";
        if (!playlist) throw std::runtime_error("cannot write the playlist");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbel-make-demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
