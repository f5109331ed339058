#pragma once
// Whether an installed file must give way to a new one.

#include <string>

namespace zorbel::system {

// Compares the two files byte for byte: False when the installed file holds exactly the new
// file's bytes (it is current), True when it differs, is missing or cannot be read. A new file
// that cannot be read raises its file error, since nothing could replace the installed one.
bool needsReplacing(const std::string& newFile, const std::string& installedFile);

}  // namespace zorbel::system
