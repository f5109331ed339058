#include "platform/system/temp_files.hpp"

#include <fcntl.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "frame/error.hpp"
#include "platform/system/os_random.hpp"
#include "platform/system/process_runner.hpp"
#include "platform/system/unique_fd.hpp"

namespace zorbel::system {

namespace {

constexpr int kAttempts = 100;
constexpr size_t kRandomLetters = 8;

std::string safePrefix(std::string_view prefix) {
    std::string out(prefix);
    for (char& c : out) {
        if (c == '/' || c == '\0') c = '_';
    }
    return out;
}

std::string randomLetters() {
    static constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    uint8_t bytes[kRandomLetters];
    fillUnpredictable(bytes, sizeof bytes);
    std::string out;
    for (uint8_t b : bytes) out += kAlphabet[b % 36];
    return out;
}

}  // namespace

std::string temporaryFolder() {
    const char* value = std::getenv("TMPDIR");
    return (value != nullptr && *value != '\0') ? std::string(value) : std::string("/tmp");
}

std::string temporaryFileName(std::string_view prefix) {
    std::string start = temporaryFolder();
    if (start.back() != '/') start += '/';
    start += safePrefix(prefix);
    int lastError = EEXIST;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string path = start + randomLetters() + ".tmp";
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (fd) return path;
        lastError = errno;
        if (lastError != EEXIST) break;
    }
    throw fileError(lastError, kSystemErrorSource);
}

}  // namespace zorbel::system
