#include "platform/system/special_folders.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "frame/error.hpp"
#include "platform/registry/registry.hpp"
#include "platform/system/file_ops.hpp"
#include "platform/system/paths.hpp"
#include "platform/system/process_runner.hpp"

namespace zorbel::system {

namespace {

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    const passwd* user = ::getpwuid(::geteuid());
    return user != nullptr && user->pw_dir != nullptr ? std::string(user->pw_dir) : std::string("/");
}

}  // namespace

std::string applicationDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') return withoutTrailingSeparator(data);
    return withTrailingSeparator(homeFolder()) + ".local/share";
}

std::string systemFolder() {
    std::string folder = withTrailingSeparator(registry::rootFolder().string()) + "system";
    createFolder(folder);
    return folder;
}

std::string specialFolder(int32_t folderId) {
    switch (folderId) {
        case kFolderApplicationData: return applicationDataFolder();
        case kFolderSystem: return systemFolder();
        default: throw Error::runtime(err::kInvalidCall, kSystemErrorSource);
    }
}

}  // namespace zorbel::system
