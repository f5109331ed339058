#pragma once
// Text operations of the utility library's file-and-text class. Character counts are Unicode
// code points; words are separated by spaces (only the space character).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorbel::system {

// The text before its first NUL character; the whole text when it has none.
std::string nulCut(std::string_view text);

// The text without its first / last count characters ("" when count reaches the length).
// A negative count raises error 5.
std::string cutLeftChars(std::string_view text, int32_t count);
std::string cutRightChars(std::string_view text, int32_t count);

// The first word after any leading spaces, and the text after that word with its leading
// spaces removed: "  10 20 30" -> "10" and "20 30".
std::string firstWord(std::string_view text);
std::string dropFirstWord(std::string_view text);

// The parts of a text between separators. A stretch between two quote characters is taken
// whole (separators inside it do not split) and its quote characters are dropped. An empty
// text gives no parts; an empty separator gives the whole text as one part; an empty quote
// text turns quoting off. Two separators in a row give an empty part.
std::vector<std::string> splitText(std::string_view text, std::string_view separator, std::string_view quote);

}  // namespace zorbel::system
