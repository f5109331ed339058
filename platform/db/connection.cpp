#include "platform/db/connection.hpp"

#include "frame/text.hpp"
#include "platform/db/connection_text.hpp"
#include "platform/db/db_error.hpp"

namespace zorbel::db {
namespace {

[[noreturn]] void cannotOpen(const std::string& why) { throw dbError(DbError::CannotOpen, why); }

bool sharedMode(const std::string& mode) {
    if (mode.empty()) return true;
    std::string m = text::toLower(mode);
    if (m == "share deny none") return true;
    return m.find("deny") == std::string::npos && m.find("exclusive") == std::string::npos;
}

DatabaseHandle openHandle(const std::string& file, int flags) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(file.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    DatabaseHandle db(raw);
    if (rc != SQLITE_OK) cannotOpen("cannot open \"" + file + "\": " + (raw ? sqlite3_errmsg(raw) : "out of memory"));
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    return db;
}

// Reads the header without writing: fails for files that are not SQLite databases, and for
// empty files, which SQLite would otherwise take as a new database and write to.
void checkIsDatabase(sqlite3* db, const std::string& file) {
    if (sqlite3_db_readonly(db, "main") != 0) cannotOpen("\"" + file + "\" is read-only");
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA page_count", -1, &raw, nullptr);
    StatementHandle stmt(raw);
    if (rc == SQLITE_OK) rc = sqlite3_step(raw);
    if (rc != SQLITE_ROW) cannotOpen("\"" + file + "\" is not a database: " + sqlite3_errmsg(db));
    if (sqlite3_column_int64(raw, 0) == 0) cannotOpen("\"" + file + "\" is an empty file, not a database");
}

}  // namespace

std::unique_ptr<Connection> Connection::open(const std::string& connectionText) {
    auto parts = parseConnectionText(connectionText);
    if (!parts) cannotOpen("malformed connection text");
    if (!text::equalsNoCase(parts->provider, kJetProvider)) cannotOpen("unknown provider \"" + parts->provider + "\"");
    if (!sharedMode(parts->mode)) cannotOpen("mode \"" + parts->mode + "\" is not offered; use Share Deny None");
    DatabaseHandle db = openHandle(parts->dataSource, SQLITE_OPEN_READWRITE);
    checkIsDatabase(db.get(), parts->dataSource);
    std::unique_ptr<Connection> c(new Connection(std::move(db), parts->dataSource));
    c->configure();
    return c;
}

std::unique_ptr<Connection> Connection::openForCreate(const std::string& file) {
    DatabaseHandle db = openHandle(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    std::unique_ptr<Connection> c(new Connection(std::move(db), file));
    c->configure();
    return c;
}

void Connection::configure() {
    // journal_mode answers the mode in force; another connection may hold the file in a mode
    // this one cannot change, which is not an error for reading and writing.
    Statement wal(db_.get(), "PRAGMA journal_mode=WAL");
    wal.step();
    exec("PRAGMA synchronous=FULL");
}

Statement& Connection::statement(const std::string& sql) {
    auto& slot = statements_[sql];
    if (!slot) slot = std::make_unique<Statement>(db_.get(), sql);
    return *slot;
}

void Connection::exec(const std::string& sql) {
    char* message = nullptr;
    int rc = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message);
    std::string why = message ? message : "";
    sqlite3_free(message);
    if (rc != SQLITE_OK) throw dbError(DbError::EngineFailure, "\"" + sql + "\" failed: " + why);
}

bool Connection::tableExists(const std::string& table) {
    Use s(statement("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1"));
    s->bindText(1, table);
    return s->step();
}

std::string Connection::integrityCheck() {
    Use s(statement("PRAGMA integrity_check"));
    std::string result;
    while (s->step()) {
        if (!result.empty()) result += '\n';
        result += s->columnText(0);
    }
    return result;
}

WriteTransaction::WriteTransaction(Connection& c) : c_(c) { c_.exec("BEGIN IMMEDIATE"); }

WriteTransaction::~WriteTransaction() {
    if (!done_) sqlite3_exec(c_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::commit() {
    c_.exec("COMMIT");
    done_ = true;
}

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace zorbel::db
