#pragma once
// Owners of the SQLite C handles: a connection closes and a statement finalises when its owner
// goes.

#include <sqlite3.h>

#include <memory>

namespace zorbel::db {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};

using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

}  // namespace zorbel::db
