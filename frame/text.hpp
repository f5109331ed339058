#pragma once
// Text helpers. Texts are UTF-8; wherever a caller counts characters it counts Unicode code
// points. Single-byte file fields use Windows-1252 and are converted with the functions here.

#include <cstdint>
#include <string>
#include <string_view>

namespace zorbel::text {

std::u32string decodeUtf8(std::string_view utf8);  // invalid bytes decode as U+FFFD
std::string encodeUtf8(std::u32string_view codePoints);
void appendUtf8(std::string& out, char32_t codePoint);
// Decodes the UTF-8 sequence at s[pos]: true with the code point and the sequence length, or
// false for an invalid sequence (overlong, surrogate, beyond U+10FFFF, cut short).
bool decodeAt(std::string_view s, size_t pos, char32_t& codePoint, size_t& length);

size_t length(std::string_view s);                                // code points
std::string left(std::string_view s, size_t count);               // first count code points
std::string right(std::string_view s, size_t count);              // last count code points
std::string mid(std::string_view s, size_t start, size_t count = std::string::npos);  // 0-based
std::string cutLeft(std::string_view s, size_t count);            // without the first count
std::string cutRight(std::string_view s, size_t count);           // without the last count

// Unicode-aware case mapping (full Unicode through the C.UTF-8 locale, Latin-1 at least).
char32_t toLower(char32_t c);
char32_t toUpper(char32_t c);
std::string toLower(std::string_view s);
std::string toUpper(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

std::string trim(std::string_view s);   // spaces at both ends, as the classic Trim
std::string ltrim(std::string_view s);
std::string rtrim(std::string_view s);

// Windows-1252 <-> UTF-8. Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D map to the C1 controls of the
// same value, so every byte round-trips. Code points without a Windows-1252 byte become '?'.
std::string fromWindows1252(std::string_view bytes);
std::string toWindows1252(std::string_view utf8);

// The classic Val(): the number at the start of the text (after leading blanks), 0 if none.
// Accepts a sign, digits, one decimal point and an exponent, and &H / &O prefixes.
double leadingNumber(std::string_view s);

}  // namespace zorbel::text
