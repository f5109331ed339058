#include "platform/db/table_cursor.hpp"

#include <cstdint>

#include "frame/text.hpp"
#include "platform/db/connection.hpp"
#include "platform/db/criterion.hpp"
#include "platform/db/db_error.hpp"

namespace zorbel::db {
namespace {

std::string joinQuoted(const std::vector<std::string>& names) {
    std::string out;
    for (size_t i = 0; i < names.size(); ++i) out += (i ? ", " : "") + quoteIdentifier(names[i]);
    return out;
}

std::string placeholders(size_t count) {
    std::string out;
    for (size_t i = 1; i <= count; ++i) out += (i > 1 ? ", ?" : "?") + std::to_string(i);
    return out;
}

bool hasColumn(Connection& c, const std::string& table, const std::string& column) {
    Statement info(c.handle(), "PRAGMA table_info(" + quoteIdentifier(table) + ")");
    while (info.step()) {
        if (text::equalsNoCase(info.columnText(1), column)) return true;
    }
    return false;
}

}  // namespace

TableCursor::TableCursor(Connection& c, std::string table, std::vector<DerivedColumn> derived)
    : c_(c), table_(std::move(table)), derived_(std::move(derived)) {
    if (!c_.tableExists(table_)) throw dbError(DbError::CannotOpen, "there is no table \"" + table_ + "\"");
    columns_ = declaredColumns(c_, table_);
    // Derived columns are the cursor's own; they are never visible as columns.
    std::erase_if(columns_, [this](const ColumnDef& col) {
        for (const DerivedColumn& d : derived_)
            if (text::equalsNoCase(d.name, col.name)) return true;
        return false;
    });
    for (const DerivedColumn& d : derived_) ensureDerived(d);
    prepareSql();
    pending_.resize(columns_.size());
    positionOn(queryRowid("SELECT rowid FROM " + quoteIdentifier(table_) + " ORDER BY rowid LIMIT 1", {}));
}

TableCursor::~TableCursor() {
    try {
        if (!closed_) storePending();
    } catch (...) {
        // Nothing can report the failure at the end of the cursor.
    }
}

void TableCursor::prepareSql() {
    std::vector<std::string> visible;
    for (const ColumnDef& col : columns_) visible.push_back(col.name);
    std::string t = quoteIdentifier(table_);
    selectRowSql_ = "SELECT " + joinQuoted(visible) + " FROM " + t + " WHERE rowid = ?1";
    std::vector<std::string> all = visible;
    for (const DerivedColumn& d : derived_) all.push_back(d.name);
    insertSql_ = "INSERT INTO " + t + " (" + joinQuoted(all) + ") VALUES (" + placeholders(all.size()) + ")";
}

// Adds a missing derived column with its index, and computes it for the rows already there.
void TableCursor::ensureDerived(const DerivedColumn& d) {
    std::string indexName = table_ + "_" + d.name + "_Index";
    if (hasColumn(c_, table_, d.name)) {
        ensureIndex(c_, table_, {indexName, {d.name}, false});
        return;
    }
    WriteTransaction tx(c_);
    if (!hasColumn(c_, table_, d.name)) {  // another connection may have added it meanwhile
        c_.exec("ALTER TABLE " + quoteIdentifier(table_) + " ADD COLUMN " + quoteIdentifier(d.name) + " TEXT");
        fillDerived(d);
    }
    ensureIndex(c_, table_, {indexName, {d.name}, false});
    tx.commit();
}

void TableCursor::fillDerived(const DerivedColumn& d) {
    std::string t = quoteIdentifier(table_);
    Statement rows(c_.handle(), "SELECT rowid, " + joinQuoted(d.sources) + " FROM " + t);
    Statement set(c_.handle(), "UPDATE " + t + " SET " + quoteIdentifier(d.name) + " = ?1 WHERE rowid = ?2");
    while (rows.step()) {
        std::vector<Variant> args;
        for (size_t i = 0; i < d.sources.size(); ++i) args.push_back(rows.columnValue(static_cast<int>(i + 1)));
        Use s(set);
        s->bind(1, d.compute(args));
        s->bindInt(2, rows.columnInt(0));
        s->step();
    }
}

void TableCursor::checkOpen() const {
    if (closed_) throw dbError(DbError::NotOpen, "the cursor on \"" + table_ + "\" is closed");
}

size_t TableCursor::columnIndex(const std::string& column) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (text::equalsNoCase(columns_[i].name, column)) return i;
    throw dbError(DbError::UnknownColumn, "the table \"" + table_ + "\" has no column \"" + column + "\"");
}

