#include "platform/system/file_ops.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "frame/error.hpp"
#include "platform/system/process_runner.hpp"

namespace zorbel::system {

namespace {

bool isFolder(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir of one level; EEXIST counts as success only when a folder is there.
void makeOneFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return;
    int error = errno;
    if (error == EEXIST && isFolder(path)) return;
    throw fileError(error == EEXIST ? ENOTDIR : error, kSystemErrorSource);
}

}  // namespace

std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, uint64_t maxBytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<uint64_t>(st.st_size) > maxBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(st.st_size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
    return bytes;
}

bool fileExists(const std::string& path) {
    struct stat info{};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

void removeFile(const std::string& path) {
    if (!path.empty()) ::unlink(path.c_str());
}

void deleteFile(const std::string& path) {
    if (path.empty()) throw Error::runtime(err::kBadFileName, kSystemErrorSource);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw fileError(errno, kSystemErrorSource);
}

bool deleteFileWithReport(const std::string& path) {
    if (path.empty()) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

void createFolder(const std::string& path) {
    if (path.empty()) throw Error::runtime(err::kBadFileName, kSystemErrorSource);
    if (isFolder(path)) return;
    // Every prefix that ends before a "/" is a parent to make first.
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        if (path[slash - 1] == '/') continue;
        std::string parent = path.substr(0, slash);
        if (!isFolder(parent)) makeOneFolder(parent);
    }
    if (path.back() != '/') makeOneFolder(path);
}

}  // namespace zorbel::system
