// The table cursor: walking in table order, adding and storing rows, pending edits, finding by
// criterion, derived lookup keys, value checks and errors, and rows of other connections.

#include <thread>

#include "frame/text.hpp"
#include "tests/platform/db/db_fixture.hpp"

namespace zorbel::db {
namespace {

class Cursor : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        c = connect();
        cursor = std::make_unique<TableCursor>(*c, "Songs");
    }
    void add(TableCursor& t, const std::string& id, const Variant& title = Variant::null()) {
        t.addNew();
        t.setField("ID", Variant(id));
        t.setField("Title", title);
        t.update();
    }
    std::vector<std::string> walk(TableCursor& t) {
        std::vector<std::string> ids;
        try {
            t.moveFirst();
        } catch (const Error&) {
        }
        for (; !t.eof(); t.moveNext()) ids.push_back(t.field("ID").toString());
        return ids;
    }

    std::unique_ptr<Connection> c;
    std::unique_ptr<TableCursor> cursor;
};

TEST_F(Cursor, EmptyTableIsAtTheEnd) {
    EXPECT_TRUE(cursor->eof());
    expectDbError(DbError::NoCurrentRow, [&] { cursor->moveFirst(); });
    expectDbError(DbError::NoCurrentRow, [&] { cursor->moveNext(); });
    expectDbError(DbError::NoCurrentRow, [&] { cursor->field("ID"); });
    expectDbError(DbError::NoCurrentRow, [&] { cursor->setField("ID", Variant("x")); });
    expectDbError(DbError::NoCurrentRow, [&] { cursor->update(); });
    EXPECT_FALSE(cursor->find("ID = 'x'"));
}

TEST_F(Cursor, RowsAreWalkedInTableOrderAndTheNewRowIsCurrent) {
    for (const char* id : {"b", "a", "c"}) {
        add(*cursor, id, Variant(std::string("t-") + id));
        EXPECT_EQ(cursor->field("ID"), Variant(id));
    }
    EXPECT_EQ(walk(*cursor), (std::vector<std::string>{"b", "a", "c"}));
    cursor->moveFirst();
    EXPECT_EQ(cursor->field("title"), Variant("t-b"));  // column names without letter case
}

TEST_F(Cursor, ValuesKeepTheirKindsAndNulls) {
    cursor->addNew();
    cursor->setField("ID", Variant::longValue(42));  // text column: stored as text
    cursor->setField("Year", Variant("1999"));       // integer column: converted
    cursor->update();
    EXPECT_EQ(cursor->field("ID"), Variant("42"));
    EXPECT_EQ(cursor->field("Year"), Variant::longValue(1999));
    EXPECT_TRUE(cursor->field("Title").isNull());
    std::string exotic = "it's 100% \xC3\xA4\xE2\x82\xAC \"q\"";
    cursor->setField("Title", Variant(exotic));
    cursor->update();
    cursor->moveFirst();
    EXPECT_EQ(cursor->field("Title"), Variant(exotic));
}

TEST_F(Cursor, ValuesThatDoNotFitRaiseAndLeaveTheRowAlone) {
    add(*cursor, "row");
    expectDbError(DbError::ValueDoesNotFit, [&] { cursor->setField("Year", Variant("soon")); });
    expectDbError(DbError::ValueDoesNotFit, [&] { cursor->setField("Year", Variant(3.0e10)); });
    expectDbError(DbError::ValueDoesNotFit, [&] { cursor->setField("ID", Variant("nine char")); });
    cursor->setField("ID", Variant("\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4"));  // 8 characters
    expectDbError(DbError::UnknownColumn, [&] { cursor->setField("Nope", Variant(1)); });
    expectDbError(DbError::UnknownColumn, [&] { cursor->field("Nope"); });
    expectDbError(DbError::UnknownColumn, [&] { cursor->find("Nope = 'x'"); });
}

