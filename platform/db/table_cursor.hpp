#pragma once
// TableCursor: a dynamic, forward-walking cursor over one table of a connection.
//
// The cursor stands on one row (identified by its rowid) or at the end of the table. Moving
// asks the file for the next rowid each time, so the whole table is never loaded and rows
// stored by other connections after the cursor was opened appear as it walks. The values of
// the current row are read once when first needed and kept until the cursor moves.
//
// Changes made with setField are kept as a pending edit of the current row (or of the new row
// after addNew) and stored by update(), or when the cursor leaves the row: move, find, seek,
// addNew, close and destruction. Each store is one transaction.
//
// Derived columns are hidden columns the cursor computes from visible ones whenever it stores
// a row; they serve as indexed lookup keys (see seek). They are added to the table, filled and
// indexed when the cursor is opened on a table that lacks them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frame/variant.hpp"
#include "platform/db/catalog.hpp"

namespace zorbel::db {

class Connection;

struct DerivedColumn {
    std::string name;
    std::vector<std::string> sources;  // visible columns, in the order compute takes them
    // Must depend on its arguments only; Null means "no key" for the row.
    std::function<Variant(const std::vector<Variant>&)> compute;
};

class TableCursor {
public:
    // Raises a database error when the table does not exist. Stands on the first row.
    TableCursor(Connection& c, std::string table, std::vector<DerivedColumn> derived = {});
    ~TableCursor();  // stores a pending edit; errors are ignored
    TableCursor(const TableCursor&) = delete;
    TableCursor& operator=(const TableCursor&) = delete;

    const std::vector<ColumnDef>& columns() const { return columns_; }
    bool eof() const { return !rowid_ && !adding_; }

    // Raises NoCurrentRow when the table is empty (the cursor is then at the end).
    void moveFirst();
    // Raises NoCurrentRow at the end of the table.
    void moveNext();
    void addNew();
    void update();
    // Stores a pending edit and ends the cursor; later calls raise NotOpen.
    void close();

    // Searches forwards from the current row, the current row included, for the first row
    // meeting the criterion; stands on it (true) or at the end of the table (false).
    bool find(const std::string& criterion);
    // Stands on the first row whose derived column equals key: the first at or after the
    // current row when fromCurrent, otherwise the first of the table; at the end when none.
    bool seek(const std::string& derivedColumn, const Variant& key, bool fromCurrent);

    // The value of a column of the current row (Null for a database null).
    Variant field(const std::string& column);
    void setField(const std::string& column, const Variant& value);

private:
    void checkOpen() const;
    size_t columnIndex(const std::string& column) const;
    const DerivedColumn& derived(const std::string& name) const;
    void prepareSql();
    void ensureDerived(const DerivedColumn& d);
    void fillDerived(const DerivedColumn& d);
    void storePending();
    void insertRow();
    void updateRow();
    bool hasPending() const;
    std::vector<Variant> mergedRow();
    std::vector<Variant> derivedValues(const std::vector<Variant>& row) const;
    const std::vector<Variant>& currentValues();
    Variant readValue(class Statement& s, int column, ColumnKind kind) const;
    Variant checkedValue(size_t column, const Variant& value) const;
    void positionOn(std::optional<int64_t> rowid);
    std::optional<int64_t> queryRowid(const std::string& sql, const std::vector<Variant>& binds);

    Connection& c_;
    std::string table_;
    std::vector<ColumnDef> columns_;
    std::vector<DerivedColumn> derived_;
    std::optional<int64_t> rowid_;
    bool adding_ = false;
    bool closed_ = false;
    std::vector<std::optional<Variant>> pending_;
    std::optional<std::vector<Variant>> values_;
    std::string selectRowSql_, insertSql_;
};

}  // namespace zorbel::db
