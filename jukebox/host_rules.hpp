#pragma once
// The host rules a playlist applies while it builds its song list and plays songs (rating
// weights, played marks). Without rules every song is added once and nothing is marked.

#include <string>

namespace zorbel::jukebox {

class HostRules {
public:
    virtual ~HostRules() = default;
    // How many copies of the song the song list gets; 0 skips it.
    virtual int copiesOf(const std::string& song) = 0;
    // Called when a build found no song although there are entries (for example because every
    // song is marked as played).
    virtual void onNoSongs() = 0;
    // Called for the song GetCurrentSong hands out.
    virtual void markPlayed(const std::string& song) = 0;
};

}  // namespace zorbel::jukebox
