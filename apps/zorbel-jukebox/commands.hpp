#pragma once
// The jukebox host's subcommands. Each takes its arguments after the subcommand name and
// returns the process exit status.

#include <string>
#include <vector>

namespace zorbel::host {

using Arguments = std::vector<std::string>;

int songsCommand(const Arguments& args);     // songs <playlist> [--shuffle]
int walkCommand(const Arguments& args);      // walk <playlist> [--steps N] [--back] [--shuffle] [--repeat]
int finalCommand(const Arguments& args);     // final <playlist> <output> [--separator FILE]
int tagCommand(const Arguments& args);       // tag <file> [--title T] [--artist A] [--album A] [--year Y] [--comment C] [--genre N]
int mp3InfoCommand(const Arguments& args);   // mp3info <file>
int scanCommand(const Arguments& args);      // scan <folder> [--update]
int libraryCommand(const Arguments& args);   // library
int lookupCommand(const Arguments& args);    // lookup <file>
int demoCommand(const Arguments& args);      // demo <folder>

}  // namespace zorbel::host
