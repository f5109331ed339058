#pragma once
// Statement: one prepared SQL statement with values bound as variants. A Statement is reset
// when its use ends (Use), so no read transaction stays open between calls and every query
// sees the rows other connections have stored since.

#include <cstdint>
#include <string>

#include "frame/variant.hpp"
#include "platform/db/sqlite_handles.hpp"

namespace zorbel::db {

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql);

    // Binds 1-based parameters. Empty and Null bind SQL NULL; numbers bind as integers when
    // whole, as reals otherwise; everything else binds as text.
    void bind(int index, const Variant& value);
    void bindInt(int index, int64_t value);
    void bindText(int index, const std::string& value);

    // Runs one step: true when a row is available, false when done; raises on failure.
    bool step();
    int64_t columnInt(int column) const;
    std::string columnText(int column) const;
    // The value of a column as a variant: NULL -> Null, integers -> Long (Double beyond 32
    // bits), reals -> Double, text -> String.
    Variant columnValue(int column) const;
    bool columnIsNull(int column) const;

    void reset();

private:
    sqlite3* db_;
    StatementHandle stmt_;
};

// Resets a statement when the scope of its use ends.
class Use {
public:
    explicit Use(Statement& s) : s_(s) {}
    ~Use() { s_.reset(); }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    Statement* operator->() { return &s_; }
    Statement& get() { return s_; }

private:
    Statement& s_;
};

// Raises the engine's current error for a failed call.
[[noreturn]] void raiseEngineError(sqlite3* db, const std::string& what);

}  // namespace zorbel::db
