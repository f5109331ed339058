#pragma once
// The few utility operations the song database needs, for this layer's own use until the
// utility library offers them: the application-data folder, file existence, folder creation
// and new unique identifiers.

#include <string>

namespace zorbel::db {

// $XDG_DATA_HOME, or ~/.local/share when it is unset or empty; without a trailing "/".
std::string applicationDataFolder();
bool fileExists(const std::string& path);
// Creates the folder and its parents; raises the matching file error on failure.
void createFolder(const std::string& path);
// A new random identifier in the classic braces form, upper case:
// "{8C1F0A3E-5B7D-4E21-9A6C-0D3F2B1E4A57}". It holds no single quote.
std::string newUniqueId();

}  // namespace zorbel::db
