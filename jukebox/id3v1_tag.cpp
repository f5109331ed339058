#include "jukebox/id3v1_tag.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "frame/text.hpp"
#include "platform/system/unique_fd.hpp"

namespace zorbel::jukebox {

namespace {

struct FieldLayout {
    size_t offset;  // within the 125-byte block
    size_t width;
};
constexpr FieldLayout kTitle{0, 30}, kArtist{30, 30}, kAlbum{60, 30}, kYear{90, 4}, kComment{94, 30};
constexpr size_t kGenreOffset = 124;
constexpr char kMarker[3] = {'T', 'A', 'G'};

std::string readField(const char* block, FieldLayout f) {
    std::string raw(block + f.offset, f.width);
    raw = raw.substr(0, raw.find('\0'));
    size_t end = raw.find_last_not_of(' ');
    raw.erase(end == std::string::npos ? 0 : end + 1);
    return text::fromWindows1252(raw);
}

void writeField(std::string& block, FieldLayout f, const std::string& value) {
    std::string bytes = text::toWindows1252(value).substr(0, f.width);
    bytes.resize(f.width, ' ');
    block.replace(f.offset, f.width, bytes);
}

bool readExactly(int fd, void* buffer, size_t size, off_t offset) {
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t got = pread(fd, out, size, offset);
        if (got <= 0) return false;
        out += got, size -= static_cast<size_t>(got), offset += got;
    }
    return true;
}

bool writeExactly(int fd, const void* buffer, size_t size, off_t offset) {
    auto* in = static_cast<const char*>(buffer);
    while (size > 0) {
        ssize_t put = pwrite(fd, in, size, offset);
        if (put <= 0) return false;
        in += put, size -= static_cast<size_t>(put), offset += put;
    }
    return true;
}

// Opens a regular file; directories, devices and the like count as unreadable.
system::UniqueFd openRegular(const std::string& path, int flags, off_t& length) {
    system::UniqueFd fd(::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (!fd || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return system::UniqueFd();
    length = info.st_size;
    return fd;
}

}  // namespace

Id3v1Fields parseFields(const char* block) {
    Id3v1Fields f;
    f.title = readField(block, kTitle);
    f.artist = readField(block, kArtist);
    f.album = readField(block, kAlbum);
    f.year = readField(block, kYear);
    f.comment = readField(block, kComment);
    f.genre = static_cast<uint8_t>(block[kGenreOffset]);
    return f;
}

std::string formatFields(const Id3v1Fields& fields) {
    std::string block(kTagFieldsSize, ' ');
    writeField(block, kTitle, fields.title);
    writeField(block, kArtist, fields.artist);
    writeField(block, kAlbum, fields.album);
    writeField(block, kYear, fields.year);
    writeField(block, kComment, fields.comment);
    block[kGenreOffset] = static_cast<char>(fields.genre);
    return block;
}

std::optional<Id3v1Fields> readTag(const std::string& path) {
    off_t length = 0;
    system::UniqueFd fd = openRegular(path, O_RDONLY, length);
    if (!fd || length < static_cast<off_t>(kTagSize)) return std::nullopt;
    char tag[kTagSize];
    if (!readExactly(fd.get(), tag, kTagSize, length - static_cast<off_t>(kTagSize))) return std::nullopt;
    if (std::memcmp(tag, kMarker, sizeof kMarker) != 0) return std::nullopt;
    return parseFields(tag + sizeof kMarker);
}

bool writeTag(const std::string& path, const Id3v1Fields& fields) {
    std::string block = formatFields(fields);
    off_t length = 0;
    system::UniqueFd fd = openRegular(path, O_RDWR, length);
    if (!fd) return false;
    char marker[sizeof kMarker] = {};
    bool hasTag = length >= static_cast<off_t>(kTagSize) &&
                  readExactly(fd.get(), marker, sizeof marker, length - static_cast<off_t>(kTagSize)) &&
                  std::memcmp(marker, kMarker, sizeof kMarker) == 0;
    bool written = hasTag ? writeExactly(fd.get(), block.data(), block.size(), length - static_cast<off_t>(kTagFieldsSize))
                          : writeExactly(fd.get(), (std::string(kMarker, sizeof kMarker) + block).data(), kTagSize, length);
    return written && fsync(fd.get()) == 0;
}

}  // namespace zorbel::jukebox
