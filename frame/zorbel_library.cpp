#include "frame/zorbel_library.hpp"

#include "frame/zorbel_classes.hpp"
#include "jukebox/extended_song_info.hpp"
#include "tools/tools_c.hpp"
#include "voices/voice_users.hpp"

namespace zorbel {

const LibraryInfo& zorbelLibrary() {
    static const LibraryInfo library = [] {
        LibraryInfo l;
        l.typeLibName = "ZorbelKit";
        l.libid = com::Guid::of("{1A1E1690-4C11-11D2-9958-00C026580632}");
        l.version = "1.42";
        l.help = "Quendra Standard Tool Library C";
        l.classes = &zorbelClassIdentities();
        l.factories = {
            {"ToolsC", &createObject<tools::ToolsC>},
            {"ExtendedSongInfo", &createObject<jukebox::ExtendedSongInfo>},
            {"VoiceUsers", &createObject<voices::VoiceUsers>},
            {"VoiceSets", &createObject<voices::VoiceSets>},
            {"Voices", &createObject<voices::Voices>},
        };
        l.enums = {&jukebox::songFileTypeInfo()};
        return l;
    }();
    return library;
}

}  // namespace zorbel
