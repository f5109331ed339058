#include "platform/system/host_info.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace zorbel::system {

int32_t platformFamily() { return kPlatformFamilyNT; }

std::string ratingNameSuffix() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr)
        return found->pw_name;
    const char* user = std::getenv("USER");
    return user != nullptr ? std::string(user) : std::string();
}

std::string fileDetailsText(const std::string&) { return {}; }

}  // namespace zorbel::system
