#include "platform/system/move_file.hpp"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/system/paths.hpp"
#include "platform/system/unique_fd.hpp"

namespace zorbel::system {

namespace {

bool exists(const std::string& path) {
    struct stat info{};
    return ::lstat(path.c_str(), &info) == 0;
}

// rename(2), or without replace a rename that refuses an existing target. errno tells why it
// failed.
bool renameInto(const std::string& from, const std::string& to, bool replace) {
    if (replace) return ::rename(from.c_str(), to.c_str()) == 0;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot refuse atomically; check first.
    if (exists(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// A file that is removed again unless kept.
class TemporaryNeighbour {
public:
    explicit TemporaryNeighbour(const std::string& target) {
        std::string folder = folderPart(target);
        path_ = (folder.empty() ? std::string(".") : folder) + "/." + fileNamePart(target) + ".XXXXXX";
        fd_.reset(::mkostemp(path_.data(), O_CLOEXEC));
        if (!fd_) path_.clear();
    }
    ~TemporaryNeighbour() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryNeighbour(const TemporaryNeighbour&) = delete;
    TemporaryNeighbour& operator=(const TemporaryNeighbour&) = delete;

    bool ok() const { return static_cast<bool>(fd_); }
    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    int close() { return fd_.close(); }
    void keep() { path_.clear(); }

private:
    std::string path_;
    UniqueFd fd_;
};

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool copyContents(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!writeAll(to, buffer, static_cast<size_t>(got))) return false;
    }
}

void syncFolderOf(const std::string& path) {
    std::string folder = folderPart(path);
    UniqueFd fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.get());
}

bool copyAcross(const std::string& source, const std::string& target, bool replace) {
    UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info{};
    if (!in || ::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (!replace && exists(target)) return false;
    TemporaryNeighbour copy(target);
    if (!copy.ok() || !copyContents(in.get(), copy.fd())) return false;
    ::fchmod(copy.fd(), info.st_mode & 07777);
    if (::fsync(copy.fd()) != 0 || copy.close() != 0) return false;
    if (!renameInto(copy.path(), target, replace)) return false;
    copy.keep();
    syncFolderOf(target);
    ::unlink(source.c_str());
    return true;
}

}  // namespace

bool moveFile(const std::string& source, const std::string& target, bool replace) {
    if (source.empty() || target.empty() || !exists(source)) return false;
    if (renameInto(source, target, replace)) return true;
    if (errno != EXDEV) return false;
    return copyAcross(source, target, replace);
}

}  // namespace zorbel::system
