#include "jukebox/extender_rules.hpp"

#include "frame/text.hpp"
#include "frame/variant.hpp"
#include "platform/system/host_info.hpp"
#include "platform/system/paths.hpp"
#include "platform/system/random.hpp"
#include "platform/system/registry_values.hpp"

namespace zorbel::jukebox {

namespace {

constexpr uint8_t kRatingWeights = 1;
constexpr uint8_t kPlayedMarks = 2;
constexpr uint32_t kHive = system::kHiveLocalMachine;

// The value name of a song's played mark.
std::string markName(const std::string& song) { return text::toLower(text::trim(song)); }

}  // namespace

bool ExtenderRules::select(const std::string& code, const std::string& key) {
    uint8_t flag = code == "kelmar-player" ? kRatingWeights : code == "torvik-hub" ? kPlayedMarks : 0;
    if (flag == 0) return false;
    flags_ |= flag;
    key_ = key;
    return true;
}

int ExtenderRules::copiesForRating(int32_t rating) {
    switch (rating) {
        case 0: return 0;
        case 1: return system::randomInteger(1, 2) == 2 ? 1 : 0;
        case 3: return 2;
        case 4: return 4;
        default: return 1;
    }
}

bool ExtenderRules::isPlayed(const std::string& song) const {
    std::string mark = system::readRegistryValue(kHive, key_, markName(song), "0");
    return convert::toInteger(text::leadingNumber(mark)) == 1;
}

int32_t ExtenderRules::ratingOf(const std::string& song) const {
    std::string key = key_ + "\\" + system::fileNamePart(song);
    std::string rating = system::readRegistryValue(kHive, key, "Rating" + system::ratingNameSuffix(), "-1");
    return convert::toLong(text::leadingNumber(rating));
}

int ExtenderRules::copiesOf(const std::string& song) {
    if ((flags_ & kPlayedMarks) && isPlayed(song)) return 0;
    if (flags_ & kRatingWeights) return copiesForRating(ratingOf(song));
    return 1;
}

void ExtenderRules::onNoSongs() {
    // Every song has been played: start the round again with no marks.
    if (!(flags_ & kPlayedMarks) || text::trim(key_).empty()) return;
    system::deleteRegistryKey(kHive, key_);
    system::createRegistryKey(kHive, key_);
}

void ExtenderRules::markPlayed(const std::string& song) {
    if (flags_ & kPlayedMarks) system::writeRegistryValue(kHive, key_, markName(song), "1");
}

}  // namespace zorbel::jukebox
