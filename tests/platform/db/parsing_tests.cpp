// The connection text and the search criterion grammar.

#include <gtest/gtest.h>

#include "platform/db/connection_text.hpp"
#include "platform/db/criterion.hpp"
#include "platform/db/db_error.hpp"

namespace zorbel::db {
namespace {

TEST(ConnectionText, PartsAreFound) {
    auto parts = parseConnectionText("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/a b/x.mdb;Mode=Share Deny None");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->provider, "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(parts->dataSource, "/a b/x.mdb");
    EXPECT_EQ(parts->mode, "Share Deny None");

    parts = parseConnectionText(" data source = \"/x;y.mdb\" ; PROVIDER=p ");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->dataSource, "/x;y.mdb");
    EXPECT_EQ(parts->provider, "p");
}

TEST(ConnectionText, TextForAFileRoundTrips) {
    for (std::string file : {"/d/MusicDB.mdb", "/it's 100%/ä;b.mdb"}) {
        auto parts = parseConnectionText(connectionTextFor(file));
        ASSERT_TRUE(parts) << file;
        EXPECT_EQ(parts->dataSource, file);
        EXPECT_EQ(parts->provider, kJetProvider);
    }
}

TEST(ConnectionText, IncompleteTextsAreRejected) {
    for (const char* t : {"", "Provider=p", "Data Source=/x", "Provider=p;Data Source", "Provider=p;Data Source=\"/x"})
        EXPECT_FALSE(parseConnectionText(t)) << t;
}

TEST(Criterion, WellFormedCriteria) {
    struct Case {
        const char* text;
        const char* column;
        const char* value;
    } cases[] = {
        {"ID = 'abc'", "ID", "abc"},
        {"ID='{A-1}'", "ID", "{A-1}"},
        {"  Title  =  'It''s'  ", "Title", "It's"},
        {"ID = ''", "ID", ""},
        {"ID = '100% ä ''x'''", "ID", "100% ä 'x'"},
    };
    for (const Case& c : cases) {
        Criterion parsed = parseCriterion(c.text);
        EXPECT_EQ(parsed.column, c.column) << c.text;
        EXPECT_EQ(parsed.value, c.value) << c.text;
    }
}

TEST(Criterion, MalformedCriteriaRaise) {
    for (const char* t : {"", "ID", "ID =", "ID = abc", "ID = 'a'b'", "ID = 'open", "= 'x'", "ID == 'x'",
                          "ID = 'x' OR 1", "ID LIKE 'x'", "I D = 'x'"}) {
        try {
            parseCriterion(t);
            ADD_FAILURE() << "accepted: " << t;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), errorNumber(DbError::MalformedCriterion)) << t;
        }
    }
}

TEST(Criterion, QuotedLiteralParsesBack) {
    for (std::string v : {"", "plain", "it's", "''", "a'b'c"})
        EXPECT_EQ(parseCriterion("ID = " + quoteLiteral(v)).value, v);
}

}  // namespace
}  // namespace zorbel::db
