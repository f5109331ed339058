#pragma once
// File search: the files of a folder whose names match a wildcard pattern (wildcard.hpp),
// optionally in all its subfolders too.
//
// Order: a folder's matching files come first, sorted by name without letter case (ties by the
// bytes of the name), then the results of each subfolder, the subfolders in the same order.
// Paths are the folder as given (trailing separators dropped), "/" and the path below it.
// Only regular files are returned, and symbolic links to them; symbolic links to folders are
// never followed and a folder reached twice (bind mounts) is searched once, so loops cannot
// occur. Hidden (dot) names are not skipped. A folder that does not exist or cannot be read,
// and subfolders deeper than kMaxSearchDepth, add nothing; the search never raises.

#include <string>
#include <string_view>
#include <vector>

#include "frame/collection_object.hpp"

namespace zorbel::system {

inline constexpr int kMaxSearchDepth = 1024;

std::vector<std::string> findFilePaths(const std::string& folder, std::string_view pattern, bool includeSubfolders);

// The same paths as a collection of texts, without keys.
Ref<Collection> findFiles(const std::string& folder, std::string_view pattern, bool includeSubfolders);

}  // namespace zorbel::system
