#include "jukebox/genre_table.hpp"

#include <string_view>

#include "resources/strings.hpp"

namespace zorbel::jukebox {

namespace {

// Each list is one text of names joined by "|".
constexpr std::string_view kEnglish =
    "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|Other|Pop|R&B|Rap|"
    "Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|Trip Hop|"
    "Vocal|Jazz+Funk|Fusion|Trance|Classical|Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|Alt. Rock|"
    "Bass|Soul|Punk|Space|Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
    "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|Gangsta Rap|Top 40|"
    "Christian Rap|Pop/Punk|Jungle|Native American|Cabaret|New Wave|Phychedelic|Rave|Showtunes|Trailer|Lo-Fi|"
    "Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|Hard Rock|Folk|Folk/Rock|National Folk|Swing|"
    "Fast-Fusion|Bebob|Latin|Revival|Celtic|Blue Grass|Avantegarde|Gothic Rock|Progressive Rock|"
    "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|Humour|Speech|Chanson|"
    "Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|Porn Groove|Satire|Slow Jam|Club|Tango|Samba|"
    "Folklore|Ballad|Power Ballad|Rhythmic Soul|Freestyle|Duet|Punk Rock|Drum Solo|A Capella|Euro-House|"
    "Dance Hall|Goa|Drum & Bass|Club-House|Hardcore|Terror|Indie|Brit Pop|Negerpunk|Polsk Punk|Beat|"
    "Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|Comteporary Christian|Christian Rock|Merengue|"
    "Salsa|Trash Metal|Anime|JPop|Synth Pop";

constexpr std::string_view kGerman =
    "Blues|Klassik Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|Oldies|Andere|Pop|R&B|Rap|"
    "Reggae|Rock|Techno|Industrial|Alternativ|Ska|Death Metal|Pranks|Soundtrack|Euro-Techno|Ambient|Trip Hop|"
    "Vokal|Jazz+Funk|Fusion|Trance|Klassisch|Instrumental|Acid|House|Spiel|Sound-Clip|Gospel|Noise|Alt. Rock|"
    "Bass|Soul|Punk|Space|Meditativ|Instrumentaler Pop|Instrumentaler Rock|Ethnisch|Gothisch|Darkwave|"
    "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|Gangsta Rap|Top 40|"
    "Christian Rap|Pop/Punk|Jungle|Native American|Cabaret|New Wave|Psychedelisch|Rave|Showtunes|Trailer|Lo-Fi|"
    "Tribal|Acid Punk|Acid Jazz|Polka|Retro|Musical|Rock & Roll|Hard Rock|Folk|Folk/Rock|National Folk|Swing|"
    "Fast-Fusion|Bebob|Latin|Revival|Celtic|Blue Grass|Avantegarde|Gothic Rock|Progressive Rock|"
    "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Leichter Hörgenuss|Akkustik|Humor|Sprache|"
    "Chanson|Oper|Kammermusik|Sonate|Symphonie|Booty Bass|Primus|Porn Groove|Satire|Slow Jam|Club|Tango|Samba|"
    "Folklore|Ballad|Power Ballad|Rhythmischer Soul|Freestyle|Duet|Punk Rock|Drum Solo|A Capella|Euro-House|"
    "Dance Hall|Goa|Drum & Bass|Club-House|Hardcore|Terror|Indie|Britischer Pop|Negerpunk|Polsk Punk|Beat|"
    "Christian Gangsta Rap|Heavy Metal|Black Metal|Crossover|Comteporary Christian|Christian Rock|Merengue|"
    "Salsa|Trash Metal|Anime|JPop|Synth Pop";

std::vector<std::string> split(std::string_view list) {
    std::vector<std::string> names;
    size_t start = 0;
    for (size_t bar; (bar = list.find('|', start)) != std::string_view::npos; start = bar + 1)
        names.emplace_back(list.substr(start, bar - start));
    names.emplace_back(list.substr(start));
    return names;
}

}  // namespace

std::vector<std::string> genreNames() { return split(resources::germanTexts() ? kGerman : kEnglish); }

std::string genreName(int index) {
    std::vector<std::string> names = genreNames();
    if (index < 0 || index >= static_cast<int>(names.size())) return {};
    return names[static_cast<size_t>(index)];
}

}  // namespace zorbel::jukebox
