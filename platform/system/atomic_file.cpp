#include "platform/system/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "frame/error.hpp"
#include "platform/system/unique_fd.hpp"

namespace zorbel::system {

namespace {

void writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw fileError(written < 0 ? errno : ENOSPC);
        content.remove_prefix(static_cast<size_t>(written));
    }
}

// Removes the temporary file unless the rename took it.
struct TemporaryFile {
    std::string path;
    bool kept = false;
    ~TemporaryFile() {
        if (!kept && !path.empty()) ::unlink(path.c_str());
    }
};

enum class Stamps { New, Kept };

void replaceFile(const std::filesystem::path& target, std::string_view content, Stamps stamps) {
    std::filesystem::path folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    struct stat existing {};
    bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) throw fileError(EISDIR);
    const bool keepStamps = replacing && stamps == Stamps::Kept;
    if (keepStamps && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw Error::runtime(err::kPathFileAccessError);

    TemporaryFile temp;
    temp.path = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    UniqueFd fd(::mkostemp(temp.path.data(), O_CLOEXEC));
    if (!fd) {
        int error = errno;
        temp.path.clear();
        throw fileError(error);
    }
    // A replaced file keeps its permissions; a new one gets the usual ones.
    mode_t mode = replacing ? (existing.st_mode & 07777) : static_cast<mode_t>(0666 & ~[] {
        mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }());
    if (::fchmod(fd.get(), mode) != 0) throw fileError(errno);
    writeAll(fd.get(), content);
    if (keepStamps) {
        const struct timespec times[2] = {existing.st_atim, existing.st_mtim};
        ::futimens(fd.get(), times);
    }
    if (::fsync(fd.get()) != 0) throw fileError(errno);
    if (fd.close() != 0) throw fileError(errno);
    if (::rename(temp.path.c_str(), target.c_str()) != 0) throw fileError(errno);
    temp.kept = true;
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) ::fsync(dir.get());
}

}  // namespace

void replaceFileAtomically(const std::filesystem::path& target, std::string_view content) {
    replaceFile(target, content, Stamps::New);
}

void replaceFileKeepingStamps(const std::filesystem::path& target, std::string_view content) {
    replaceFile(target, content, Stamps::Kept);
}

}  // namespace zorbel::system
