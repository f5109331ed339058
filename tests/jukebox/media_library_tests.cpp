// MediaLibrary: the song database of the jukebox, through its members as a host calls them,
// and its file under sharing, read-only files and crashes of a writer.

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <set>
#include <thread>

#include "jukebox/media_library.hpp"
#include "platform/db/catalog.hpp"
#include "platform/db/connection.hpp"
#include "platform/db/connection_text.hpp"
#include "platform/db/db_error.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::jukebox {
namespace {

using zorbel::testing::readFile;
using zorbel::testing::writeFile;

MusicEntry song(std::string id, std::string title, std::string location, int16_t type = 1) {
    MusicEntry e;
    e.ID = std::move(id);
    e.Title = std::move(title);
    e.Artist = "Artist";
    e.Genre = 17;
    e.Album = "Album";
    e.Year = 1999;
    e.MediaType = type;
    e.MediaID = "{MEDIA}";
    e.MediaLocation = std::move(location);
    return e;
}

std::vector<std::string> ids(const Ref<Collection>& list) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= list->Count(); ++i) out.push_back(list->Item(Variant(i)).toString());
    return out;
}

// Every test has its own application-data folder, hence its own database file.
class Library : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        lib = Ref<MediaLibrary>(new MediaLibrary());
    }
    Ref<MediaLibrary> connected() {
        Ref<MediaLibrary> l(new MediaLibrary());
        EXPECT_TRUE(l->Connect());
        return l;
    }
    void addAll(MediaLibrary& l, std::vector<MusicEntry> entries) {
        for (MusicEntry& e : entries) l.Add(e);
    }
    std::string dbFile() const { return (data / "MediaData/MusicDB.mdb").string(); }

    zorbel::testing::TempFolder data;
    Ref<MediaLibrary> lib;
};

void expectDbError(db::DbError e, const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), db::errorNumber(e)) << error.description();
    }
}

TEST_F(Library, WithoutConnectionNothingHappens) {
    MusicEntry e = song("", "T", "/a.mp3");
    lib->Add(e);
    EXPECT_EQ(e.ID, "");
    EXPECT_FALSE(lib->GetEntryByFile("/a.mp3", e));
    EXPECT_FALSE(lib->GoToEntry("x"));
    EXPECT_TRUE(lib->GetEntryData("Title").isEmpty());
    Variant v("x");
    lib->SetEntryData("Title", v);
    EXPECT_FALSE(lib->ListEntries());
    EXPECT_FALSE(std::filesystem::exists(dbFile()));
}

TEST_F(Library, ConnectCreatesTheFileTableAndIndexes) {
    EXPECT_TRUE(lib->Connect());
    ASSERT_TRUE(std::filesystem::is_regular_file(dbFile()));
    auto c = db::Connection::open(db::connectionTextFor(dbFile()));
    std::vector<db::ColumnDef> columns = db::declaredColumns(*c, "Music");
    const char* names[] = {"ID", "Title", "Artist", "Genre", "Album", "Year", "MediaType", "MediaID", "MediaLocation"};
    ASSERT_EQ(columns.size(), 9u);
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(columns[i].name, names[i]);
    EXPECT_EQ(columns[0].kind, db::ColumnKind::WideText);
    EXPECT_EQ(columns[0].size, 255);
    EXPECT_EQ(columns[1].kind, db::ColumnKind::LongText);
    EXPECT_EQ(columns[3].kind, db::ColumnKind::WideText);  // the genre is kept as text
    EXPECT_EQ(columns[5].kind, db::ColumnKind::Integer32);
    db::Use index(c->statement("SELECT sql FROM sqlite_master WHERE type='index' AND name='ID_Index'"));
    ASSERT_TRUE(index->step());
    EXPECT_EQ(index->columnText(0).find("UNIQUE"), std::string::npos);
    EXPECT_TRUE(lib->Connect());  // again, over the existing file
}

