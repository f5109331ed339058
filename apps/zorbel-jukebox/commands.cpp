#include "apps/zorbel-jukebox/commands.hpp"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "apps/zorbel-jukebox/host.hpp"
#include "frame/zorbel_library.hpp"

namespace zorbel::host {

namespace {

void print(const std::string& line) { std::printf("%s\n", line.c_str()); }

bool hasFlag(const Arguments& args, const std::string& flag) {
    for (const std::string& a : args) {
        if (a == flag) return true;
    }
    return false;
}

std::optional<std::string> option(const Arguments& args, const std::string& name) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) return args[i + 1];
    }
    return std::nullopt;
}

int usage(const char* text) {
    std::fprintf(stderr, "usage: zorbel-jukebox %s\n", text);
    return 2;
}

ObjectRef openPlaylist(const std::string& file, const Arguments& args) {
    ObjectRef playlist = create("ZorbelKit.Playlist");
    if (!call(playlist, "LoadPlaylist", {Variant(file)}).toBool()) throw Error::runtime(err::kFileNotFound);
    let(playlist, "ReadSongTitle", Variant(true));
    if (hasFlag(args, "--repeat")) let(playlist, "Repeat", Variant::integer(2));
    if (hasFlag(args, "--shuffle")) let(playlist, "Shuffle", Variant(true));
    return playlist;
}

// The current song as "position/count  title  (path)"; empty when there is none.
std::string currentSong(const ObjectRef& playlist) {
    Args song = {Variant(""), Variant("")};
    if (!callWithResults(playlist, "GetCurrentSong", song).toBool()) return {};
    return std::to_string(get(playlist, "CurrentSongPos").toLong()) + "/" +
           std::to_string(get(playlist, "SongCount").toLong()) + "  " + song[1].toString() + "  (" +
           song[0].toString() + ")";
}

}  // namespace

int songsCommand(const Arguments& args) {
    if (args.empty()) return usage("songs <playlist> [--shuffle]");
    ObjectRef playlist = openPlaylist(args[0], args);
    // Each song once, in play order; with repeat on, stepping would wrap around forever.
    let(playlist, "Repeat", Variant::integer(0));
    for (bool found = call(playlist, "GotoSong", {Variant(1)}).toBool(); found;
         found = call(playlist, "NextSong").toBool())
        print(currentSong(playlist));
    return 0;
}

int walkCommand(const Arguments& args) {
    if (args.empty()) return usage("walk <playlist> [--steps N] [--back] [--shuffle] [--repeat]");
    ObjectRef playlist = openPlaylist(args[0], args);
    int steps = std::stoi(option(args, "--steps").value_or("10"));
    const char* direction = hasFlag(args, "--back") ? "PrevSong" : "NextSong";
    print("start  " + currentSong(playlist));
    for (int i = 0; i < steps; ++i) {
        if (!call(playlist, direction).toBool()) {
            print("stop   at the end of the song list");
            return 0;
        }
        print("step   " + currentSong(playlist));
    }
    return 0;
}

int finalCommand(const Arguments& args) {
    if (args.size() < 2) return usage("final <playlist> <output> [--separator FILE] [--shuffle]");
    ObjectRef playlist = openPlaylist(args[0], args);
    call(playlist, "SaveFinalPlaylist", {Variant(args[1]), Variant(option(args, "--separator").value_or("")), Variant(true)});
    print("wrote " + std::to_string(get(playlist, "SongCount").toLong()) + " songs to " + args[1]);
    return 0;
}

int tagCommand(const Arguments& args) {
    if (args.empty()) return usage("tag <file> [--title T] [--artist A] [--album A] [--year Y] [--comment C] [--genre N]");
    ObjectRef info = create("ZorbelKit.ExtendedSongInfo");
    const Variant mp3 = Variant(1);
    bool hadTag = call(info, "ReadInfo", {Variant(args[0]), mp3}).toBool();
    bool changed = false;
    for (const char* field : {"Title", "Artist", "Album", "Year", "Comment", "Genre"}) {
        std::string flag = std::string("--") + static_cast<char>(std::tolower(field[0])) + (field + 1);
        if (auto value = option(args, flag)) {
            let(info, field, Variant(*value));
            changed = true;
        }
    }
    if (changed) {
        if (!call(info, "SaveInfo", {Variant(args[0]), mp3}).toBool()) {
            std::fprintf(stderr, "zorbel-jukebox: cannot write the tag of %s\n", args[0].c_str());
            return 1;
        }
        print("tag written");
    } else if (!hadTag) {
        print("no ID3v1 tag");
        return 1;
    }
    ObjectRef tools = create("ZorbelKit.ToolsC");
    int32_t genre = get(info, "Genre").toLong();
    print("Title:   " + get(info, "Title").toString());
    print("Artist:  " + get(info, "Artist").toString());
    print("Album:   " + get(info, "Album").toString());
    print("Year:    " + get(info, "Year").toString());
    print("Comment: " + get(info, "Comment").toString());
    print("Genre:   " + std::to_string(genre) + " " +
          (genre <= 32767 ? call(tools, "GetID3GenreName", {Variant::integer(static_cast<int16_t>(genre))}).toString() : ""));
    return 0;
}

