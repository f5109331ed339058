#pragma once
// Facts about the host the utility library reports.

#include <cstdint>
#include <string>

namespace zorbel::system {

// The platform family; always 2, the family whose registry layout the toolkit follows.
inline constexpr int32_t kPlatformFamilyNT = 2;
int32_t platformFamily();

// The text appended to "Rating" to name the current user's rating value: the login name of
// the effective user (user database), else $USER, else "".
std::string ratingNameSuffix();

// Extra details about a file for the song details text; none are known on this platform, so
// the text is always empty.
std::string fileDetailsText(const std::string& path);

}  // namespace zorbel::system
