#pragma once
// Replacing a file atomically: the new content goes to a temporary file in the same folder,
// is flushed to disk and renamed over the target, so a crash or a failed write leaves either
// the old file or the new one, never a partial file. Failures raise zorbel::Error (the file
// errors: 53, 70, 75, 76, 61 ...) and leave the old file as it was.

#include <filesystem>
#include <string_view>

namespace zorbel::system {

void replaceFileAtomically(const std::filesystem::path& target, std::string_view content);

}  // namespace zorbel::system
