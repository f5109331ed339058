#pragma once
// The ID3v1 tag: the last 128 bytes of a file, "TAG" followed by title, artist, album (30
// bytes each), year (4), comment (30) and the genre byte. Text fields are Windows-1252.

#include <cstdint>
#include <optional>
#include <string>

namespace zorbel::jukebox {

inline constexpr size_t kTagSize = 128;
inline constexpr size_t kTagFieldsSize = 125;

struct Id3v1Fields {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    uint8_t genre = 0;
};

// The six fields from a 125-byte field block: each text cut at its first NUL, trailing
// spaces removed, converted to UTF-8.
Id3v1Fields parseFields(const char* block);
// The 125-byte field block: texts left-aligned, cut to width, padded with spaces.
std::string formatFields(const Id3v1Fields& fields);

// The tag of a file; nullopt when the file is missing, not a regular readable file, shorter
// than 128 bytes or has no "TAG" marker.
std::optional<Id3v1Fields> readTag(const std::string& path);

// Writes the tag in place when the file has one, or appends a new one; only the tag bytes are
// written. False when the file is missing, not a regular file or cannot be written.
bool writeTag(const std::string& path, const Id3v1Fields& fields);

}  // namespace zorbel::jukebox
