#pragma once
// MediaLibrary: the jukebox's song database. One table "Music" in the file
// <application data>/MediaData/MusicDB.mdb, created on first use, and one dynamic table cursor
// on it; every row operation acts on that cursor and its current row.
//
// Lookups by file use a hidden, indexed key column "MediaKey" that the cursor keeps for each
// row: the lower-cased, trimmed MediaLocation of rows of MediaType 1 (Null for all others).
// It is added to files that lack it when they are opened, so finding a file never walks the
// table.

#include <memory>
#include <string>

#include "frame/collection_object.hpp"
#include "frame/object.hpp"
#include "jukebox/music_entry.hpp"

namespace zorbel::db {
class Connection;
class TableCursor;
}  // namespace zorbel::db

namespace zorbel::jukebox {

class MediaLibrary final : public Dispatchable<MediaLibrary> {
public:
    static const ClassInfo& typeInfo();
    MediaLibrary();

    bool Connect();
    void Add(MusicEntry& newEntry);
    bool GetEntryByFile(std::string fileName, MusicEntry& entry);
    bool GoToEntry(std::string mid);
    Variant GetEntryData(std::string columnName);
    void SetEntryData(std::string columnName, Variant& newData);
    Ref<Collection> ListEntries();

    // Stores a change SetEntryData left pending on the current row now, instead of when the
    // cursor next leaves the row.
    void storePendingChanges();

    // The database file of the current user.
    static std::string databaseFile();

private:
    ~MediaLibrary() override;
    void disconnect();
    void readEntry(MusicEntry& entry);

    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<db::TableCursor> cursor_;  // declared after the connection it uses
};

}  // namespace zorbel::jukebox
