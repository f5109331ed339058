#pragma once
// Catalog: creates a database file with its tables and indexes, and reads back the declared
// columns of a table.
//
// SQLite keeps only storage classes, so the kinds and sizes a table was declared with are
// kept beside it in the table "zorbel_columns" (table, position, column, kind, size). The
// columns themselves are declared TEXT for the text kinds and INTEGER for the 32-bit integers,
// which gives the matching SQLite affinity; the cursor checks values against the declared kind
// and size when it sets a column.

#include <string>
#include <vector>

namespace zorbel::db {

class Connection;

enum class ColumnKind {
    WideText,   // variable-length text up to the declared size in characters
    LongText,   // long text (memo) without a size
    Integer32,  // 32-bit signed integer
};

struct ColumnDef {
    std::string name;
    ColumnKind kind = ColumnKind::WideText;
    int size = 0;  // characters for WideText, bytes for integers (informative), 0 for none
};

struct IndexDef {
    std::string name;
    std::vector<std::string> columns;
    bool unique = false;
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;
};

inline constexpr const char* kColumnKindsTable = "zorbel_columns";

// Creates the database file named by the connection text with the table and its indexes, all
// or nothing: the file appears complete under its name or not at all. Raises a database error
// when the text is unusable, the file already exists (also when another program creates it at
// the same time) or a step fails; an existing file is never touched.
void createDatabase(const std::string& connectionText, const TableDef& table);

// Creates an index if the table has none of that name (add-only schema change).
void ensureIndex(Connection& c, const std::string& table, const IndexDef& index);

// The declared columns of a table in order: from zorbel_columns when the table is listed there,
// otherwise from the table's own declaration (INTEGER columns as Integer32, others as LongText).
std::vector<ColumnDef> declaredColumns(Connection& c, const std::string& table);

const char* kindName(ColumnKind kind);

}  // namespace zorbel::db
