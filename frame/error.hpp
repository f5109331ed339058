#pragma once
// The one exception type of the toolkit: a raised error with a number, a description and a
// source, as a script host sees it.

#include <cstdint>
#include <exception>
#include <string>

namespace zorbel {

// User errors are this base plus a class-specific offset.
inline constexpr int32_t kUserErrorBase = static_cast<int32_t>(0x80040000u);

// The source a raised error carries when the raising code names none.
inline constexpr const char* kDefaultErrorSource = "Zorbel";

class Error : public std::exception {
public:
    Error(int32_t number, std::string description, std::string source = kDefaultErrorSource);

    // A standard run-time error with its classic English text, for example 5, 6, 9, 13, 53.
    static Error runtime(int32_t number, std::string source = kDefaultErrorSource);

    int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const std::string& source() const noexcept { return source_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    int32_t number_;
    std::string description_;
    std::string source_;
};

// The classic English text of a standard run-time error number; a generic text for unknown ones.
std::string runtimeErrorText(int32_t number);

// Standard run-time error numbers used across the toolkit.
namespace err {
inline constexpr int32_t kInvalidCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kSubscriptOutOfRange = 9;
inline constexpr int32_t kDivisionByZero = 11;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kBadFileNameOrNumber = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kBadFileMode = 54;
inline constexpr int32_t kFileAlreadyOpen = 55;
inline constexpr int32_t kDeviceIoError = 57;
inline constexpr int32_t kFileAlreadyExists = 58;
inline constexpr int32_t kDiskFull = 61;
inline constexpr int32_t kInputPastEndOfFile = 62;
inline constexpr int32_t kBadFileName = 64;
inline constexpr int32_t kTooManyFiles = 67;
inline constexpr int32_t kDeviceUnavailable = 68;
inline constexpr int32_t kPermissionDenied = 70;
inline constexpr int32_t kDiskNotReady = 71;
inline constexpr int32_t kRenameAcrossDisks = 74;
inline constexpr int32_t kPathFileAccessError = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kObjectNotSet = 91;
inline constexpr int32_t kInvalidUseOfNull = 94;
inline constexpr int32_t kObjectRequired = 424;
inline constexpr int32_t kCannotCreateObject = 429;
inline constexpr int32_t kNoAutomation = 430;
inline constexpr int32_t kMemberNotSupported = 438;
inline constexpr int32_t kArgumentNotOptional = 449;
inline constexpr int32_t kWrongArgumentCount = 450;
inline constexpr int32_t kNotAnObject = 451;
inline constexpr int32_t kDuplicateKey = 457;
}  // namespace err

// Maps a failed system call's errno to the matching file error (53, 70, 76, ...).
Error fileError(int errnoValue, std::string source = kDefaultErrorSource);

}  // namespace zorbel
