#include "frame/zorbel_library.hpp"

#include "frame/zorbel_classes.hpp"
#include "imaging/dib_section.hpp"
#include "imaging/dib_section_256.hpp"
#include "imaging/image_processing_dib.hpp"
#include "imaging/palette_file.hpp"
#include "jukebox/extended_song_info.hpp"
#include "jukebox/media_library.hpp"
#include "jukebox/music_entry.hpp"
#include "jukebox/playlist.hpp"
#include "playback/mod_file.hpp"
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
            {"MediaLibrary", &createObject<jukebox::MediaLibrary>},
            {"Playlist", &createObject<jukebox::Playlist>},
            {"MODFile", &createObject<playback::MODFile>},
            {"VoiceUsers", &createObject<voices::VoiceUsers>},
            {"VoiceSets", &createObject<voices::VoiceSets>},
            {"Voices", &createObject<voices::Voices>},
            {"DIBSection", &createObject<imaging::DIBSection>},
            {"DIBSection256", &createObject<imaging::DIBSection256>},
            {"ImageProcessingDIB", &createObject<imaging::ImageProcessingDIB>},
            {"cPalette", &createObject<imaging::cPalette>},
        };
        l.enums = {&jukebox::songFileTypeInfo(), &imaging::filterTypesInfo(), &imaging::filterErrorInfo()};
        l.records = {&jukebox::musicEntryInfo()};
        return l;
    }();
    return library;
}

}  // namespace zorbel
