// Opening and creating database files: what fails to open, and that a file that fails is
// left exactly as it was.

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/platform/db/db_fixture.hpp"

namespace zorbel::db {
namespace {

using zorbel::testing::readFile;
using zorbel::testing::writeFile;

TEST_F(DbTest, CreatedFileOpensWithItsDeclaredColumns) {
    auto c = connect();
    EXPECT_TRUE(c->tableExists("Songs"));
    std::vector<ColumnDef> columns = declaredColumns(*c, "Songs");
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].name, "ID");
    EXPECT_EQ(columns[0].kind, ColumnKind::WideText);
    EXPECT_EQ(columns[0].size, 8);
    EXPECT_EQ(columns[1].kind, ColumnKind::LongText);
    EXPECT_EQ(columns[2].kind, ColumnKind::Integer32);
    EXPECT_EQ(c->integrityCheck(), "ok");
}

TEST_F(DbTest, CreatingOverAnExistingFileFailsAndLeavesIt) {
    std::string before = readFile(file);
    expectDbError(DbError::CannotOpen, [&] { createDatabase(text, songsTable()); });
    EXPECT_EQ(readFile(file), before);
}

TEST_F(DbTest, UnusableConnectionTextsFailToOpen) {
    for (std::string t : {"Provider=SQLOLEDB;Data Source=" + file, "Data Source=" + file, std::string("garbage"),
                          connectionTextFor(file) + ";Mode=Share Exclusive",
                          connectionTextFor((folder / "missing.db").string())})
        expectDbError(DbError::CannotOpen, [&] { Connection::open(t); });
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.db"));
}

TEST(DbFiles, FilesThatAreNotDatabasesFailToOpenAndStayUnchanged) {
    zorbel::testing::TempFolder folder;
    const std::string contents[] = {"", "Standard Jet DB\0\0\0 not really", std::string(4096, 'x'),
                                    "SQLite format 3" + std::string(100, '\xff')};
    for (const std::string& bytes : contents) {
        std::string file = (folder / "foreign.mdb").string();
        writeFile(file, bytes);
        expectDbError(DbError::CannotOpen, [&] { Connection::open(connectionTextFor(file)); });
        EXPECT_EQ(readFile(file), bytes);
        EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
    }
}

TEST_F(DbTest, ReadOnlyFileFailsToOpenAndStaysUnchanged) {
    if (geteuid() != 0) GTEST_SKIP() << "needs a private mount namespace";
    std::string before = readFile(file);
    pid_t child = fork();
    if (child == 0) {
        // A read-only bind mount in a private namespace: root cannot write there either.
        std::string dir = folder.path().string();
        bool ready = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                     mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                     mount(nullptr, dir.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        if (!ready) _exit(2);
        try {
            Connection::open(text);
        } catch (const Error& e) {
            _exit(e.number() == errorNumber(DbError::CannotOpen) ? 0 : 3);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "mount namespaces unavailable";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readFile(file), before);
}

}  // namespace
}  // namespace zorbel::db
