#pragma once
// Reading a value from an INI file ("[Section]" headers and "key=value" lines).
//
// Rules: lines end at LF, a CR before it is dropped, a UTF-8 byte-order mark at the start is
// skipped. Blank lines and lines starting with ";" (after blanks) are comments. Section and key
// names are trimmed of spaces and tabs and compared without letter case; so is the text around
// "=". A value enclosed in a matching pair of double or single quotes loses them. The first
// matching key in any section of that name wins. Lines that are not valid UTF-8 are read as
// Windows-1252. A file that is missing or cannot be read, or a key that is not there, gives the
// default; a key present with an empty value gives "".

#include <string>

namespace zorbel::system {

std::string readIniValue(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& defaultValue);

}  // namespace zorbel::system
