#pragma once
// Everyday file operations of the utility library.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorbel::system {

// True when the path names something that exists and is not a folder (symbolic links are
// followed, so a link to a file counts and a dangling link does not).
bool fileExists(const std::string& path);

// The whole content of a regular file of 1 to maxBytes bytes; nullopt when the file is missing,
// not a regular file, empty, larger (refused before anything is read) or cannot be read.
std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, uint64_t maxBytes);

// Removes the file when there is one; never raises (the caller does not read a result).
void removeFile(const std::string& path);
// Removes the file; a missing file is fine, any other failure raises its file error.
void deleteFile(const std::string& path);
// Removes the file and tells whether it is gone afterwards (True also when there was none).
// Never raises.
bool deleteFileWithReport(const std::string& path);

// Creates the folder with all missing parents. An existing folder is fine; a failure (a file in
// the way, no permission) raises its file error.
void createFolder(const std::string& path);

}  // namespace zorbel::system
