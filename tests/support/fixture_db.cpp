#include "tests/support/fixture_db.h"

#include <sqlite3.h>

#include <unistd.h>
#include <stdexcept>

namespace verrane::test {

std::vector<std::string> FixtureStates() { return {"Colorado", "Iowa", "Kansas", "Maryland", "Oklahoma", "Texas"}; }

std::vector<FixtureCounty> FixtureCounties() {
    return {
        {"Colorado", "Fremont", "08043", 1534, "Mountain Standard Time", 1, 90, -700, 100, 20, 0},
        {"Iowa", "O'Brien", "19141", 573, "Central Standard Time", 1, 90, 0, 500, 12, 1},
        {"Kansas", "Cowley", "20035", 1132, "Central Standard Time", 1, 90, 0, 60, 20, 6},
        {"Maryland", "Prince George's", "24033", 499, "Eastern Standard Time", 1, 110, 1300, 300, 12, 0},
        {"Oklahoma", "Canadian", "40017", 905, "Central Standard Time", 1, 90, -30, 0, 15, 5},
        {"Oklahoma", "Cleveland", "40027", 558, "Central Standard Time", 1, 90, 0, -30, 15, 4},
        {"Oklahoma", "Kay", "40071", 945, "Central Standard Time", 1, 90, 0, 60, 15, 3},
        {"Oklahoma", "Oklahoma", "40109", 718, "Central Standard Time", 1, 90, 0, 0, 15, 7},
        {"Texas", "Cooke", "48097", 898, "Central Standard Time", 1, 90, 0, -150, 15, 2},
    };
}

namespace {
void Exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error("fixture SQL failed: " + msg + " in " + sql);
    }
}
std::string Q(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}
}  // namespace

void ExecSql(const std::filesystem::path& dir, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open((dir / "verrane.sqlite").string().c_str(), &db);
    Exec(db, sql);
    sqlite3_close(db);
}

std::filesystem::path MakeFixtureDataDir(const std::string& tag) {
    auto dir = std::filesystem::temp_directory_path() / ("verrane-fixture-" + tag + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    sqlite3* db = nullptr;
    sqlite3_open((dir / "verrane.sqlite").string().c_str(), &db);
    Exec(db, "BEGIN");
    Exec(db, "CREATE TABLE states (STATE_NAME TEXT)");
    for (const auto& s : FixtureStates()) Exec(db, "INSERT INTO states VALUES (" + Q(s) + ")");
    Exec(db,
         "CREATE TABLE Counties (STATE_NAME TEXT, NAME TEXT, STATE_FIPS INTEGER, CNTY_FIPS INTEGER, FIPS TEXT, "
         "AREA REAL, Time_Zones TEXT, Daylitsave INTEGER, Hur_wind REAL)");
    std::string tcols = "FIPS TEXT, RYEARS INTEGER";
    for (int f = 0; f < 6; ++f) tcols += ", FCOUNT" + std::to_string(f) + " REAL";
    for (int f = 0; f < 6; ++f) tcols += ", FLENFT" + std::to_string(f) + " REAL";
    for (int f = 0; f < 6; ++f) tcols += ", FAC" + std::to_string(f) + " REAL";
    for (int f = 0; f < 6; ++f)
        for (int h = 0; h < 24; ++h) tcols += ", Fcnt" + std::to_string(f) + "hr" + std::to_string(h) + " REAL";
    Exec(db, "CREATE TABLE tornado (" + tcols + ")");
    // Each tornado of the fixture touched one county only.
    Exec(db,
         "CREATE TABLE tornado_counties (TORNADO INTEGER, YR INTEGER, OM INTEGER, F INTEGER, FIPS TEXT, ACRES "
         "REAL)");
    long tornado = 0;
    Exec(db,
         "CREATE TABLE cntycoor (STATE_NAME TEXT, NAME TEXT, Fips TEXT, X_Coord REAL, Y_Coord REAL, Leftex REAL, "
         "Rightex REAL, Bottomex REAL, Topex REAL)");
    for (const auto& c : FixtureCounties()) {
        const int st = std::stoi(c.fips.substr(0, 2)), co = std::stoi(c.fips.substr(2));
        Exec(db, "INSERT INTO Counties VALUES (" + Q(c.state) + "," + Q(c.name) + "," + std::to_string(st) + "," +
                     std::to_string(co) + "," + Q(c.fips) + "," + std::to_string(c.area) + "," + Q(c.timeZone) + "," +
                     std::to_string(c.dst) + "," + std::to_string(c.hurWind) + ")");
        // Tornado row: every class gets a count; hour 17 local (18 Eastern) holds them.
        std::string row = Q(c.fips) + ",73";
        const int counts[6] = {20, 10, 6, c.f3, 1, 0};
        for (int f = 0; f < 6; ++f) row += "," + std::to_string(counts[f]);
        for (int f = 0; f < 6; ++f) row += "," + std::to_string(counts[f] ? 5280 * (f + 1) : 0);
        for (int f = 0; f < 6; ++f) row += "," + std::to_string(counts[f] ? 10 * (f + 1) : 0);
        for (int f = 0; f < 6; ++f)
            for (int h = 0; h < 24; ++h) row += "," + std::to_string(h == 18 ? counts[f] : 0);
        Exec(db, "INSERT INTO tornado VALUES (" + row + ")");
        for (int f = 0; f < 6; ++f)
            for (int n = 0; n < counts[f]; ++n, ++tornado)
                Exec(db, "INSERT INTO tornado_counties VALUES (" + std::to_string(tornado + 1) + ",1950," +
                             std::to_string(tornado + 1) + "," + std::to_string(f) + "," + Q(c.fips) + "," +
                             std::to_string(10 * (f + 1)) + ")");
        Exec(db, "INSERT INTO cntycoor VALUES (" + Q(c.state) + "," + Q(c.name) + "," + Q(c.fips) + "," +
                     std::to_string(c.x) + "," + std::to_string(c.y) + "," + std::to_string(c.x - c.halfSize) + "," +
                     std::to_string(c.x + c.halfSize) + "," + std::to_string(c.y - c.halfSize) + "," +
                     std::to_string(c.y + c.halfSize) + ")");
    }
    Exec(db, "COMMIT");
    sqlite3_close(db);
    return dir;
}

}  // namespace verrane::test
