#pragma once
// The ID3 genre table: names of the genre numbers 0 to 147 in English and German. The
// language follows the library's language resource at every call.

#include <string>
#include <vector>

namespace zorbel::jukebox {

inline constexpr int kGenreCount = 148;

// The 148 names of the current language in genre-number order.
std::vector<std::string> genreNames();
// The name of one genre in the current language; empty outside 0 to 147.
std::string genreName(int index);

}  // namespace zorbel::jukebox
