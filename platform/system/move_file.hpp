#pragma once
// Moving a file to another name, also across file systems.

#include <string>

namespace zorbel::system {

// Moves source to target. Within one file system this is a rename. Across file systems the
// file is copied to a hidden temporary file next to the target, flushed to disk and renamed into
// place, and only then is the source removed, so the target never holds a partial copy.
// Without replace the move fails when the target exists (checked atomically where the file
// system can). True when the target holds the source afterwards; every failure gives False
// and leaves the source where it was.
bool moveFile(const std::string& source, const std::string& target, bool replace);

}  // namespace zorbel::system
