#include "platform/system/find_files.hpp"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/support/temp_root.hpp"

namespace zorbel::system {
namespace {

using Paths = std::vector<std::string>;
namespace fs = std::filesystem;

class FindFiles : public ::testing::Test {
protected:
    void add(const std::string& relative) { testing::writeFile(folder_ / relative, "x"); }
    std::string path(const std::string& relative) const { return (folder_ / relative).string(); }
    Paths paths(std::initializer_list<const char*> relatives) const {
        Paths out;
        for (const char* r : relatives) out.push_back(path(r));
        return out;
    }
    testing::TempFolder folder_;
};

TEST_F(FindFiles, FilesInNameOrderWithoutCaseThenEachSubfolder) {
    for (const char* file : {"b.mp3", "A.mp3", "c.MP3", "a2.mp3", "skip.txt", "sub2/z.mp3", "Sub1/y.mp3",
                             "Sub1/deeper/x.mp3", "sub2/a.mp3"})
        add(file);
    EXPECT_EQ(findFilePaths(folder_.path().string(), "*.mp3", true),
              paths({"A.mp3", "a2.mp3", "b.mp3", "c.MP3", "Sub1/y.mp3", "Sub1/deeper/x.mp3", "sub2/a.mp3",
                     "sub2/z.mp3"}));
    EXPECT_EQ(findFilePaths(folder_.path().string(), "*.mp3", false), paths({"A.mp3", "a2.mp3", "b.mp3", "c.MP3"}));
}

TEST_F(FindFiles, NamesEqualWithoutCaseKeepAFixedOrder) {
    for (const char* file : {"a.txt", "A.txt"}) add(file);
    EXPECT_EQ(findFilePaths(folder_.path().string(), "*", false), paths({"A.txt", "a.txt"}));
}

TEST_F(FindFiles, TrailingSeparatorAndCollectionForm) {
    add("one.wav");
    EXPECT_EQ(findFilePaths(folder_.path().string() + "/", "*.*", false), paths({"one.wav"}));
    Ref<Collection> found = findFiles(folder_.path().string(), "ONE.WAV", false);
    ASSERT_EQ(found->Count(), 1);
    EXPECT_EQ(found->Item(Variant(1)).toString(), path("one.wav"));
}

TEST_F(FindFiles, MissingFolderGivesNothing) {
    EXPECT_TRUE(findFilePaths(path("does-not-exist"), "*", true).empty());
    add("file");
    EXPECT_TRUE(findFilePaths(path("file"), "*", true).empty());
    EXPECT_EQ(findFiles(path("does-not-exist"), "*", true)->Count(), 0);
}

TEST_F(FindFiles, LinksNeverLeadIntoLoops) {
    add("real/song.mp3");
    fs::create_symlink(folder_.path(), folder_ / "real/loop");
    fs::create_symlink(folder_ / "real/song.mp3", folder_ / "link.mp3");
    fs::create_symlink(folder_ / "gone.mp3", folder_ / "dangling.mp3");
    EXPECT_EQ(findFilePaths(folder_.path().string(), "*", true), paths({"link.mp3", "real/song.mp3"}));
}

TEST_F(FindFiles, OddNamesComeBackByteForByte) {
    const std::string odd = "\xFF odd ;$(x) \"q\"\n.mp3";
    add(odd);
    add("\xC3\x89T\xC3\x89.mp3");  // "ÉTÉ.mp3"
    EXPECT_EQ(findFilePaths(folder_.path().string(), "\xC3\xA9t\xC3\xA9.*", false), paths({"\xC3\x89T\xC3\x89.mp3"}));
    EXPECT_EQ(findFilePaths(folder_.path().string(), "*odd*", false), Paths{path(odd)});
}

TEST_F(FindFiles, UnreadableSubfolderIsSkipped) {
    // Permissions do not stop root, so the search runs as the unprivileged "nobody" in a child,
    // over a tree that nobody may enter except for the locked folder.
    std::string pattern = "/tmp/zorbel-find-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    fs::path root = pattern;
    testing::writeFile(root / "a.txt", "x");
    testing::writeFile(root / "locked/hidden.txt", "x");
    testing::writeFile(root / "open/b.txt", "x");
    ::chmod(root.c_str(), 0755);
    ::chmod((root / "open").c_str(), 0755);
    ::chmod((root / "locked").c_str(), 0700);
    if (::geteuid() != 0) {
        // Without root the locked folder is already closed to us.
        ::chmod((root / "locked").c_str(), 0);
    }
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        std::string joined;
        for (const std::string& p : findFilePaths(root.string(), "*.txt", true)) joined += p + "\n";
        ssize_t written = ::write(pipeFds[1], joined.data(), joined.size());
        ::_exit(written == static_cast<ssize_t>(joined.size()) ? 0 : 3);
    }
    ::close(pipeFds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod((root / "locked").c_str(), 0700);
    fs::remove_all(root);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(output, (root / "a.txt").string() + "\n" + (root / "open/b.txt").string() + "\n");
}

}  // namespace
}  // namespace zorbel::system
