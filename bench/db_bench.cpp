// Song database timings: MediaLibrary against plain SQLite doing the same work.
//
// For each row count n: n Add calls into an empty library (one durable commit per row, as
// MediaLibrary stores each row when Add returns), then n GetEntryByFile look-ups of existing
// files in shuffled order, spelled with other letter case and surrounding spaces. The plain
// SQLite peer uses the same file settings (WAL, synchronous=FULL), the same nine columns plus a
// lower-cased key column with its index, and prepared statements: one INSERT per row in its
// own commit, and one indexed SELECT of the row per look-up. A batched peer (all inserts in one
// transaction) shows what the per-row durability costs.

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "frame/text.hpp"
#include "jukebox/media_library.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using zorbel::jukebox::MediaLibrary;
using zorbel::jukebox::MusicEntry;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string pathOf(int i) { return "/Music/Artist " + std::to_string(i % 97) + "/Song " + std::to_string(i) + ".mp3"; }

MusicEntry entryOf(int i) {
    MusicEntry e;
    e.Title = "Song " + std::to_string(i);
    e.Artist = "Artist " + std::to_string(i % 97);
    e.Genre = i % 126;
    e.Album = "Album " + std::to_string(i % 500);
    e.Year = static_cast<int16_t>(1970 + i % 50);
    e.MediaType = 1;
    e.MediaID = "{MEDIA}";
    e.MediaLocation = pathOf(i);
    return e;
}

// The way a caller might spell the file: other letter case, surrounding spaces.
std::string lookupSpelling(int i) { return "  " + zorbel::text::toUpper(pathOf(i)) + " "; }

std::vector<int> shuffled(int n) {
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(42));
    return order;
}

struct Figures {
    double add = 0, lookup = 0;
};

// A fresh application-data folder for one run.
std::filesystem::path freshFolder(const std::string& name) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zorbel-db-bench-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

Figures runLibrary(int n) {
    setenv("XDG_DATA_HOME", freshFolder("library").c_str(), 1);
    zorbel::Ref<MediaLibrary> lib(new MediaLibrary());
    if (!lib->Connect()) throw std::runtime_error("Connect failed");
    Figures f;
    auto start = Clock::now();
    for (int i = 0; i < n; ++i) {
        MusicEntry e = entryOf(i);
        lib->Add(e);
    }
    f.add = secondsSince(start);
    start = Clock::now();
    int found = 0;
    for (int i : shuffled(n)) {
        MusicEntry e;
        found += lib->GetEntryByFile(lookupSpelling(i), e) ? 1 : 0;
    }
    f.lookup = secondsSince(start);
    if (found != n) throw std::runtime_error("library look-ups missed rows");
    return f;
}

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
}

void exec(sqlite3* db, const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db); }

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    check(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db);
    return s;
}

void bindText(sqlite3_stmt* s, int i, const std::string& v) {
    sqlite3_bind_text(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
}

void insertRow(sqlite3* db, sqlite3_stmt* s, int i) {
    MusicEntry e = entryOf(i);
    bindText(s, 1, std::string("{").append(std::to_string(i)).append("}"));
    bindText(s, 2, e.Title);
    bindText(s, 3, e.Artist);
    bindText(s, 4, std::to_string(e.Genre));
    bindText(s, 5, e.Album);
    sqlite3_bind_int(s, 6, e.Year);
    sqlite3_bind_int(s, 7, e.MediaType);
    bindText(s, 8, e.MediaID);
    bindText(s, 9, e.MediaLocation);
    bindText(s, 10, zorbel::text::toLower(zorbel::text::trim(e.MediaLocation)));
    check(sqlite3_step(s), db);
    sqlite3_reset(s);
}

Figures runPlain(int n, bool batched) {
    std::string file = (freshFolder(batched ? "batched" : "plain") / "plain.db").string();
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    exec(db, "PRAGMA journal_mode=WAL");
    exec(db, "PRAGMA synchronous=FULL");
    exec(db, "CREATE TABLE Music (ID TEXT, Title TEXT, Artist TEXT, Genre TEXT, Album TEXT, Year INTEGER,"
             " MediaType INTEGER, MediaID TEXT, MediaLocation TEXT, MediaKey TEXT)");
    exec(db, "CREATE INDEX ID_Index ON Music (ID)");
    exec(db, "CREATE INDEX Key_Index ON Music (MediaKey)");
    sqlite3_stmt* insert = prepare(db, "INSERT INTO Music VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    sqlite3_stmt* select = prepare(db, "SELECT ID, Title, Artist, Genre, Album, Year, MediaType, MediaID, MediaLocation"
                                       " FROM Music WHERE MediaKey = ?1 ORDER BY rowid LIMIT 1");
    Figures f;
    auto start = Clock::now();
    if (batched) exec(db, "BEGIN");
    for (int i = 0; i < n; ++i) insertRow(db, insert, i);
    if (batched) exec(db, "COMMIT");
    f.add = secondsSince(start);
    start = Clock::now();
    int found = 0;
    for (int i : shuffled(n)) {
        bindText(select, 1, zorbel::text::toLower(zorbel::text::trim(lookupSpelling(i))));
        found += sqlite3_step(select) == SQLITE_ROW ? 1 : 0;
        sqlite3_reset(select);
    }
    f.lookup = secondsSince(start);
    sqlite3_finalize(insert);
    sqlite3_finalize(select);
    sqlite3_close(db);
    if (found != n) throw std::runtime_error("plain look-ups missed rows");
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10000, 100000};
    std::printf("%8s %12s %12s %12s %8s | %12s %12s %8s\n", "rows", "lib add s", "plain add s", "batch add s",
                "ratio", "lib find s", "plain find s", "ratio");
    std::vector<Figures> library;
    for (int n : counts) {
        Figures lib = runLibrary(n), plain = runPlain(n, false), batch = runPlain(n, true);
        library.push_back(lib);
        std::printf("%8d %12.3f %12.3f %12.3f %8.2f | %12.3f %12.3f %8.2f\n", n, lib.add, plain.add, batch.add,
                    lib.add / plain.add, lib.lookup, plain.lookup, lib.lookup / plain.lookup);
        std::fflush(stdout);
    }
    for (size_t i = 1; i < counts.size(); ++i) {
        double rows = static_cast<double>(counts[i]) / counts[i - 1];
        std::printf("growth %d -> %d rows (x%.0f): add x%.2f, find x%.2f\n", counts[i - 1], counts[i], rows,
                    library[i].add / library[i - 1].add, library[i].lookup / library[i - 1].lookup);
    }
    for (const char* name : {"library", "plain", "batched"})
        std::filesystem::remove_all(std::filesystem::temp_directory_path() / ("zorbel-db-bench-" + std::string(name)));
    return 0;
}
