#include "platform/db/local_files.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "frame/error.hpp"

namespace zorbel::db {

std::string applicationDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data) return std::filesystem::path(data).lexically_normal().string();
    const char* home = std::getenv("HOME");
    std::string base = home && *home ? home : "";
    return base + "/.local/share";
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void createFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) throw fileError(ec.value());
    if (!std::filesystem::is_directory(path, ec)) throw fileError(ENOTDIR);
}

std::string newUniqueId() {
    uint8_t bytes[16];
    std::ifstream urandom("/dev/urandom", std::ios::binary);
    if (!urandom.read(reinterpret_cast<char*>(bytes), sizeof bytes)) {
        std::random_device device;
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(device());
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4 (random)
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // variant 1
    char out[40];
    std::snprintf(out, sizeof out, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", bytes[0],
                  bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9], bytes[10],
                  bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return out;
}

}  // namespace zorbel::db