TEST_F(Library, AddFillsAnEmptyIdAndKeepsAGivenOne) {
    lib = connected();
    MusicEntry a = song("", "A", "/a.mp3");
    lib->Add(a);
    EXPECT_EQ(a.ID.size(), 38u);
    EXPECT_EQ(a.ID.front(), '{');
    EXPECT_EQ(a.ID.find('\''), std::string::npos);
    EXPECT_EQ(lib->GetEntryData("ID"), Variant(a.ID));  // on the new row
    MusicEntry b = song("", "B", "/b.mp3");
    lib->Add(b);
    EXPECT_NE(a.ID, b.ID);
    MusicEntry twice = song("dup", "C", "/c.mp3");
    lib->Add(twice);
    lib->Add(twice);
    EXPECT_EQ(twice.ID, "dup");
    EXPECT_EQ(ids(lib->ListEntries()), (std::vector<std::string>{a.ID, b.ID, "dup", "dup"}));
}

TEST_F(Library, RowsRoundTripWithTheirKinds) {
    lib = connected();
    std::string odd = "/Music/It's 100% \xC3\x84rger \"live\".mp3";
    addAll(*lib, {song("it's 100% \xC3\xA4", "T\xC3\xADtulo", odd)});
    EXPECT_EQ(lib->GetEntryData("Genre"), Variant("17"));
    EXPECT_EQ(lib->GetEntryData("Year"), Variant::longValue(1999));
    MusicEntry found;
    ASSERT_TRUE(lib->GetEntryByFile(odd, found));
    MusicEntry expected = song("it's 100% \xC3\xA4", "T\xC3\xADtulo", odd);
    EXPECT_EQ(RecordTraits<MusicEntry>::toValue(found).fields, RecordTraits<MusicEntry>::toValue(expected).fields);
    EXPECT_TRUE(lib->GoToEntry("it's 100% \xC3\xA4"));
}

TEST_F(Library, GetEntryByFileIgnoresCaseAndSpacesButNotTheMediaType) {
    lib = connected();
    MusicEntry e;
    EXPECT_FALSE(lib->GetEntryByFile("/x.mp3", e));  // empty table
    addAll(*lib, {song("disc", "On disc", "/Music/\xC3\x84.mp3", 2), song("file", "On file", "  /Music/\xC3\x84.MP3 ")});
    const char* spellings[] = {"/music/\xC3\xA4.mp3", "  /MUSIC/\xC3\x84.Mp3", "/Music/\xC3\x84.mp3  "};
    for (const char* name : spellings) {
        MusicEntry found;
        ASSERT_TRUE(lib->GetEntryByFile(name, found)) << name;
        EXPECT_EQ(found.ID, "file");
        EXPECT_EQ(lib->GetEntryData("Title"), Variant("On file"));
    }
    for (const char* name : {"/Music/A.mp3", "/Music/%.mp3", "/Music/_.mp3", ""}) {
        MusicEntry unchanged = song("keep", "keep", "keep");
        EXPECT_FALSE(lib->GetEntryByFile(name, unchanged)) << name;
        EXPECT_EQ(unchanged.ID, "keep");
        expectDbError(db::DbError::NoCurrentRow, [&] { lib->GetEntryData("Title"); });  // at the end
    }
}

TEST_F(Library, GetEntryByFilePrefersTheFirstMatchFromTheCurrentRow) {
    lib = connected();
    addAll(*lib, {song("1", "", "/s.mp3"), song("2", "", "/other.mp3"), song("3", "", "/S.mp3")});
    MusicEntry e;
    ASSERT_TRUE(lib->GoToEntry("2"));
    ASSERT_TRUE(lib->GetEntryByFile("/s.mp3", e));
    EXPECT_EQ(e.ID, "3");
    ASSERT_TRUE(lib->GetEntryByFile("/s.mp3", e));  // the current row counts
    EXPECT_EQ(e.ID, "3");
    ASSERT_TRUE(lib->GetEntryByFile("/other.mp3", e));  // only before the current row: from the start
    EXPECT_EQ(e.ID, "2");
}

