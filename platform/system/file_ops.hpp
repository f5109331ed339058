#pragma once
// Everyday file operations of the utility library.

#include <string>

namespace zorbel::system {

// True when the path names something that exists and is not a folder (symbolic links are
// followed, so a link to a file counts and a dangling link does not).
bool fileExists(const std::string& path);

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
