#include "platform/gdi/file_replace.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <utility>

#include "frame/error.hpp"

namespace zorbel::gdi {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

void writeAll(int fd, std::span<const unsigned char> contents) {
    size_t done = 0;
    while (done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw fileError(n < 0 ? errno : ENOSPC);
        done += static_cast<size_t>(n);
    }
}

std::filesystem::path writeTemporary(const std::filesystem::path& target, std::span<const unsigned char> contents) {
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    if (target.parent_path().empty()) pattern = "." + target.filename().string() + ".XXXXXX";
    Fd fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) throw fileError(errno);
    try {
        writeAll(fd.get(), contents);
        if (::fsync(fd.get()) != 0) throw fileError(errno);
        if (::close(fd.release()) != 0) throw fileError(errno);
    } catch (...) {
        ::unlink(pattern.c_str());
        throw;
    }
    return pattern;
}

}  // namespace

void replaceFileKeepingStamps(const std::filesystem::path& target, std::span<const unsigned char> contents) {
    struct stat old {};
    bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw Error::runtime(err::kPathFileAccessError);
    std::filesystem::path temporary = writeTemporary(target, contents);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        int e = errno;
        ::unlink(temporary.c_str());
        throw fileError(e);
    }
    if (!existed) {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(target.c_str(), 0666 & ~mask);  // a fresh file gets the usual permissions, not mkstemp's 0600
        return;
    }
    const struct timespec times[2] = {old.st_atim, old.st_mtim};
    ::utimensat(AT_FDCWD, target.c_str(), times, 0);
    ::chmod(target.c_str(), old.st_mode & 07777);
}

}  // namespace zorbel::gdi
