#include "jukebox/playlist_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "frame/error.hpp"
#include "frame/text.hpp"
#include "platform/system/unique_fd.hpp"

namespace zorbel::jukebox {

namespace {
constexpr std::string_view kCommandPrefix = "!cmd_";
constexpr std::string_view kDynamicCommand = "dynentr:";
}  // namespace

void PlaylistParser::endLine() {
    if (!line_.empty() && line_.front() != '#') entries_.push_back(text::trim(text::fromWindows1252(line_)));
    line_.clear();
}

void PlaylistParser::feed(std::string_view bytes) {
    for (char c : bytes) {
        if (afterCr_) {
            afterCr_ = false;
            if (c == '\n') continue;  // the LF of a CR LF pair
        }
        if (c == '\r') {
            endLine();
            afterCr_ = true;
        } else {
            line_ += c;
        }
    }
}

std::vector<std::string> PlaylistParser::finish() {
    if (!line_.empty()) endLine();
    afterCr_ = false;
    return std::move(entries_);
}

std::vector<std::string> parsePlaylist(std::string_view bytes) {
    PlaylistParser parser;
    parser.feed(bytes);
    return parser.finish();
}

std::vector<std::string> readPlaylistFile(const std::filesystem::path& file) {
    system::UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!fd) throw fileError(errno);
    PlaylistParser parser;
    char buffer[64 * 1024];
    for (;;) {
        ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw fileError(errno);
        if (got == 0) break;
        parser.feed(std::string_view(buffer, static_cast<size_t>(got)));
    }
    return parser.finish();
}

std::string formatPlaylist(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += text::toWindows1252(line);
        out += "\r\n";
    }
    return out;
}

bool isCommandEntry(std::string_view entry) {
    return text::length(entry) > kCommandPrefix.size() && entry.substr(0, kCommandPrefix.size()) == kCommandPrefix;
}

std::optional<DynamicEntry> dynamicEntry(std::string_view entry) {
    if (!isCommandEntry(entry)) return std::nullopt;
    std::string command = text::cutLeft(entry, kCommandPrefix.size());
    if (text::length(command) <= kDynamicCommand.size() || text::toLower(text::left(command, kDynamicCommand.size())) != kDynamicCommand)
        return std::nullopt;
    DynamicEntry dynamic;
    dynamic.search = text::cutLeft(command, kDynamicCommand.size());
    if (!dynamic.search.empty() && dynamic.search.back() == '+') {
        dynamic.search.pop_back();
        dynamic.includeSubfolders = true;
    }
    return dynamic;
}

}  // namespace zorbel::jukebox
