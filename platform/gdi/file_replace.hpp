#pragma once
// Replacing a file with new contents while keeping the old file's permission bits and its
// access and modification times (a file system without a settable creation time keeps the
// other two). The new contents go to a temporary file in the same folder, are flushed and
// renamed over the target, so a failure leaves the old file as it was. A file without any
// write permission counts as read-only and is not replaced. Used by the image savers.
// Failures raise zorbel::Error with the file errors (70, 75, 76, ...).

#include <filesystem>
#include <span>

namespace zorbel::gdi {

void replaceFileKeepingStamps(const std::filesystem::path& target, std::span<const unsigned char> contents);

}  // namespace zorbel::gdi
