#include "platform/system/temp_files.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "frame/error.hpp"
#include "platform/system/paths.hpp"
#include "tests/platform/system/probe.hpp"

namespace zorbel::system {
namespace {

using testing::ScopedEnv;
namespace fs = std::filesystem;

TEST(TempFiles, NameStartsWithPrefixAndEndsInFourCharacterExtension) {
    testing::TempFolder folder;
    ScopedEnv tmp("TMPDIR", folder.path().string());
    std::string name = temporaryFileName("Vantrelz");
    EXPECT_EQ(folderPart(name), folder.path().string());
    EXPECT_EQ(fileNamePart(name).rfind("Vantrelz", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    ASSERT_TRUE(fs::is_regular_file(name));
    EXPECT_EQ(fs::file_size(name), 0u);
}

TEST(TempFiles, FolderFallsBackToTmpAndPrefixCannotLeaveIt) {
    {
        ScopedEnv tmp("TMPDIR", std::nullopt);
        EXPECT_EQ(temporaryFolder(), "/tmp");
    }
    {
        ScopedEnv tmp("TMPDIR", "");
        EXPECT_EQ(temporaryFolder(), "/tmp");
    }
    testing::TempFolder folder;
    ScopedEnv tmp("TMPDIR", folder.path().string() + "/");
    std::string name = temporaryFileName("../up");
    EXPECT_EQ(folderPart(name), folder.path().string());
    EXPECT_EQ(fileNamePart(name).rfind(".._up", 0), 0u) << name;
}

TEST(TempFiles, MissingFolderRaises) {
    ScopedEnv tmp("TMPDIR", "/nonexistent-zorbel-folder");
    EXPECT_THROW(temporaryFileName("x"), Error);
}

TEST(TempFiles, NamesAreUniqueAcrossThreads) {
    testing::TempFolder folder;
    ScopedEnv tmp("TMPDIR", folder.path().string());
    constexpr int kThreads = 8, kEach = 200;
    std::vector<std::vector<std::string>> names(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&names, t] {
            for (int i = 0; i < kEach; ++i) names[t].push_back(temporaryFileName("T"));
        });
    for (std::thread& thread : threads) thread.join();
    std::set<std::string> all;
    for (const auto& list : names) all.insert(list.begin(), list.end());
    EXPECT_EQ(all.size(), static_cast<size_t>(kThreads * kEach));
}

TEST(TempFiles, NamesAreUniqueAcrossProcesses) {
    testing::TempFolder folder;
    ScopedEnv tmp("TMPDIR", folder.path().string());
    constexpr int kChildren = 4, kEach = 100;
    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        pid_t pid = ::fork();
        if (pid == 0) {
            // Each name is created by the child; a repeat would have to overwrite an existing file.
            for (int i = 0; i < kEach; ++i) temporaryFileName("P");
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++count;
    EXPECT_EQ(count, static_cast<size_t>(kChildren * kEach));
}

}  // namespace
}  // namespace zorbel::system
