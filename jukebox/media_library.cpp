#include "jukebox/media_library.hpp"

#include "frame/class_builder.hpp"
#include "frame/text.hpp"
#include "frame/zorbel_classes.hpp"
#include "platform/db/catalog.hpp"
#include "platform/db/connection.hpp"
#include "platform/db/connection_text.hpp"
#include "platform/db/criterion.hpp"
#include "platform/system/file_ops.hpp"
#include "platform/system/paths.hpp"
#include "platform/system/special_folders.hpp"
#include "platform/system/unique_id.hpp"
#include "platform/db/table_cursor.hpp"

namespace zorbel::jukebox {
namespace {

constexpr const char* kMusicTable = "Music";
constexpr const char* kMediaKeyColumn = "MediaKey";

// The table with its columns in their fixed order, and the index on "ID".
db::TableDef musicTable() {
    using db::ColumnKind;
    return {kMusicTable,
            {{"ID", ColumnKind::WideText, 255},
             {"Title", ColumnKind::LongText, 0},
             {"Artist", ColumnKind::LongText, 0},
             {"Genre", ColumnKind::WideText, 255},
             {"Album", ColumnKind::LongText, 0},
             {"Year", ColumnKind::Integer32, 4},
             {"MediaType", ColumnKind::Integer32, 8},
             {"MediaID", ColumnKind::WideText, 255},
             {"MediaLocation", ColumnKind::LongText, 0}},
            {{"ID_Index", {"ID"}, false}}};
}

// A file path as lookups compare it: lower-cased (Unicode) and trimmed of spaces.
std::string mediaKeyOf(std::string_view path) { return text::toLower(text::trim(path)); }

// The lookup key of a row: its path's key when it is a song file on disk, Null otherwise.
Variant mediaKeyOfRow(const std::vector<Variant>& typeAndLocation) {
    try {
        const Variant& type = typeAndLocation[0];
        const Variant& location = typeAndLocation[1];
        if (type.isNull() || location.isNull() || type.toLong() != kMediaTypeSongFile) return Variant::null();
        return Variant(mediaKeyOf(location.toString()));
    } catch (const Error&) {
        return Variant::null();
    }
}

std::vector<db::DerivedColumn> musicKeyColumns() {
    return {{kMediaKeyColumn, {"MediaType", "MediaLocation"}, &mediaKeyOfRow}};
}

// Sets one column of the new row; a value the column does not take is left out.
void setOrSkip(db::TableCursor& cursor, const char* column, const Variant& value) {
    try {
        cursor.setField(column, value);
    } catch (const Error&) {
    }
}

// Assigns a converted column value; a value that cannot be read or converted leaves the
// field as it was.
template <class T, class Convert>
void readOrKeep(db::TableCursor& cursor, const char* column, T& field, Convert convert) {
    try {
        field = convert(cursor.field(column));
    } catch (const Error&) {
    }
}

}  // namespace

const ClassInfo& MediaLibrary::typeInfo() {
    using C = MediaLibrary;
    static const ClassInfo info = ClassBuilder<C>("MediaLibrary", zorbelIdentity("MediaLibrary"))
                                      .method("Connect", &C::Connect)
                                      .method("Add", &C::Add, {"NewEntry"})
                                      .method("GetEntryByFile", &C::GetEntryByFile, {"Filename", "MEntry"})
                                      .method("GoToEntry", &C::GoToEntry, {"MID"})
                                      .method("GetEntryData", &C::GetEntryData, {"ColumnName"})
                                      .method("SetEntryData", &C::SetEntryData, {"ColumnName", "NewData"})
                                      .method("ListEntries", &C::ListEntries)
                                      .build();
    return info;
}

MediaLibrary::MediaLibrary() = default;

MediaLibrary::~MediaLibrary() { disconnect(); }

// Closing the cursor stores a change still pending from SetEntryData, so it is not lost.
void MediaLibrary::disconnect() {
    if (cursor_) {
        try {
            cursor_->close();
        } catch (const Error&) {
        }
    }
    cursor_.reset();
    connection_.reset();
}

void MediaLibrary::storePendingChanges() {
    if (cursor_ && !cursor_->eof()) cursor_->update();
}

std::string MediaLibrary::databaseFile() { return system::withoutTrailingSeparator(system::specialFolder(system::kFolderApplicationData)) + "/MediaData/MusicDB.mdb"; }

bool MediaLibrary::Connect() {
    std::string file = databaseFile();
    std::string connectionText = db::connectionTextFor(file);
    if (!system::fileExists(file)) {
        system::createFolder(system::folderPart(file));
        try {
            db::createDatabase(connectionText, musicTable());
        } catch (const Error&) {
            // Another program may have created the file meanwhile; opening checks what is there.
            if (!system::fileExists(file)) return false;
        }
    }
    std::unique_ptr<db::Connection> connection;
    std::unique_ptr<db::TableCursor> cursor;
    try {
        connection = db::Connection::open(connectionText);
        cursor = std::make_unique<db::TableCursor>(*connection, kMusicTable, musicKeyColumns());
    } catch (const Error&) {
        return false;
    }
    disconnect();
    connection_ = std::move(connection);
    cursor_ = std::move(cursor);
    return true;
}

void MediaLibrary::Add(MusicEntry& e) {
    if (!cursor_) return;
    if (e.ID.empty()) e.ID = system::newUniqueId();
    cursor_->addNew();
    setOrSkip(*cursor_, "ID", Variant(e.ID));
    setOrSkip(*cursor_, "Title", Variant(e.Title));
    setOrSkip(*cursor_, "Artist", Variant(e.Artist));
    setOrSkip(*cursor_, "Album", Variant(e.Album));
    setOrSkip(*cursor_, "Genre", Variant::longValue(e.Genre));
    setOrSkip(*cursor_, "Year", Variant::integer(e.Year));
    setOrSkip(*cursor_, "MediaID", Variant(e.MediaID));
    setOrSkip(*cursor_, "MediaType", Variant::integer(e.MediaType));
    setOrSkip(*cursor_, "MediaLocation", Variant(e.MediaLocation));
    cursor_->update();
}

bool MediaLibrary::GetEntryByFile(std::string fileName, MusicEntry& entry) {
    if (!cursor_) return false;
    Variant key(mediaKeyOf(fileName));
    // The first match at or after the current row, else the first from the start.
    bool found = cursor_->seek(kMediaKeyColumn, key, true) || cursor_->seek(kMediaKeyColumn, key, false);
    if (found) readEntry(entry);
    return found;
}

void MediaLibrary::readEntry(MusicEntry& e) {
    auto asText = [](const Variant& v) { return v.toString(); };
    auto asInteger = [](const Variant& v) { return v.toInteger(); };
    readOrKeep(*cursor_, "ID", e.ID, asText);
    readOrKeep(*cursor_, "Title", e.Title, asText);
    readOrKeep(*cursor_, "Artist", e.Artist, asText);
    readOrKeep(*cursor_, "Album", e.Album, asText);
    readOrKeep(*cursor_, "Genre", e.Genre, [](const Variant& v) { return v.toLong(); });
    readOrKeep(*cursor_, "Year", e.Year, asInteger);
    readOrKeep(*cursor_, "MediaType", e.MediaType, asInteger);
    readOrKeep(*cursor_, "MediaID", e.MediaID, asText);
    readOrKeep(*cursor_, "MediaLocation", e.MediaLocation, asText);
}

bool MediaLibrary::GoToEntry(std::string mid) {
    if (!cursor_) return false;
    // Only a row that is there and carries the identifier counts as "already there"; at the
    // end of the table nothing matches, not even an empty identifier.
    if (!cursor_->eof()) {
        try {
            if (cursor_->field("ID").toString() == mid) return true;
        } catch (const Error&) {
        }
    }
    try {
        cursor_->moveFirst();
    } catch (const Error&) {
    }
    return cursor_->find("ID = " + db::quoteLiteral(text::trim(mid)));
}

Variant MediaLibrary::GetEntryData(std::string columnName) {
    if (!cursor_) return Variant();
    return cursor_->field(columnName);
}

void MediaLibrary::SetEntryData(std::string columnName, Variant& newData) {
    if (!cursor_) return;
    cursor_->setField(columnName, newData);
}

Ref<Collection> MediaLibrary::ListEntries() {
    if (!cursor_) return Ref<Collection>();
    Ref<Collection> ids = makeCollection();
    try {
        cursor_->moveFirst();
    } catch (const Error&) {
    }
    for (; !cursor_->eof(); cursor_->moveNext()) {
        Variant id = cursor_->field("ID");
        ids->items().add(id.isNull() ? id : Variant(id.toString()));
    }
    try {
        cursor_->moveFirst();
    } catch (const Error&) {
    }
    return ids;
}

}  // namespace zorbel::jukebox
