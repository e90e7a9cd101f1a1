// Facts the program relies on, checked on the shipped data/ when it exists.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "refdata.h"

namespace {

const std::string kData = VERRANE_SOURCE_DATA_DIR;

class ShippedData : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kData + "/verrane.sqlite")) GTEST_SKIP() << "no data/verrane.sqlite";
        ASSERT_EQ(sqlite3_open_v2((kData + "/verrane.sqlite").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    }
    void TearDown() override { sqlite3_close(db); }

    // First column of the first row, as text ("" when there is none).
    std::string one(const std::string& sql, const std::string& arg = "") {
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
        if (!arg.empty()) sqlite3_bind_text(st, 1, arg.c_str(), -1, SQLITE_TRANSIENT);
        std::string v;
        if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            v = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        return v;
    }
    double num(const std::string& sql, const std::string& arg = "") { return std::stod(one(sql, arg)); }
    std::string county(const std::string& field, const std::string& fips) {
        return one("SELECT " + field + " FROM Counties WHERE FIPS = ?", fips);
    }
    sqlite3* db = nullptr;
};

TEST_F(ShippedData, CheckModePasses) {
    std::ostringstream out;
    EXPECT_EQ(refdata::check_data(kData, "", out), 0) << out.str();
}

TEST_F(ShippedData, CheckModeFindsDamage) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "refdata_damaged";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* f : {"verrane.sqlite", "Counties.shp", "Counties.shx", "Counties.dbf", "states.shp", "states.shx",
                          "states.dbf", "statline.shp", "statline.shx", "statline.dbf"})
        fs::copy_file(kData + "/" + f, dir / f);
    sqlite3* d = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "verrane.sqlite").c_str(), &d), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(d,
                           "UPDATE Counties SET Time_Zones = 'Central Time' WHERE FIPS = '01001';"
                           "DELETE FROM tornado WHERE FIPS = '40109';"
                           "UPDATE cntycoor SET NAME = 'Elsewhere' WHERE Fips = '12086';",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(d);
    std::ostringstream out;
    EXPECT_GE(refdata::check_data(dir.string(), "", out), 3);
    EXPECT_NE(out.str().find("path length of F3"), std::string::npos) << "a county's tornadoes are missing";
    EXPECT_NE(out.str().find("01001: Time_Zones 'Central Time'"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("12086: names differ"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("meta: content_sha256"), std::string::npos) << "the identity no longer fits the content";

    // Not a database at all, and no folder at all: reported, not a crash.
    fs::remove(dir / "verrane.sqlite");
    std::ofstream(dir / "verrane.sqlite") << "not a database";
    EXPECT_GT(refdata::check_data(dir.string(), "", out), 0);
    EXPECT_GT(refdata::check_data((dir / "missing").string(), "", out), 0);
    fs::remove_all(dir);
}

TEST_F(ShippedData, CheckModeFindsATrackCountedInFullInEveryCounty) {
    // The fault the table once had: each county given the whole track.
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "refdata_whole_tracks";
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(kData + "/verrane.sqlite", dir / "verrane.sqlite");
    sqlite3* d = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "verrane.sqlite").c_str(), &d), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(d, "UPDATE tornado SET FLENFT4 = FLENFT4 * 1.2 WHERE FLENFT4 > 0", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(d);
    std::ostringstream out;
    EXPECT_GT(refdata::check_data(dir.string(), "", out), 0);
    EXPECT_NE(out.str().find("path length of F4 is 1.2 times the record's"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("F4: table"), std::string::npos) << "the figures are printed";
    fs::remove_all(dir);
}

TEST_F(ShippedData, CheckModeHoldsEachTornadosCountiesToFcount) {
    // Every county's distinct tornadoes of a class are its FCOUNT: a pair lost,
    // a tornado listed twice in a county, and a class changed are each found.
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "refdata_tornado_counties";
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(kData + "/verrane.sqlite", dir / "verrane.sqlite");
    EXPECT_EQ(num("SELECT COUNT(*) FROM tornado_counties"), num("SELECT value FROM meta WHERE key = "
                                                                "'tornado_county_entries'"));
    EXPECT_EQ(num("SELECT COUNT(DISTINCT TORNADO) FROM tornado_counties WHERE FIPS = '40109' AND F = 4"),
              num("SELECT FCOUNT4 FROM tornado WHERE FIPS = '40109'"));
    sqlite3* d = nullptr;
    ASSERT_EQ(sqlite3_open((dir / "verrane.sqlite").c_str(), &d), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(d,
                           "DELETE FROM tornado_counties WHERE rowid = (SELECT MIN(rowid) FROM tornado_counties "
                           "WHERE FIPS = '40109' AND F = 4);"
                           "INSERT INTO tornado_counties SELECT * FROM tornado_counties WHERE FIPS = '20173' AND "
                           "F = 5 LIMIT 1;"
                           "UPDATE tornado_counties SET F = 2 WHERE rowid = (SELECT MIN(t.rowid) FROM "
                           "tornado_counties t WHERE t.F = 3 AND (SELECT COUNT(*) FROM tornado_counties u WHERE "
                           "u.TORNADO = t.TORNADO) > 1);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(d);
    std::ostringstream out;
    EXPECT_GT(refdata::check_data(dir.string(), "", out), 0);
    const std::string said = out.str();
    EXPECT_NE(said.find("tornado_counties 40109: "), std::string::npos) << said;
    EXPECT_NE(said.find("distinct tornadoes of class 4, FCOUNT is"), std::string::npos) << said;
    EXPECT_NE(said.find("tornado_counties 20173: a tornado listed twice in class 5"), std::string::npos) << said;
    EXPECT_NE(said.find("a tornado with more than one class"), std::string::npos) << said;
    fs::remove_all(dir);
}

// The help's comparison with the published point probability of central
// Oklahoma, 1950-1982: the 20 counties within 50 miles of Oklahoma County.
TEST_F(ShippedData, PointProbabilityOfCentralOklahomaIsTheHelpsFigure) {
    const std::string region =
        "('40011','40015','40017','40027','40037','40047','40051','40073','40081','40083','40087','40103','40107',"
        "'40109','40113','40117','40119','40123','40125','40133')";
    const double acres = num("SELECT SUM(AREA) * 640 FROM Counties WHERE FIPS IN " + region);
    const double covered =
        num("SELECT SUM(ACRES) FROM tornado_counties WHERE YR BETWEEN 1950 AND 1982 AND FIPS IN " + region);
    const double tornadoes = num(
        "SELECT COUNT(DISTINCT TORNADO) FROM tornado_counties WHERE YR BETWEEN 1950 AND 1982 AND FIPS IN " + region);
    const double point = covered / 33 / acres;
    EXPECT_NEAR(acres, 11438601, 0.5);
    EXPECT_NEAR(covered, 245108, 0.5);
    EXPECT_EQ(tornadoes, 572);
    EXPECT_NEAR(point, 6.49e-4, 0.005e-4);
    // Over the whole record the same sum gives the pooled path areas the
    // analysis uses: FAC x FCOUNT over the region's counties.
    double pooled = 0;
    for (int f = 0; f < 6; ++f) {
        const std::string c = std::to_string(f);
        pooled += num("SELECT SUM(CASE WHEN FAC" + c + " > 0 THEN FAC" + c + " * FCOUNT" + c +
                      " ELSE 0 END) FROM tornado WHERE FIPS IN " + region);
    }
    EXPECT_NEAR(num("SELECT SUM(ACRES) FROM tornado_counties WHERE FIPS IN " + region), pooled, 1e-6 * pooled);

    std::ifstream help(kData + "/torhelp.html");
    const std::string text((std::istreambuf_iterator<char>(help)), {});
    for (const char* said : {"20 counties around Oklahoma County (11,438,601 acres)", "(572 tornadoes)",
                             "245,108 / 33 years / 11,438,601 acres = 6.49 x 10<sup>-4</sup> a year"})
        EXPECT_NE(text.find(said), std::string::npos) << said;
}

// The database's identity names its content, not its pages: rewriting the
// file leaves it, changing one stored value by its last bit changes it.
TEST_F(ShippedData, ContentHashNamesTheContent) {
    namespace fs = std::filesystem;
    const std::string stored = one("SELECT value FROM meta WHERE key = 'content_sha256'");
    ASSERT_EQ(stored.size(), 64u);
    EXPECT_EQ(refdata::content_sha256(db), stored);
    const fs::path copy = fs::temp_directory_path() / "refdata_hash.sqlite";
    fs::remove(copy);
    fs::copy_file(kData + "/verrane.sqlite", copy);
    sqlite3* d = nullptr;
    ASSERT_EQ(sqlite3_open(copy.c_str(), &d), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(d, "PRAGMA page_size = 8192; VACUUM;", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(refdata::content_sha256(d), stored);
    ASSERT_EQ(sqlite3_exec(d, "UPDATE Counties SET AREA = AREA * (1 + 2.3e-16) WHERE FIPS = '40109'", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    EXPECT_NE(refdata::content_sha256(d), stored);
    sqlite3_close(d);
    fs::remove(copy);
}

TEST_F(ShippedData, EveryCountyHasATornadoRowAndCoordinates) {
    EXPECT_EQ(num("SELECT count(*) FROM Counties"), 3231);
    EXPECT_EQ(num("SELECT count(*) FROM states"), 56);
    EXPECT_EQ(num("SELECT count(*) FROM Counties WHERE FIPS NOT IN (SELECT FIPS FROM tornado)"), 0);
    EXPECT_EQ(num("SELECT count(*) FROM Counties WHERE FIPS NOT IN (SELECT Fips FROM cntycoor)"), 0);
    EXPECT_EQ(num("SELECT count(*) FROM (SELECT 1 FROM Counties GROUP BY STATE_NAME, NAME HAVING count(*) > 1)"), 0);
    EXPECT_EQ(one("SELECT NAME FROM Counties WHERE FIPS = '24510'"), "Baltimore city");
    EXPECT_EQ(one("SELECT NAME FROM Counties WHERE FIPS = '29189'"), "St. Louis");
}

TEST_F(ShippedData, FieldNamesMatchWhicheverCaseTheProgramUses) {
    EXPECT_EQ(one("SELECT State_name FROM Counties WHERE Cnty_fips = 109 AND State_fips = 40"), "Oklahoma");
    EXPECT_EQ(one("SELECT Name FROM Counties WHERE FIPS = '40109'"), "Oklahoma");
}

TEST_F(ShippedData, TimeZonesOfKnownCounties) {
    EXPECT_EQ(county("Time_Zones", "40109"), "Central Standard Time");
    EXPECT_EQ(county("Daylitsave", "40109"), "1");
    EXPECT_EQ(county("Time_Zones", "04013"), "Mountain Standard Time");
    EXPECT_EQ(county("Daylitsave", "04013"), "0");
    EXPECT_EQ(county("Time_Zones", "15003"), "Hawaii-Aleutian Standard Time");
    EXPECT_EQ(county("Daylitsave", "15003"), "0");
    EXPECT_EQ(county("Time_Zones", "12033"), "Central Standard Time");
    EXPECT_EQ(county("Time_Zones", "12073"), "Eastern Standard Time");  // Leon, east of the river
}

TEST_F(ShippedData, HurricaneWindSpeeds) {
    EXPECT_GE(num("SELECT Hur_wind FROM Counties WHERE FIPS = '12086'"), 140);
    EXPECT_EQ(num("SELECT Hur_wind FROM Counties WHERE FIPS = '20169'"), 90);  // Saline, Kansas
}

TEST_F(ShippedData, TornadoRecord) {
    EXPECT_GT(num("SELECT FCOUNT0+FCOUNT1+FCOUNT2+FCOUNT3+FCOUNT4+FCOUNT5 FROM tornado WHERE FIPS = '40109'"), 80);
    EXPECT_EQ(num("SELECT RYEARS FROM tornado WHERE FIPS = '40109'"), 74);
    EXPECT_EQ(one("SELECT value FROM meta WHERE key = 'tornado_years'"), "1950-2023");
    double all = num("SELECT sum(FCOUNT0+FCOUNT1+FCOUNT2+FCOUNT3+FCOUNT4+FCOUNT5) FROM tornado");
    EXPECT_GE(all, num("SELECT value FROM meta WHERE key = 'tornadoes_counted'"));
    EXPECT_GE(all, num("SELECT value FROM meta WHERE key = 'tornado_rows_read'"));
}

}  // namespace
