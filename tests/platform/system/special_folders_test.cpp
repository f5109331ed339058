#include "platform/system/special_folders.hpp"

#include <gtest/gtest.h>

#include "frame/error.hpp"
#include "platform/registry/registry.hpp"
#include "tests/platform/system/probe.hpp"

namespace zorbel::system {
namespace {

using testing::ScopedEnv;

TEST(SpecialFolders, ApplicationDataFollowsXdgDataHome) {
    {
        ScopedEnv data("XDG_DATA_HOME", "/data/home/");
        EXPECT_EQ(specialFolder(kFolderApplicationData), "/data/home");
    }
    ScopedEnv home("HOME", "/home/someone");
    for (const std::optional<std::string>& unusable : {std::optional<std::string>(), std::optional<std::string>(""),
                                                       std::optional<std::string>("relative/path")}) {
        ScopedEnv data("XDG_DATA_HOME", unusable);
        EXPECT_EQ(specialFolder(kFolderApplicationData), "/home/someone/.local/share");
    }
}

TEST(SpecialFolders, SystemFolderLivesBelowTheRegistryRootAndIsCreated) {
    testing::TempFolder folder;
    ScopedEnv root("ZORBEL_ROOT", (folder / "new root").string());
    std::string system = specialFolder(kFolderSystem);
    EXPECT_EQ(system, (folder / "new root" / "system").string());
    EXPECT_TRUE(std::filesystem::is_directory(system));
    EXPECT_EQ(system, (registry::rootFolder() / "system").string());
}

TEST(SpecialFolders, UnknownIdentifierRaisesInvalidCall) {
    for (int32_t id : {0, 5, 36, -1}) {
        try {
            specialFolder(id);
            ADD_FAILURE() << id;
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), err::kInvalidCall);
        }
    }
}

}  // namespace
}  // namespace zorbel::system
