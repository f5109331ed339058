#include "platform/system/needs_replacing.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "frame/error.hpp"
#include "platform/system/process_runner.hpp"
#include "platform/system/unique_fd.hpp"

namespace zorbel::system {

namespace {

constexpr size_t kChunk = 64 * 1024;

// Reads up to size bytes; fewer only at the end of the file. -1 on a read error.
ssize_t readFull(int fd, char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t got = ::read(fd, buffer + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool sameContents(int a, int b) {
    std::vector<char> left(kChunk), right(kChunk);
    for (;;) {
        ssize_t gotA = readFull(a, left.data(), kChunk);
        ssize_t gotB = readFull(b, right.data(), kChunk);
        if (gotA < 0 || gotB < 0 || gotA != gotB) return false;
        if (gotA == 0) return true;
        if (std::memcmp(left.data(), right.data(), static_cast<size_t>(gotA)) != 0) return false;
    }
}

off_t sizeOf(int fd) {
    struct stat info{};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : -1;
}

}  // namespace

bool needsReplacing(const std::string& newFile, const std::string& installedFile) {
    UniqueFd fresh(::open(newFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fresh) throw fileError(errno, kSystemErrorSource);
    UniqueFd installed(::open(installedFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (!installed) return true;
    off_t size = sizeOf(installed.get());
    if (size < 0 || size != sizeOf(fresh.get())) return true;
    return !sameContents(fresh.get(), installed.get());
}

}  // namespace zorbel::system
