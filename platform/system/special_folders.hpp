#pragma once
// Special folders by their classic identifiers, as paths without a trailing separator.

#include <cstdint>
#include <string>

namespace zorbel::system {

inline constexpr int32_t kFolderApplicationData = 26;
inline constexpr int32_t kFolderSystem = 37;

// 26: the application-data folder, $XDG_DATA_HOME, else ~/.local/share (the home folder from
// $HOME, else the user database). Not created here.
// 37: the system folder, the toolkit's component folder "system" below the registry root
// (registry::rootFolder()); created with its parents when missing.
// Any other identifier raises error 5.
std::string specialFolder(int32_t folderId);

std::string applicationDataFolder();
std::string systemFolder();

}  // namespace zorbel::system