int mp3InfoCommand(const Arguments& args) {
    if (args.empty()) return usage("mp3info <file>");
    ObjectRef info = create("ZorbelKit.ExtendedSongInfo");
    Args out = {Variant(args[0]), Variant::integer(0), Variant::integer(0), Variant::integer(0), Variant(0),
                Variant(0), Variant(0), Variant(0), Variant(0)};
    if (!callWithResults(info, "GetMoreInfoMP3", out).toBool()) {
        print("no MPEG audio frame found in " + args[0]);
        return 1;
    }
    print("MPEG " + out[1].toString() + " layer " + out[2].toString() + ", protection bit " + out[3].toString());
    print("bit rate " + out[4].toString() + " bit/s, " + out[5].toString() + " Hz (code " + out[6].toString() + ")");
    print("about " + out[7].toString() + " frames, " + out[8].toString() + " s");
    return 0;
}

namespace {

// Songs the jukebox plays: MPEG audio and tracker modules.
bool isSongFile(const std::string& file) {
    std::string extension = std::filesystem::path(file).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* known : {".mp3", ".mod", ".xm", ".s3m", ".it"}) {
        if (extension == known) return true;
    }
    return false;
}

}  // namespace

int scanCommand(const Arguments& args) {
    if (args.empty()) return usage("scan <folder> [--update]");
    ObjectRef playlist = create("ZorbelKit.Playlist");
    // Every file below the folder; the song database keeps what it can describe.
    call(playlist, "PlaylistEntryAdd", {Variant("!cmd_dynentr:" + args[0] + "/*+")});
    call(playlist, "SaveFinalPlaylist", {Variant("/dev/null"), Variant(""), Variant(true)});
    ObjectRef songs = call(playlist, "GetSongCol").toObject();
    const int32_t total = get(songs, "Count").toLong();
    const bool update = hasFlag(args, "--update");
    int32_t stored = 0;
    for (int32_t i = 1; i <= total; ++i) {
        std::string file = get(songs, "Item", {Variant(i)}).toString();
        if (isSongFile(file) && call(playlist, "SaveSongToDB", {Variant(file), Variant(update)}).toBool()) ++stored;
        if (i % 100 == 0 || i == total) {
            std::printf("\rscanned %d of %d files, %d stored", i, total, stored);
            std::fflush(stdout);
        }
    }
    std::printf("%s", total ? "\n" : "");
    print("scan done: " + std::to_string(stored) + " songs stored of " + std::to_string(total) + " files");
    return 0;
}

namespace {

void printRow(const ObjectRef& library) {
    auto column = [&](const char* name) {
        Variant value = call(library, "GetEntryData", {Variant(name)});
        return value.isNull() ? std::string() : value.toString();
    };
    print(column("ID") + "  " + column("Title") + " | " + column("Artist") + " | " + column("Album") + " | " +
          column("Year") + " | genre " + column("Genre") + "  " + column("MediaLocation"));
}

ObjectRef connectedLibrary() {
    ObjectRef library = create("ZorbelKit.MediaLibrary");
    if (!call(library, "Connect").toBool()) throw Error(kUserErrorBase + 1, "the song database cannot be opened");
    return library;
}

}  // namespace

int libraryCommand(const Arguments&) {
    ObjectRef library = connectedLibrary();
    ObjectRef ids = call(library, "ListEntries").toObject();
    const int32_t count = get(ids, "Count").toLong();
    for (int32_t i = 1; i <= count; ++i) {
        call(library, "GoToEntry", {get(ids, "Item", {Variant(i)})});
        printRow(library);
    }
    print(std::to_string(count) + " songs in the database");
    return 0;
}

int lookupCommand(const Arguments& args) {
    if (args.empty()) return usage("lookup <file>");
    ObjectRef library = connectedLibrary();
    ObjectRef playlist = create("ZorbelKit.Playlist");
    Args entry = {Variant(args[0]), Variant::record(zorbelLibrary().findRecord("MusicEntry")->makeValue())};
    if (!callWithResults(library, "GetEntryByFile", entry).toBool()) {
        print("not in the database: " + args[0]);
        return 1;
    }
    printRow(library);
    print(call(playlist, "GetSongDetails", {Variant(args[0])}).toString());
    return 0;
}

int demoCommand(const Arguments& args) {
    if (args.empty()) return usage("demo <folder>");
    std::string folder = args[0];
    std::string playlist = folder + "/demo.m3u";
    print("== Song list of " + playlist + " (titles from tags)");
    songsCommand({playlist});
    print("");
    print("== Walking it backwards with repeat");
    walkCommand({playlist, "--back", "--repeat", "--steps", "5"});
    print("");
    print("== The same songs shuffled");
    songsCommand({playlist, "--shuffle"});
    print("");
    std::string final = folder + "/final.m3u";
    print("== Final playlist");
    finalCommand({playlist, final});
    print("");
    print("== Tag of Overture.mp3");
    tagCommand({folder + "/Overture.mp3"});
    print("");
    print("== Frame analysis of Overture.mp3");
    mp3InfoCommand({folder + "/Overture.mp3"});
    print("");
    print("== Scanning the demo into the song database");
    scanCommand({folder});
    libraryCommand({});
    print("");
    print("== Looking a song up");
    return lookupCommand({folder + "/more/Second Light.mp3"});
}

}  // namespace zorbel::host
