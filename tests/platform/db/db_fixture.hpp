#pragma once
// A fresh database file with a small song-like table, for the database layer's tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/db/catalog.hpp"
#include "platform/db/connection.hpp"
#include "platform/db/connection_text.hpp"
#include "platform/db/db_error.hpp"
#include "platform/db/table_cursor.hpp"
#include "tests/support/temp_root.hpp"

namespace zorbel::db {

inline TableDef songsTable() {
    return {"Songs",
            {{"ID", ColumnKind::WideText, 8}, {"Title", ColumnKind::LongText, 0}, {"Year", ColumnKind::Integer32, 4}},
            {{"ID_Index", {"ID"}, false}}};
}

// Expects the call to raise the database error e.
template <class F>
void expectDbError(DbError e, F&& call) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errorNumber(e)) << error.description();
        EXPECT_EQ(error.source(), kErrorSource);
        EXPECT_FALSE(error.description().empty());
    }
}

class DbTest : public ::testing::Test {
protected:
    void SetUp() override { createDatabase(text, songsTable()); }
    std::unique_ptr<Connection> connect() { return Connection::open(text); }

    zorbel::testing::TempFolder folder;
    std::string file = (folder / "songs.db").string();
    std::string text = connectionTextFor(file);
};

}  // namespace zorbel::db
