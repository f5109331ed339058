#include "platform/db/statement.hpp"

#include <cmath>
#include <limits>

#include "platform/db/db_error.hpp"

namespace zorbel::db {

void raiseEngineError(sqlite3* db, const std::string& what) {
    throw dbError(DbError::EngineFailure, what + ": " + (db ? sqlite3_errmsg(db) : "no database"));
}

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr);
    stmt_.reset(raw);
    if (rc != SQLITE_OK) raiseEngineError(db, "cannot prepare \"" + sql + "\"");
}

void Statement::bind(int index, const Variant& value) {
    switch (value.type()) {
        case VarType::Empty:
        case VarType::Null:
            sqlite3_bind_null(stmt_.get(), index);
            return;
        case VarType::Integer:
        case VarType::Long:
        case VarType::Byte:
        case VarType::Boolean:
            bindInt(index, value.toLong());
            return;
        case VarType::Single:
        case VarType::Double: {
            double d = value.toDouble();
            if (std::nearbyint(d) == d && std::fabs(d) < 9.0e15) bindInt(index, static_cast<int64_t>(d));
            else sqlite3_bind_double(stmt_.get(), index, d);
            return;
        }
        default:
            bindText(index, value.toString());
    }
}

void Statement::bindInt(int index, int64_t value) { sqlite3_bind_int64(stmt_.get(), index, value); }

void Statement::bindText(int index, const std::string& value) {
    sqlite3_bind_text(stmt_.get(), index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    raiseEngineError(db_, "statement failed");
}

int64_t Statement::columnInt(int column) const { return sqlite3_column_int64(stmt_.get(), column); }

std::string Statement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
    int size = sqlite3_column_bytes(stmt_.get(), column);
    return text ? std::string(text, static_cast<size_t>(size)) : std::string();
}

bool Statement::columnIsNull(int column) const { return sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL; }

Variant Statement::columnValue(int column) const {
    switch (sqlite3_column_type(stmt_.get(), column)) {
        case SQLITE_NULL:
            return Variant::null();
        case SQLITE_INTEGER: {
            int64_t v = columnInt(column);
            if (v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max())
                return Variant::longValue(static_cast<int32_t>(v));
            return Variant(static_cast<double>(v));
        }
        case SQLITE_FLOAT:
            return Variant(sqlite3_column_double(stmt_.get(), column));
        default:
            return Variant(columnText(column));
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_.get());
    sqlite3_clear_bindings(stmt_.get());
}

}  // namespace zorbel::db
