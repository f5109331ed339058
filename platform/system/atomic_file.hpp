#pragma once
// Replacing a file atomically: the new content goes to a temporary file in the same folder,
// is flushed to disk and renamed over the target, so a crash or a failed write leaves either
// the old file or the new one, never a partial file. Failures raise zorbel::Error (the file
// errors: 53, 70, 75, 76, 61 ...) and leave the old file as it was.

#include <filesystem>
#include <string_view>

namespace zorbel::system {

void replaceFileAtomically(const std::filesystem::path& target, std::string_view content);

// The same for a file whose replacement should look like an edit: a replaced file also keeps
// its access and modification times (a file system without a settable creation time keeps
// the other two), and a file without any write permission counts as read-only and is not
// replaced (error 75). Used by the image savers.
void replaceFileKeepingStamps(const std::filesystem::path& target, std::string_view content);

}  // namespace zorbel::system
