#pragma once
// A small reference database for tests: a few states and counties with
// realistic codes, names with apostrophes and accents, tornado rows and
// county coordinates. Written to a fresh temporary folder.
#include <filesystem>
#include <string>
#include <vector>

namespace verrane::test {

struct FixtureCounty {
    std::string state, name, fips;
    double area = 0;
    std::string timeZone;
    int dst = 1;
    double hurWind = 90;
    double x = 0, y = 0, halfSize = 15;  // centroid and half width of the square county, miles
    int f3 = 0;                          // FCOUNT3
};

std::vector<std::string> FixtureStates();
std::vector<FixtureCounty> FixtureCounties();

// Creates <dir>/verrane.sqlite with the fixture tables; returns dir.
std::filesystem::path MakeFixtureDataDir(const std::string& tag);
// Executes SQL against the fixture database (to change a value in a test).
void ExecSql(const std::filesystem::path& dataDir, const std::string& sql);

}  // namespace verrane::test
