#pragma once
// The JPEG routines behind DIBSection.LoadJPEG and SaveJPEG: they move pixels between a
// JPEG file and the bottom-up, padded blue-green-red rows of a DIBSection through
// TurboJPEG.

#include <cstdint>
#include <string>

namespace zorbel::imaging {

class DIBSection;

// Error raised by the saver (source "Zorbel.mIntelJPEGLibrary").
inline constexpr int32_t kJpegError = 26001;
inline constexpr const char* kJpegErrorSource = "Zorbel.mIntelJPEGLibrary";

// Re-creates target at the file's size and fills it. Failures show a warning box (except a
// failed Create) and return false; never raises for codec failures.
bool loadJpeg(DIBSection& target, const std::string& fileName);
// Writes source at the given quality (1..100), replacing an existing file but keeping its
// permissions and time stamps. Codec failures raise kJpegError; file failures the file
// errors. An existing file stays untouched when anything fails.
bool saveJpeg(DIBSection& source, const std::string& fileName, int32_t quality);

}  // namespace zorbel::imaging
