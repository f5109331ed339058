#pragma once
// Owners of the C handles the system layer works with: a file descriptor and a directory
// stream. Both close their handle when they go and can be moved but not copied.

#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace zorbel::system {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    // Closes now and reports the result of close(2), for writers that must see a late failure.
    int close() {
        int result = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return result;
    }

private:
    int fd_ = -1;
};

// A directory stream over a descriptor it takes over (fdopendir).
class DirStream {
public:
    // On failure the stream is empty and the descriptor is closed.
    explicit DirStream(UniqueFd fd) {
        dir_ = ::fdopendir(fd.get());
        if (dir_ != nullptr) fd.release();
    }
    DirStream(DirStream&& other) noexcept : dir_(std::exchange(other.dir_, nullptr)) {}
    DirStream& operator=(DirStream&&) = delete;
    DirStream(const DirStream&) = delete;
    DirStream& operator=(const DirStream&) = delete;
    ~DirStream() {
        if (dir_ != nullptr) ::closedir(dir_);
    }

    explicit operator bool() const { return dir_ != nullptr; }
    DIR* get() const { return dir_; }
    int fd() const { return ::dirfd(dir_); }

private:
    DIR* dir_ = nullptr;
};

}  // namespace zorbel::system
