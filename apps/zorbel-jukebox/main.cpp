// zorbel-jukebox: the command-line jukebox host. It drives the library's classes by program
// identifier through the dispatch entry, like any script host.

#include <cstdio>
#include <map>
#include <string>

#include "apps/zorbel-jukebox/commands.hpp"
#include "frame/error.hpp"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: zorbel-jukebox <command> ...\n"
                 "  songs <playlist> [--shuffle]          the song list with titles from tags\n"
                 "  walk <playlist> [--steps N] [--back] [--shuffle] [--repeat]\n"
                 "  final <playlist> <output> [--separator FILE] [--shuffle]\n"
                 "  tag <file> [--title T] [--artist A] [--album A] [--year Y] [--comment C] [--genre N]\n"
                 "  mp3info <file>                        MPEG frame header analysis\n"
                 "  scan <folder> [--update]              store the folder's songs in the song database\n"
                 "  library                               list the song database\n"
                 "  lookup <file>                         a song's row and details\n"
                 "  demo <folder>                         all of the above on the bundled demo\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using Command = int (*)(const zorbel::host::Arguments&);
    const std::map<std::string, Command> commands = {
        {"songs", zorbel::host::songsCommand}, {"walk", zorbel::host::walkCommand},
        {"final", zorbel::host::finalCommand}, {"tag", zorbel::host::tagCommand},
        {"mp3info", zorbel::host::mp3InfoCommand}, {"scan", zorbel::host::scanCommand},
        {"library", zorbel::host::libraryCommand}, {"lookup", zorbel::host::lookupCommand},
        {"demo", zorbel::host::demoCommand},
    };
    if (argc < 2 || !commands.count(argv[1])) return usage();
    try {
        return commands.at(argv[1])(zorbel::host::Arguments(argv + 2, argv + argc));
    } catch (const zorbel::Error& e) {
        std::fprintf(stderr, "zorbel-jukebox: error %d (%s): %s\n", e.number(), e.source().c_str(),
                     e.description().c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbel-jukebox: %s\n", e.what());
        return 1;
    }
}
