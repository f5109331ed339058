#include "platform/system/paths.hpp"

#include <gtest/gtest.h>

#include "platform/system/command_line.hpp"

namespace zorbel::system {
namespace {

using Pair = std::pair<const char*, const char*>;

TEST(Paths, TrailingSeparators) {
    const Pair with[] = {{"/a/b", "/a/b/"}, {"/a/b/", "/a/b/"}, {"/a/b//", "/a/b/"}, {"/a/b\\", "/a/b/"}, {"", "/"}};
    for (const auto& [in, out] : with) EXPECT_EQ(withTrailingSeparator(in), out) << in;
    const Pair without[] = {{"/a/b", "/a/b"}, {"/a/b/", "/a/b"}, {"/a/b/\\/", "/a/b"}, {"/", ""}, {"", ""}};
    for (const auto& [in, out] : without) EXPECT_EQ(withoutTrailingSeparator(in), out) << in;
}

TEST(Paths, FolderNameAndExtensionParts) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
        const char* extension;
    };
    const Case cases[] = {
        {"/music/song.mp3", "/music", "song.mp3", "mp3"},
        {"/music/a.b/song", "/music/a.b", "song", ""},
        {"/music/archive.tar.GZ", "/music", "archive.tar.GZ", "GZ"},
        {"/music/trailing.", "/music", "trailing.", ""},
        {"/song.mp3", "/", "song.mp3", "mp3"},
        {"song.mp3", "", "song.mp3", "mp3"},
        {"/music//song.mp3", "/music", "song.mp3", "mp3"},
        {"/music/", "/music", "", ""},
        {"C:\\win\\x.exe", "", "C:\\win\\x.exe", "exe"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(folderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(fileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(fileExtension(c.path), c.extension) << c.path;
    }
}

TEST(Paths, CommandProgramPartAndQuotes) {
    const Pair parts[] = {
        {"\"/opt/My Player/player\" \"%1\"", "\"/opt/My Player/player\""},
        {"/usr/bin/player %1", "/usr/bin/player"},
        {"  player", "player"},
        {"\"unfinished", "\"unfinished"},
        {"", ""},
    };
    for (const auto& [line, part] : parts) EXPECT_EQ(commandProgramPart(line), part) << line;
    EXPECT_EQ(stripQuotes("\"a\"b\"\""), "ab");
    // The chain that turns a registered open command into the program's folder.
    std::string command = "\"/opt/My Player/player\" \"%1\"";
    EXPECT_EQ(withoutTrailingSeparator(folderPart(stripQuotes(commandProgramPart(command)))), "/opt/My Player");
}

TEST(Paths, CommandLineFormSurvivesSplitting) {
    EXPECT_EQ(pathForCommandLine("/music/song.wav"), "/music/song.wav");
    EXPECT_EQ(pathForCommandLine("/my music/song.wav"), "\"/my music/song.wav\"");
    for (const char* path : {"/my music/song.wav", "/a \"b\"/c\\", "/x\ty", ""}) {
        std::vector<std::string> split = splitArguments("-128 " + pathForCommandLine(path) + " -QUIT");
        ASSERT_EQ(split.size(), 3u) << path;
        EXPECT_EQ(split[1], path);
    }
}

}  // namespace
}  // namespace zorbel::system
