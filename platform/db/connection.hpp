#pragma once
// Connection: an open database file of the database layer.
//
// Opening takes the connection text; the provider must be the Jet provider the library names,
// and the data source is opened as an SQLite database file for reading and writing, never
// created here (the catalog creates files). A file that is missing, read-only, not an SQLite
// database or an empty file fails to open and is left exactly as it was.
//
// Sharing: every connection may read and write while others do ("Share Deny None"; the
// exclusive share modes are not offered and fail to open). The file uses the write-ahead log,
// so readers never wait for a writer; writers wait for each other up to kBusyTimeoutMs instead
// of failing. Each stored change is its own transaction with synchronous=FULL: when a store
// returns, the change has reached the disk, and a crash at any point leaves a consistent file
// holding every change whose store returned.

#include <map>
#include <memory>
#include <string>

#include "platform/db/sqlite_handles.hpp"
#include "platform/db/statement.hpp"

namespace zorbel::db {

inline constexpr int kBusyTimeoutMs = 10000;

class Connection {
public:
    // Raises DbError::CannotOpen with the reason when the text or the file cannot be opened.
    static std::unique_ptr<Connection> open(const std::string& connectionText);
    // Opens (and creates, if missing) a database file for the catalog.
    static std::unique_ptr<Connection> openForCreate(const std::string& file);

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A prepared statement kept for the life of the connection; use it inside a Use.
    Statement& statement(const std::string& sql);
    // Runs SQL text without results; raises on failure.
    void exec(const std::string& sql);
    bool tableExists(const std::string& table);
    // The result of the engine's consistency check: "ok" when the file is sound.
    std::string integrityCheck();
    const std::string& file() const { return file_; }
    sqlite3* handle() { return db_.get(); }

private:
    Connection(DatabaseHandle db, std::string file) : db_(std::move(db)), file_(std::move(file)) {}
    void configure();

    DatabaseHandle db_;
    std::string file_;
    std::map<std::string, std::unique_ptr<Statement>> statements_;
};

// A write transaction that takes the write lock at its start (waiting for other writers), and
// rolls back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(Connection& c);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

// Double quotes an identifier for SQL text.
std::string quoteIdentifier(const std::string& name);

}  // namespace zorbel::db