const DerivedColumn& TableCursor::derived(const std::string& name) const {
    for (const DerivedColumn& d : derived_)
        if (d.name == name) return d;
    throw dbError(DbError::UnknownColumn, "the cursor on \"" + table_ + "\" has no key \"" + name + "\"");
}

std::optional<int64_t> TableCursor::queryRowid(const std::string& sql, const std::vector<Variant>& binds) {
    Use s(c_.statement(sql));
    for (size_t i = 0; i < binds.size(); ++i) s->bind(static_cast<int>(i + 1), binds[i]);
    if (!s->step()) return std::nullopt;
    return s->columnInt(0);
}

void TableCursor::positionOn(std::optional<int64_t> rowid) {
    rowid_ = rowid;
    values_.reset();
}

void TableCursor::moveFirst() {
    checkOpen();
    storePending();
    positionOn(queryRowid("SELECT rowid FROM " + quoteIdentifier(table_) + " ORDER BY rowid LIMIT 1", {}));
    if (!rowid_) throw dbError(DbError::NoCurrentRow, "the table \"" + table_ + "\" has no rows");
}

void TableCursor::moveNext() {
    checkOpen();
    storePending();
    if (!rowid_) throw dbError(DbError::NoCurrentRow, "the cursor is at the end of the table \"" + table_ + "\"");
    std::string sql = "SELECT rowid FROM " + quoteIdentifier(table_) + " WHERE rowid > ?1 ORDER BY rowid LIMIT 1";
    positionOn(queryRowid(sql, {Variant(static_cast<double>(*rowid_))}));
}

void TableCursor::addNew() {
    checkOpen();
    storePending();
    adding_ = true;
    values_.reset();
}

void TableCursor::update() {
    checkOpen();
    if (eof()) throw dbError(DbError::NoCurrentRow, "there is no current row to store");
    storePending();
}

void TableCursor::close() {
    if (closed_) return;
    closed_ = true;
    storePending();
}

bool TableCursor::find(const std::string& criterionText) {
    checkOpen();
    Criterion criterion = parseCriterion(criterionText);
    size_t column = columnIndex(criterion.column);
    storePending();
    if (!rowid_) return false;
    Variant key = columns_[column].kind == ColumnKind::Integer32 ? checkedValue(column, Variant(criterion.value))
                                                                  : Variant(criterion.value);
    std::string sql = "SELECT rowid FROM " + quoteIdentifier(table_) + " WHERE " +
                      quoteIdentifier(columns_[column].name) + " = ?1 AND rowid >= ?2 ORDER BY rowid LIMIT 1";
    positionOn(queryRowid(sql, {key, Variant(static_cast<double>(*rowid_))}));
    return rowid_.has_value();
}

bool TableCursor::seek(const std::string& derivedColumn, const Variant& key, bool fromCurrent) {
    checkOpen();
    const DerivedColumn& d = derived(derivedColumn);
    storePending();
    if (fromCurrent && !rowid_) return false;
    int64_t from = fromCurrent ? *rowid_ : INT64_MIN;
    std::string sql = "SELECT rowid FROM " + quoteIdentifier(table_) + " WHERE " + quoteIdentifier(d.name) +
                      " = ?1 AND rowid >= ?2 ORDER BY rowid LIMIT 1";
    Use s(c_.statement(sql));
    s->bind(1, key);
    s->bindInt(2, from);
    std::optional<int64_t> found;
    if (s->step()) found = s->columnInt(0);
    positionOn(found);
    return found.has_value();
}

Variant TableCursor::field(const std::string& column) {
    checkOpen();
    size_t i = columnIndex(column);
    if (eof()) throw dbError(DbError::NoCurrentRow, "there is no current row (end of the table \"" + table_ + "\")");
    if (pending_[i]) return *pending_[i];
    if (adding_) return Variant::null();
    return currentValues()[i];
}

void TableCursor::setField(const std::string& column, const Variant& value) {
    checkOpen();
    size_t i = columnIndex(column);
    if (eof()) throw dbError(DbError::NoCurrentRow, "there is no current row (end of the table \"" + table_ + "\")");
    pending_[i] = checkedValue(i, value);
}

