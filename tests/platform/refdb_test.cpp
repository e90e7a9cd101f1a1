#include <gtest/gtest.h>

#include "platform/refdb.h"
#include "tests/support/fixture_db.h"

using namespace verrane::platform;

class RefDb : public ::testing::Test {
protected:
    void SetUp() override { dir = verrane::test::MakeFixtureDataDir("refdb"); }
    std::filesystem::path dir;
};

TEST_F(RefDb, FiltersBindNamesWithApostrophes) {
    auto db = Database::Open(dir / "verrane.sqlite");
    auto rs = db.OpenRecordset("Counties", Query::Where({{"STATE_NAME", "Maryland"}, {"NAME", "Prince George's"}}));
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.Field("FIPS").asText(), "24033");
    EXPECT_EQ(db.OpenRecordset("Counties", Query::Where({{"NAME", "O'Brien"}})).Field("cnty_fips").asDouble(), 141);
    // An injection attempt is just a name that matches nothing.
    EXPECT_TRUE(db.OpenRecordset("Counties", Query::Where({{"NAME", "x' OR '1'='1"}})).eof());
}

TEST_F(RefDb, FieldsMatchWithoutRegardToCase) {
    auto db = Database::Open(dir / "verrane.sqlite");
    auto rs = db.OpenRecordset("counties", Query::Where({{"state_name", "Oklahoma"}, {"name", "Oklahoma"}}));
    EXPECT_EQ(rs.Field("State_fips").asDouble(), 40);
    EXPECT_EQ(rs.Field("Cnty_fips").asDouble(), rs.Field("CNTY_FIPS").asDouble());
    EXPECT_EQ(rs.Field("State_name").asText(), "Oklahoma");
    EXPECT_THROW(rs.Field("NoSuchField"), DatabaseError);
}

TEST_F(RefDb, AnyOfKeepsTableOrderAndWalksLikeARecordset) {
    auto db = Database::Open(dir / "verrane.sqlite");
    Query q;
    q.anyOfField = "FIPS";
    q.anyOfValues = {"40109", "40017", "40109", "99999"};
    auto rs = db.OpenRecordset("tornado", q);
    EXPECT_EQ(rs.RecordCount(), 1u);
    std::vector<std::string> got;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) got.push_back(rs.Field("FIPS").asText());
    EXPECT_EQ(got, (std::vector<std::string>{"40017", "40109"}));
    rs.MoveLast();
    EXPECT_EQ(rs.RecordCount(), 2u);
    auto none = db.OpenRecordset("tornado", Query::Where({{"FIPS", "00000"}}));
    EXPECT_TRUE(none.eof());
    EXPECT_EQ(none.RecordCount(), 0u);
}

TEST_F(RefDb, SortsAndReportsMissingFilesAndTables) {
    auto db = Database::Open(dir / "verrane.sqlite");
    Query q;
    q.anyOfField = "FIPS";
    q.anyOfValues = {"48097", "08043"};
    q.sortField = "FIPS";
    auto rs = db.OpenRecordset("Counties", q);
    EXPECT_EQ(rs.Field("Name").asText(), "Fremont");
    EXPECT_THROW(db.OpenRecordset("nosuchtable"), DatabaseError);
    EXPECT_THROW(db.OpenRecordset("Counties; DROP TABLE states"), DatabaseError);
    try {
        Database::Open(dir / "missing.sqlite");
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.sqlite"), std::string::npos);
    }
}