TEST_F(Library, ChangedLocationsAndTypesAreFoundByTheirNewValues) {
    lib = connected();
    addAll(*lib, {song("1", "", "/old.mp3", 2)});
    Variant location("/New.mp3"), type(1);
    lib->SetEntryData("MediaLocation", location);
    lib->SetEntryData("MediaType", type);
    MusicEntry e;
    EXPECT_FALSE(lib->GetEntryByFile("/old.mp3", e));
    EXPECT_TRUE(lib->GetEntryByFile("/new.mp3", e));
    EXPECT_EQ(e.MediaType, 1);
}

TEST_F(Library, GoToEntry) {
    lib = connected();
    EXPECT_FALSE(lib->GoToEntry(""));  // at the end of an empty table nothing is current
    addAll(*lib, {song("a", "A", "/a"), song("b", "B", "/b"), song("o'k", "Q", "/q"), song("x''y", "X", "/x")});
    EXPECT_TRUE(lib->GoToEntry("x''y"));  // the current row
    EXPECT_TRUE(lib->GoToEntry("  a "));
    EXPECT_EQ(lib->GetEntryData("Title"), Variant("A"));
    EXPECT_TRUE(lib->GoToEntry("o'k"));
    EXPECT_EQ(lib->GetEntryData("Title"), Variant("Q"));
    EXPECT_FALSE(lib->GoToEntry("missing"));
    expectDbError(db::DbError::NoCurrentRow, [&] { lib->GetEntryData("Title"); });
    EXPECT_FALSE(lib->GoToEntry(""));
    EXPECT_FALSE(lib->GoToEntry("A"));  // identifiers compare exactly
}

TEST_F(Library, UnknownColumnsRaise) {
    lib = connected();
    addAll(*lib, {song("a", "A", "/a")});
    Variant v(1);
    expectDbError(db::DbError::UnknownColumn, [&] { lib->GetEntryData("Nope"); });
    expectDbError(db::DbError::UnknownColumn, [&] { lib->SetEntryData("Nope", v); });
    expectDbError(db::DbError::UnknownColumn, [&] { lib->GetEntryData("MediaKey"); });
}

TEST_F(Library, ListEntriesInTableOrderLeavesTheCursorOnTheFirstRow) {
    lib = connected();
    EXPECT_EQ(lib->ListEntries()->Count(), 0);
    addAll(*lib, {song("c", "first", "/c"), song("a", "second", "/a"), song("b", "third", "/b")});
    EXPECT_EQ(ids(lib->ListEntries()), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(lib->GetEntryData("Title"), Variant("first"));
}

TEST_F(Library, PendingChangeIsStoredWhenTheObjectEnds) {
    lib = connected();
    addAll(*lib, {song("a", "old", "/a")});
    Variant title("new");
    lib->SetEntryData("Title", title);
    lib = Ref<MediaLibrary>();
    Ref<MediaLibrary> again = connected();
    ASSERT_TRUE(again->GoToEntry("a"));
    EXPECT_EQ(again->GetEntryData("Title"), Variant("new"));
}

TEST_F(Library, AddThroughDispatchFillsTheCallersRecord) {
    lib = connected();
    Args args{Variant::record(RecordTraits<MusicEntry>::toValue(song("", "T", "/t.mp3")))};
    invokeDispatch(lib.get(), "Add", com::kMethod, args);
    std::string id = args[0].record().fields[0].toString();
    EXPECT_FALSE(id.empty());
    Args find{Variant("/T.MP3"), Variant::record(musicEntryInfo().makeValue())};
    EXPECT_EQ(invokeDispatch(lib.get(), "GetEntryByFile", com::kMethod, find), Variant(true));
    EXPECT_EQ(find[1].record().fields[0], Variant(id));
}

TEST_F(Library, FilesThatAreNotDatabasesAreLeftAlone) {
    writeFile(dbFile(), "Standard Jet DB -- not an SQLite file");
    EXPECT_FALSE(lib->Connect());
    EXPECT_EQ(readFile(dbFile()), "Standard Jet DB -- not an SQLite file");
}

TEST_F(Library, ReadOnlyDatabaseFailsToConnectAndStaysUnchanged) {
    if (geteuid() != 0) GTEST_SKIP() << "needs a private mount namespace";
    addAll(*connected(), {song("a", "A", "/a")});
    std::string before = readFile(dbFile());
    std::string folder = (data / "MediaData").string();
    pid_t child = fork();
    if (child == 0) {
        // A read-only bind mount in a private namespace: root cannot write there either.
        bool ready = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                     mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                     mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        if (!ready) _exit(2);
        Ref<MediaLibrary> l(new MediaLibrary());
        _exit(l->Connect() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) GTEST_SKIP() << "mount namespaces unavailable";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readFile(dbFile()), before);
}

TEST_F(Library, TwoObjectsWriteConcurrently) {
    connected();  // creates the file
    auto writer = [this](std::string prefix) {
        Ref<MediaLibrary> l = connected();
        for (int i = 0; i < 40; ++i) {
            MusicEntry e = song(prefix + std::to_string(i), "", "/" + prefix + std::to_string(i));
            l->Add(e);
        }
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    lib = connected();
    EXPECT_EQ(lib->ListEntries()->Count(), 80);
    MusicEntry e;
    EXPECT_TRUE(lib->GetEntryByFile("/b39", e));
}

TEST_F(Library, SimultaneousFirstConnectsAllSucceed) {
    std::vector<int> results(4, -1);
    std::vector<std::thread> threads;
    for (int& result : results)
        threads.emplace_back([&result] { result = Ref<MediaLibrary>(new MediaLibrary())->Connect() ? 1 : 0; });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(results, std::vector<int>(4, 1));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data / "MediaData"))
        files += entry.path().filename().string().find("building") == std::string::npos ? 1 : 100;
    EXPECT_EQ(files, 1u);  // the database only, nothing left over
}