// The value as the column stores it; raises ValueDoesNotFit for the wrong kind or size.
Variant TableCursor::checkedValue(size_t column, const Variant& value) const {
    const ColumnDef& col = columns_[column];
    if (value.isEmpty() || value.isNull()) return Variant::null();
    try {
        if (col.kind == ColumnKind::Integer32) return Variant::longValue(value.toLong());
        std::string s = value.toString();
        if (col.kind == ColumnKind::WideText && col.size > 0 && text::length(s) > static_cast<size_t>(col.size))
            throw dbError(DbError::ValueDoesNotFit, "the value is longer than " + std::to_string(col.size) +
                                                        " characters for the column \"" + col.name + "\"");
        return Variant(std::move(s));
    } catch (const Error& e) {
        if (e.source() == kErrorSource) throw;
        throw dbError(DbError::ValueDoesNotFit,
                      "the value does not fit the column \"" + col.name + "\": " + e.description());
    }
}

Variant TableCursor::readValue(Statement& s, int column, ColumnKind kind) const {
    if (s.columnIsNull(column)) return Variant::null();
    if (kind == ColumnKind::Integer32) return s.columnValue(column);
    return Variant(s.columnText(column));
}

const std::vector<Variant>& TableCursor::currentValues() {
    if (values_) return *values_;
    Use s(c_.statement(selectRowSql_));
    s->bindInt(1, *rowid_);
    if (!s->step()) throw dbError(DbError::RowDeleted, "the current row was removed from \"" + table_ + "\"");
    std::vector<Variant> row;
    for (size_t i = 0; i < columns_.size(); ++i) row.push_back(readValue(s.get(), static_cast<int>(i), columns_[i].kind));
    values_ = std::move(row);
    return *values_;
}

bool TableCursor::hasPending() const {
    for (const auto& p : pending_)
        if (p) return true;
    return false;
}

void TableCursor::storePending() {
    if (adding_) insertRow();
    else if (hasPending()) updateRow();
}

std::vector<Variant> TableCursor::derivedValues(const std::vector<Variant>& row) const {
    std::vector<Variant> out;
    for (const DerivedColumn& d : derived_) {
        std::vector<Variant> args;
        for (const std::string& source : d.sources) args.push_back(row[columnIndex(source)]);
        out.push_back(d.compute(args));
    }
    return out;
}

void TableCursor::insertRow() {
    std::vector<Variant> row;
    for (const auto& p : pending_) row.push_back(p ? *p : Variant::null());
    std::vector<Variant> keys = derivedValues(row);
    {
        Use s(c_.statement(insertSql_));
        int n = 1;
        for (const Variant& v : row) s->bind(n++, v);
        for (const Variant& v : keys) s->bind(n++, v);
        s->step();
    }
    adding_ = false;
    std::fill(pending_.begin(), pending_.end(), std::nullopt);
    positionOn(sqlite3_last_insert_rowid(c_.handle()));
}

// The current row as stored, with the pending edit applied.
std::vector<Variant> TableCursor::mergedRow() {
    values_.reset();
    std::vector<Variant> row = currentValues();
    for (size_t i = 0; i < row.size(); ++i)
        if (pending_[i]) row[i] = *pending_[i];
    return row;
}

void TableCursor::updateRow() {
    WriteTransaction tx(c_);
    std::vector<Variant> row = mergedRow();
    std::vector<Variant> keys = derivedValues(row);
    std::string sql = "UPDATE " + quoteIdentifier(table_) + " SET ";
    std::vector<Variant> binds;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (!pending_[i]) continue;
        binds.push_back(*pending_[i]);
        sql += (binds.size() > 1 ? ", " : "") + quoteIdentifier(columns_[i].name) + " = ?" + std::to_string(binds.size());
    }
    for (size_t i = 0; i < derived_.size(); ++i) {
        binds.push_back(keys[i]);
        sql += ", " + quoteIdentifier(derived_[i].name) + " = ?" + std::to_string(binds.size());
    }
    sql += " WHERE rowid = ?" + std::to_string(binds.size() + 1);
    Use s(c_.statement(sql));
    for (size_t i = 0; i < binds.size(); ++i) s->bind(static_cast<int>(i + 1), binds[i]);
    s->bindInt(static_cast<int>(binds.size() + 1), *rowid_);
    s->step();
    tx.commit();
    std::fill(pending_.begin(), pending_.end(), std::nullopt);
    values_.reset();
}

}  // namespace zorbel::db
