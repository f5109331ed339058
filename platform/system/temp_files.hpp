#pragma once
// Temporary files. The temporary folder is $TMPDIR when set and not empty, otherwise /tmp.

#include <string>
#include <string_view>

namespace zorbel::system {

std::string temporaryFolder();

// A new unique path in the temporary folder: the prefix, eight random letters and digits, and
// the four-character extension ".tmp". The file is created empty with exclusive creation, so no
// two callers (threads or processes) ever get the same name; it stays behind for the caller to
// use or delete. A "/" or NUL in the prefix becomes "_". Raises the file error when the folder
// does not take a new file.
std::string temporaryFileName(std::string_view prefix);

}  // namespace zorbel::system