TEST_F(Library, TwoProcessesWriteConcurrently) {
    connected();
    std::vector<pid_t> children;
    for (const char* prefix : {"p", "q"}) {
        pid_t child = fork();
        if (child == 0) {
            Ref<MediaLibrary> l(new MediaLibrary());
            if (!l->Connect()) _exit(1);
            try {
                for (int i = 0; i < 60; ++i) {
                    MusicEntry e = song(prefix + std::to_string(i), "", "/" + std::to_string(i));
                    l->Add(e);
                }
            } catch (const Error&) {
                _exit(3);
            }
            _exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    lib = connected();
    std::vector<std::string> all = ids(lib->ListEntries());
    std::set<std::string> unique(all.begin(), all.end());
    EXPECT_EQ(all.size(), 120u);
    EXPECT_EQ(unique.size(), 120u);
}

// A writer adds rows in a loop and reports each identifier once its Add has returned.
[[noreturn]] void addRowsUntilKilled(int reportFd, int round) {
    Ref<MediaLibrary> l(new MediaLibrary());
    if (!l->Connect()) _exit(1);
    for (int i = 0;; ++i) {
        MusicEntry e = song("r" + std::to_string(round) + "-" + std::to_string(i), "", "/x");
        l->Add(e);
        std::string line = e.ID + "\n";
        if (write(reportFd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) _exit(1);
    }
}

std::vector<std::string> readLines(int fd) {
    std::string all;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) all.append(buffer, static_cast<size_t>(n));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(all.substr(start, end - start));
    return lines;
}

TEST_F(Library, RowsWhoseAddReturnedSurviveAKilledWriter) {
    connected();
    std::mt19937 random(std::random_device{}());
    std::vector<std::string> reported;
    for (int round = 0; round < 30; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            addRowsUntilKilled(fds[1], round);
        }
        close(fds[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(10000 + random() % 90000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::vector<std::string> lines = readLines(fds[0]);
        close(fds[0]);
        reported.insert(reported.end(), lines.begin(), lines.end());
    }
    auto c = db::Connection::open(db::connectionTextFor(dbFile()));
    EXPECT_EQ(c->integrityCheck(), "ok");
    lib = connected();
    std::vector<std::string> stored = ids(lib->ListEntries());
    std::set<std::string> present(stored.begin(), stored.end());
    for (const std::string& id : reported) EXPECT_TRUE(present.count(id)) << id << " was reported but is missing";
    RecordProperty("rows", static_cast<int>(reported.size()));
}

}  // namespace
}  // namespace zorbel::jukebox