TEST_F(Cursor, PendingEditIsStoredWhenTheCursorLeavesTheRow) {
    add(*cursor, "a");
    add(*cursor, "b");
    using Leave = std::function<void(TableCursor&)>;
    const std::pair<const char*, Leave> leaves[] = {
        {"move", [](TableCursor& t) { t.moveFirst(); }},
        {"find", [](TableCursor& t) { t.find("ID = 'a'"); }},
        {"add", [](TableCursor& t) { t.addNew(); }},
        {"close", [](TableCursor& t) { t.close(); }},
        {"destroy", [](TableCursor&) {}},
    };
    for (const auto& [name, leave] : leaves) {
        auto t = std::make_unique<TableCursor>(*c, "Songs");
        t->find("ID = 'b'");
        t->setField("Title", Variant(name));
        EXPECT_EQ(t->field("Title"), Variant(name));  // the edit is visible before it is stored
        leave(*t);
        t.reset();
        auto fresh = connect();
        TableCursor check(*fresh, "Songs");
        check.find("ID = 'b'");
        EXPECT_EQ(check.field("Title"), Variant(name)) << name;
    }
}

TEST_F(Cursor, FindSearchesForwardsFromTheCurrentRow) {
    for (const char* id : {"x", "y", "x", "it's"}) add(*cursor, id);
    cursor->moveFirst();
    cursor->moveNext();  // on "y"
    EXPECT_TRUE(cursor->find("ID = 'x'"));
    cursor->moveNext();
    EXPECT_EQ(cursor->field("ID"), Variant("it's"));  // the second "x" was found, not the first
    EXPECT_TRUE(cursor->find("ID = 'it''s'"));  // the current row counts
    EXPECT_FALSE(cursor->find("ID = 'y'"));
    EXPECT_TRUE(cursor->eof());
    cursor->moveFirst();
    EXPECT_FALSE(cursor->find("ID = 'X'"));  // exact comparison
    expectDbError(DbError::MalformedCriterion, [&] { cursor->find("ID = 'a'b'"); });
}

TEST_F(Cursor, RowsOfOtherConnectionsAppearWhileWalking) {
    add(*cursor, "mine");
    auto other = connect();
    TableCursor theirs(*other, "Songs");
    add(theirs, "theirs");
    cursor->moveFirst();
    cursor->moveNext();
    ASSERT_FALSE(cursor->eof());
    EXPECT_EQ(cursor->field("ID"), Variant("theirs"));
}

TEST_F(Cursor, ConcurrentWritersOnTwoConnectionsBothSucceed) {
    auto writer = [this](const std::string& prefix) {
        auto own = connect();
        TableCursor t(*own, "Songs");
        for (int i = 0; i < 50; ++i) add(t, prefix + std::to_string(i));
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    EXPECT_EQ(walk(*cursor).size(), 100u);
    EXPECT_EQ(c->integrityCheck(), "ok");
}

DerivedColumn lowerTitle() {
    return {"TitleKey", {"Title"}, [](const std::vector<Variant>& v) {
                return v[0].isNull() ? Variant::null() : Variant(text::toLower(v[0].toString()));
            }};
}

TEST_F(Cursor, DerivedKeysAreAddedFilledKeptAndSought) {
    add(*cursor, "1", Variant("\xC3\x84pfel"));  // stored before the key column exists
    cursor.reset();
    TableCursor t(*c, "Songs", {lowerTitle()});
    EXPECT_EQ(t.columns().size(), 3u);  // the key stays hidden
    expectDbError(DbError::UnknownColumn, [&] { t.field("TitleKey"); });
    add(t, "2", Variant("Birne"));
    add(t, "3", Variant("\xC3\xA4PFEL"));
    EXPECT_TRUE(t.seek("TitleKey", Variant("\xC3\xA4pfel"), false));
    EXPECT_EQ(t.field("ID"), Variant("1"));
    EXPECT_TRUE(t.seek("TitleKey", Variant("\xC3\xA4pfel"), true));  // the current row counts
    t.moveNext();
    EXPECT_TRUE(t.seek("TitleKey", Variant("\xC3\xA4pfel"), true));
    EXPECT_EQ(t.field("ID"), Variant("3"));
    t.setField("Title", Variant("Kirsche"));  // an edit recomputes the key
    EXPECT_FALSE(t.seek("TitleKey", Variant("\xC3\xA4pfel"), true));
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.seek("TitleKey", Variant("kirsche"), false));
    EXPECT_EQ(t.field("ID"), Variant("3"));
}

}  // namespace
}  // namespace zorbel::db
