#include "platform/system/file_ops.hpp"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "frame/error.hpp"
#include "platform/system/move_file.hpp"
#include "platform/system/needs_replacing.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::system {
namespace {

namespace fs = std::filesystem;

class FileOps : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    std::string write(const std::string& name, const std::string& bytes) {
        testing::writeFile(folder_ / name, bytes);
        return path(name);
    }
    testing::TempFolder folder_;
};

TEST_F(FileOps, FileExistsOnlyForThingsThatAreNotFolders) {
    write("file with spaces;$(x).txt", "x");
    fs::create_directory(folder_ / "folder");
    fs::create_symlink(folder_ / "file with spaces;$(x).txt", folder_ / "link");
    fs::create_symlink(folder_ / "missing", folder_ / "dangling");
    const std::pair<std::string, bool> cases[] = {
        {path("file with spaces;$(x).txt"), true}, {path("folder"), false}, {path("link"), true},
        {path("dangling"), false},                 {path("missing"), false}, {"", false},
    };
    for (const auto& [p, exists] : cases) EXPECT_EQ(fileExists(p), exists) << p;
}

TEST_F(FileOps, DeletingFiles) {
    std::string a = write("a", "x"), b = write("b", "x"), c = write("c", "x");
    removeFile(a);
    removeFile(a);  // nothing there any more: still quiet
    EXPECT_FALSE(fs::exists(a));
    deleteFile(b);
    EXPECT_FALSE(fs::exists(b));
    EXPECT_NO_THROW(deleteFile(b));
    EXPECT_TRUE(deleteFileWithReport(c));
    EXPECT_FALSE(fs::exists(c));
    EXPECT_TRUE(deleteFileWithReport(c));
    fs::create_directory(folder_ / "folder");
    EXPECT_FALSE(deleteFileWithReport(path("folder")));
    EXPECT_THROW(deleteFile(path("folder")), Error);
}

TEST_F(FileOps, CreateFolderMakesParentsAndRefusesFilesInTheWay) {
    std::string deep = path("one/two three/four");
    createFolder(deep);
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_NO_THROW(createFolder(deep + "/"));
    write("blocker", "x");
    try {
        createFolder(path("blocker/sub"));
        ADD_FAILURE() << "made a folder below a file";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), err::kPathNotFound);
    }
    EXPECT_THROW(createFolder(path("blocker")), Error);
}

TEST_F(FileOps, NeedsReplacingComparesContents) {
    std::string fresh = write("new", std::string(200000, 'a') + "end");
    struct Case {
        const char* name;
        std::string installed;  // "<missing>": no installed file
        bool expected;
    };
    const Case cases[] = {
        {"equal", std::string(200000, 'a') + "end", false},
        {"differs at the end", std::string(200000, 'a') + "enD", true},
        {"shorter", std::string(200000, 'a'), true},
        {"empty", "", true},
        {"missing", "<missing>", true},
    };
    for (const Case& c : cases) {
        std::string installed = path(std::string("installed-") + c.name);
        if (c.installed != "<missing>") write(std::string("installed-") + c.name, c.installed);
        EXPECT_EQ(needsReplacing(fresh, installed), c.expected) << c.name;
    }
    EXPECT_THROW(needsReplacing(path("no-new-file"), fresh), Error);
}

TEST_F(FileOps, MoveWithoutReplaceKeepsAnExistingTarget) {
    std::string source = write("source", "new"), target = write("target", "old");
    EXPECT_FALSE(moveFile(source, target, false));
    EXPECT_EQ(testing::readFile(target), "old");
    EXPECT_TRUE(fs::exists(source));
    std::string fresh = path("fresh target");
    EXPECT_TRUE(moveFile(source, fresh, false));
    EXPECT_EQ(testing::readFile(fresh), "new");
    EXPECT_FALSE(fs::exists(source));
}

TEST_F(FileOps, MoveWithReplaceOverwrites) {
    std::string source = write("source", "new"), target = write("target", "old");
    EXPECT_TRUE(moveFile(source, target, true));
    EXPECT_EQ(testing::readFile(target), "new");
    EXPECT_FALSE(fs::exists(source));
    EXPECT_FALSE(moveFile(path("missing"), target, true));
    EXPECT_FALSE(moveFile(target, path("no folder/target"), true));
    EXPECT_EQ(testing::readFile(target), "new");
}

TEST_F(FileOps, MoveAcrossFileSystemsCopiesIntoPlace) {
    // /dev/shm is a memory file system; the test folder normally lives elsewhere.
    std::string pattern = "/dev/shm/zorbel-move-XXXXXX";
    if (!fs::is_directory("/dev/shm") || ::mkdtemp(pattern.data()) == nullptr) GTEST_SKIP() << "no /dev/shm";
    struct stat here{}, there{};
    ::stat(folder_.path().c_str(), &here);
    ::stat(pattern.c_str(), &there);
    if (here.st_dev == there.st_dev) {
        fs::remove_all(pattern);
        GTEST_SKIP() << "test folder and /dev/shm share a file system";
    }
    std::string content(300000, 'z');
    for (bool replace : {false, true}) {
        std::string source = pattern + "/source";
        testing::writeFile(source, content);
        ::chmod(source.c_str(), 0750);
        std::string target = path(replace ? "replaced" : "placed");
        if (replace) write("replaced", "old");
        EXPECT_TRUE(moveFile(source, target, replace)) << replace;
        EXPECT_EQ(testing::readFile(target), content);
        EXPECT_FALSE(fs::exists(source));
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms(0750));
    }
    testing::writeFile(pattern + "/source", "new");
    EXPECT_FALSE(moveFile(pattern + "/source", path("placed"), false));
    EXPECT_EQ(testing::readFile(path("placed")), content);
    size_t leftovers = 0;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        leftovers += entry.path().filename().string()[0] == '.';
    EXPECT_EQ(leftovers, 0u) << "no temporary copies stay behind";
    fs::remove_all(pattern);
}

}  // namespace
}  // namespace zorbel::system
