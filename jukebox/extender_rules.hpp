#pragma once
// The rules two jukebox hosts select with an extender code: rating weights (a per-song rating
// in the registry decides how many copies of a song the song list gets) and played marks
// (every song plays once before any repeats). Both keep their data below one key of the
// local-machine hive.

#include <cstdint>
#include <string>

#include "jukebox/host_rules.hpp"

namespace zorbel::jukebox {

class ExtenderRules final : public HostRules {
public:
    // Adds the rule of a known code and takes the key; false (and no change) for other codes.
    bool select(const std::string& code, const std::string& key);
    bool active() const { return flags_ != 0; }

    int copiesOf(const std::string& song) override;
    void onNoSongs() override;
    void markPlayed(const std::string& song) override;

    // Copies of a song with this rating: 0 leaves it out, 1 keeps it half of the time, 2 once,
    // 3 twice, 4 four times, anything else once.
    static int copiesForRating(int32_t rating);

private:
    bool isPlayed(const std::string& song) const;
    int32_t ratingOf(const std::string& song) const;

    uint8_t flags_ = 0;
    std::string key_;
};

}  // namespace zorbel::jukebox
