#pragma once
// The playlist file: lines in Windows-1252 ending at CR LF or a lone CR (a lone LF belongs to
// the line). Empty lines and lines starting with "#" are skipped; every other line is an entry,
// trimmed of spaces at both ends. Entries beginning with "!cmd_" are commands; the dynamic entry
// "!cmd_dynentr:<folder>/<pattern>[+]" names the files a search finds.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorbel::jukebox {

// Feeds file bytes in chunks and collects the entries; lines of any length are handled.
class PlaylistParser {
public:
    void feed(std::string_view bytes);
    // Ends the input and returns the entries in file order.
    std::vector<std::string> finish();

private:
    void endLine();
    std::string line_;
    bool afterCr_ = false;
    std::vector<std::string> entries_;
};

std::vector<std::string> parsePlaylist(std::string_view bytes);

// Reads a playlist file's entries; raises the file error when it cannot be opened or read.
std::vector<std::string> readPlaylistFile(const std::filesystem::path& file);

// The bytes of a written playlist: every line in Windows-1252 followed by CR LF.
std::string formatPlaylist(const std::vector<std::string>& lines);

struct DynamicEntry {
    std::string search;  // folder and file-name pattern
    bool includeSubfolders = false;
};

// True for command entries: longer than 5 characters and beginning with exactly "!cmd_".
bool isCommandEntry(std::string_view entry);
// The search of a dynamic entry; nullopt for songs and for other commands.
std::optional<DynamicEntry> dynamicEntry(std::string_view entry);

}  // namespace zorbel::jukebox
