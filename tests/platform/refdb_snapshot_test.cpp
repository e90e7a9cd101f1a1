// The reference tables in memory answer every query exactly as the file does:
// the same fields, the same records, in the same order.
#include <gtest/gtest.h>

#include "platform/refdb.h"
#include "platform/refdb_snapshot.h"
#include "tests/support/fixture_db.h"
#include "tests/support/recordset_text.h"

using namespace verrane::platform;

namespace {

class Snapshot : public ::testing::Test {
protected:
    void SetUp() override { file = verrane::test::MakeFixtureDataDir("snapshot") / "verrane.sqlite"; }
    std::filesystem::path file;
};

TEST_F(Snapshot, AnswersEveryKindOfQueryAsTheFile) {
    Query sorted = Query::AnyOf("FIPS", {"48097", "08043", "40109"}, "FIPS");
    Query sortedByNumber = Query::AnyOf("STATE_NAME", {"Oklahoma", "Texas", "Colorado"}, "CNTY_FIPS");
    Query both = Query::Where({{"STATE_NAME", "Oklahoma"}});
    both.anyOfField = "NAME";
    both.anyOfValues = {"Kay", "Canadian", "Nowhere"};
    const std::vector<std::pair<std::string, Query>> queries{
        {"states", {}},
        {"Counties", Query::Where({{"STATE_NAME", "Oklahoma"}})},
        {"Counties", Query::Where({{"STATE_NAME", "Maryland"}, {"NAME", "Prince George's"}})},
        {"cntycoor", Query::Where({{"STATE_NAME", "Iowa"}, {"NAME", "O'Brien"}})},
        {"cntycoor", {}},
        // Duplicates, unknown codes and table order.
        {"tornado", Query::AnyOf("FIPS", {"40109", "40017", "40109", "99999", "19141"})},
        {"tornado", Query::AnyOf("FIPS", {})},
        {"Counties", sorted},
        {"Counties", sortedByNumber},
        {"Counties", both},
        // Names in any case; text compared byte for byte.
        {"COUNTIES", Query::Where({{"state_name", "Oklahoma"}, {"name", "Kay"}})},
        {"Counties", Query::Where({{"STATE_NAME", "oklahoma"}})},
        {"Counties", Query::Where({{"FIPS", "40109 "}})},
        // A number column compared with text, as the file's numeric affinity does.
        {"Counties", Query::Where({{"STATE_FIPS", "40"}})},
        {"Counties", Query::Where({{"STATE_FIPS", " 40.0 "}})},
        {"Counties", Query::Where({{"STATE_FIPS", "4e1"}})},
        {"Counties", Query::Where({{"STATE_FIPS", "0x28"}})},
        {"Counties", Query::Where({{"STATE_FIPS", "forty"}})},
        // Refusals.
        {"nosuchtable", {}},
        {"Counties", Query::Where({{"NoSuchField", "x"}})},
        {"Counties; DROP TABLE states", {}},
        {"Counties", Query::AnyOf("FIPS", {"40109"}, "NoSuchField")},
    };
    const Database onFile = Database::Open(file);
    ScopedReferenceSnapshot memory(file);
    const Database inMemory = Database::Open(file);
    for (const auto& [table, q] : queries) {
        SCOPED_TRACE(table);
        const std::string expected = verrane::test::RecordsetText(onFile, table, q);
        EXPECT_EQ(verrane::test::RecordsetText(inMemory, table, q), expected);
        EXPECT_EQ(verrane::test::RecordsetText(Database::Open(file.parent_path() / "." / "verrane.sqlite"), table, q),
                  expected);
    }
    EXPECT_EQ(inMemory.TableNames(), onFile.TableNames());
    // A misspelt field fails rather than matching nothing.
    EXPECT_THROW(onFile.OpenRecordset("Counties", Query::Where({{"NoSuchField", "x"}})), DatabaseError);
}

TEST_F(Snapshot, ServesOnlyWhileInstalledAndOnlyItsFile) {
    auto snapshot = ReferenceSnapshot::Load(file);
    std::vector<std::pair<std::string, Query>> log;
    snapshot->LogQueriesTo(&log);
    {
        ScopedReferenceSnapshot installed(snapshot);
        Database::Open(file).OpenRecordset("states");
        // Another file, and a missing one, are still opened from disk.
        const auto other = verrane::test::MakeFixtureDataDir("snapshot-other") / "verrane.sqlite";
        Database::Open(other).OpenRecordset("states");
        EXPECT_THROW(Database::Open(file.parent_path() / "missing.sqlite"), DatabaseError);
    }
    Database::Open(file).OpenRecordset("states");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, "states");
    // What the snapshot holds does not follow later changes of the file.
    verrane::test::ExecSql(file.parent_path(), "DELETE FROM states WHERE STATE_NAME = 'Iowa'");
    EXPECT_EQ(snapshot->Select("states", {}).size(), 6u);
    EXPECT_EQ(Database::Open(file).OpenRecordset("states").size(), 5u);
}

TEST_F(Snapshot, RecordsetsWalkAndCountAsFromTheFile) {
    ScopedReferenceSnapshot memory(file);
    auto rs = Database::Open(file).OpenRecordset("tornado", Query::AnyOf("FIPS", {"40109", "40017"}));
    EXPECT_EQ(rs.RecordCount(), 1u);
    rs.MoveNext();
    EXPECT_EQ(rs.Field("fips").asText(), "40109");
    rs.MoveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.Field("FIPS"), DatabaseError);
    EXPECT_THROW(rs.FieldAt(0), DatabaseError);
    rs.MoveLast();
    EXPECT_EQ(rs.RecordCount(), 2u);
    EXPECT_THROW(rs.FieldAt(10000), DatabaseError);
}

}  // namespace
