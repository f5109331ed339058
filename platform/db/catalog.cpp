#include "platform/db/catalog.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "frame/text.hpp"
#include "platform/db/connection.hpp"
#include "platform/db/connection_text.hpp"
#include "platform/db/db_error.hpp"
#include "platform/system/unique_id.hpp"

namespace zorbel::db {
namespace {

std::string columnSql(const ColumnDef& column) {
    return quoteIdentifier(column.name) + (column.kind == ColumnKind::Integer32 ? " INTEGER" : " TEXT");
}

std::string createTableSql(const TableDef& table) {
    std::string sql = "CREATE TABLE " + quoteIdentifier(table.name) + " (";
    for (size_t i = 0; i < table.columns.size(); ++i) sql += (i ? ", " : "") + columnSql(table.columns[i]);
    return sql + ")";
}

std::string createIndexSql(const std::string& table, const IndexDef& index, bool ifMissing) {
    std::string sql = std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " +
                      (ifMissing ? "IF NOT EXISTS " : "") + quoteIdentifier(index.name) + " ON " +
                      quoteIdentifier(table) + " (";
    for (size_t i = 0; i < index.columns.size(); ++i) sql += (i ? ", " : "") + quoteIdentifier(index.columns[i]);
    return sql + ")";
}

void recordKinds(Connection& c, const TableDef& table) {
    c.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kColumnKindsTable +
           " (table_name TEXT NOT NULL, position INTEGER NOT NULL, column_name TEXT NOT NULL,"
           " kind TEXT NOT NULL, size INTEGER NOT NULL, PRIMARY KEY (table_name, position))");
    Statement insert(c.handle(), std::string("INSERT INTO ") + kColumnKindsTable + " VALUES (?1, ?2, ?3, ?4, ?5)");
    for (size_t i = 0; i < table.columns.size(); ++i) {
        Use s(insert);
        s->bindText(1, table.name);
        s->bindInt(2, static_cast<int64_t>(i));
        s->bindText(3, table.columns[i].name);
        s->bindText(4, kindName(table.columns[i].kind));
        s->bindInt(5, table.columns[i].size);
        s->step();
    }
}

ColumnKind kindFromName(const std::string& name) {
    if (name == "long") return ColumnKind::Integer32;
    if (name == "text") return ColumnKind::WideText;
    return ColumnKind::LongText;
}

std::vector<ColumnDef> fromDeclaration(Connection& c, const std::string& table) {
    std::vector<ColumnDef> out;
    Statement info(c.handle(), "PRAGMA table_info(" + quoteIdentifier(table) + ")");
    while (info.step()) {
        bool integer = text::toLower(info.columnText(2)).find("int") != std::string::npos;
        out.push_back({info.columnText(1), integer ? ColumnKind::Integer32 : ColumnKind::LongText, 0});
    }
    return out;
}

void buildFile(const std::string& file, const TableDef& table) {
    auto c = Connection::openForCreate(file);
    WriteTransaction tx(*c);
    c->exec(createTableSql(table));
    for (const IndexDef& index : table.indexes) c->exec(createIndexSql(table.name, index, false));
    recordKinds(*c, table);
    tx.commit();
    // Closing the only connection moves the log into the file itself.
}

// Links the built file to its name; fails when that name exists.
void publish(const std::string& building, const std::string& file) {
    if (::link(building.c_str(), file.c_str()) != 0) {
        int error = errno;
        throw dbError(DbError::CannotOpen, "cannot create \"" + file + "\": " + std::strerror(error));
    }
}

void removeBuilding(const std::string& building) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((building + suffix).c_str());
}

}  // namespace

const char* kindName(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::WideText: return "text";
        case ColumnKind::LongText: return "memo";
        case ColumnKind::Integer32: return "long";
    }
    return "memo";
}

void createDatabase(const std::string& connectionText, const TableDef& table) {
    auto parts = parseConnectionText(connectionText);
    if (!parts || !text::equalsNoCase(parts->provider, kJetProvider))
        throw dbError(DbError::CannotOpen, "unusable connection text for creating a database");
    const std::string& file = parts->dataSource;
    std::error_code ec;
    if (std::filesystem::exists(file, ec) || ec) throw dbError(DbError::CannotOpen, "\"" + file + "\" already exists");
    // The file is built under a private name and then linked into place, so other programs
    // never see it half made, and a file created meanwhile by another program is never replaced.
    std::string building = file + ".building-" + system::newUniqueId();
    try {
        buildFile(building, table);
        publish(building, file);
    } catch (...) {
        removeBuilding(building);
        throw;
    }
    removeBuilding(building);
}

void ensureIndex(Connection& c, const std::string& table, const IndexDef& index) {
    c.exec(createIndexSql(table, index, true));
}

std::vector<ColumnDef> declaredColumns(Connection& c, const std::string& table) {
    std::vector<ColumnDef> out;
    if (c.tableExists(kColumnKindsTable)) {
        Statement s(c.handle(), std::string("SELECT column_name, kind, size FROM ") + kColumnKindsTable +
                                    " WHERE table_name = ?1 ORDER BY position");
        s.bindText(1, table);
        while (s.step()) out.push_back({s.columnText(0), kindFromName(s.columnText(1)), static_cast<int>(s.columnInt(2))});
    }
    return out.empty() ? fromDeclaration(c, table) : out;
}

}  // namespace zorbel::db
