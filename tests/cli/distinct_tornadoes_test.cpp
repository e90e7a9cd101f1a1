// The distinct tornadoes of a pooled region, which the interval of
// `sensitivity` draws from, against counts made here from the raw tornado
// record (skipped when the raw files are not at hand).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "refdata.h"
#include "tests/cli/run_cli.h"

namespace verrane {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The raw sources: $VERRANE_RAW_DATA, or a shared/data folder beside one of
// the source tree's parents.
std::optional<fs::path> RawData() {
    if (const char* env = std::getenv("VERRANE_RAW_DATA")) return fs::path(env);
    for (fs::path p = fs::absolute(VERRANE_SOURCE_DIR); !p.empty() && p != p.root_path(); p = p.parent_path())
        if (fs::exists(p / "shared" / "data" / "spc")) return p / "shared" / "data";
    return std::nullopt;
}

using Id = std::pair<int, int>;  // year, number in the year

struct RawTornado {
    int cls = 0;                 // unknown ratings in F0
    std::set<std::string> fips;  // the counties the record lists
};

// Every tornado of a record file in CSV: its class and listed counties, by
// (year, number); segment and continuation rows add their counties.
void ReadRaw(const std::string& text, std::map<Id, RawTornado>& out) {
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = refdata::split_csv(line);
    auto col = [&](const std::string& name) {
        for (size_t i = 0; i < header.size(); ++i)
            if (header[i] == name) return i;
        ADD_FAILURE() << "no column " << name;
        return size_t(0);
    };
    const size_t om = col("om"), yr = col("yr"), mag = col("mag"), stf = col("stf");
    const std::array<size_t, 4> f{col("f1"), col("f2"), col("f3"), col("f4")};
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::vector<std::string> v = refdata::split_csv(line);
        if (v.size() < header.size()) continue;
        RawTornado& t = out[{std::atoi(v[yr].c_str()), std::atoi(v[om].c_str())}];
        const int m = std::atoi(v[mag].c_str());
        t.cls = v[mag] == "NA" || m < 0 ? 0 : m;
        for (size_t c : f) {
            const int code = std::atoi(v[c].c_str());
            if (code <= 0) continue;
            char fips[8];
            std::snprintf(fips, sizeof fips, "%02d%03d", std::atoi(v[stf].c_str()), code);
            t.fips.insert(fips);
        }
    }
}

TEST(DistinctTornadoes, TheGymsRegionCountsEachTornadoOfTheRawRecordOnce) {
    const auto raw = RawData();
    if (!raw || !fs::exists(*raw / "spc" / "1950-2022_tornados_tidytuesday.zip"))
        GTEST_SKIP() << "no raw tornado record (set VERRANE_RAW_DATA)";
    const std::string gym = (fs::path(VERRANE_SOURCE_DIR) / "examples" / "oklahoma-school-gym.tor").string();
    const test::CliRun analysed = test::RunCli("analyze --json " + test::ShellWord(gym));
    ASSERT_EQ(analysed.status, 0) << analysed.err;
    const json a = json::parse(analysed.out)[0];
    const std::vector<std::string> region = a["SelectedCounties"];
    ASSERT_EQ(region.size(), 20U);  // 50 miles around Oklahoma County
    const test::CliRun sensitivity = test::RunCli("sensitivity --json " + test::ShellWord(gym));
    ASSERT_EQ(sensitivity.status, 0) << sensitivity.err;
    const std::vector<long> tornadoes = json::parse(sensitivity.out)["Uncertainty"]["Tornadoes"];
    ASSERT_EQ(tornadoes.size(), 6U);

    // The tornadoes the shipped table places in the region, by year and number.
    std::set<Id> placed;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2((std::string(VERRANE_SOURCE_DATA_DIR) + "/verrane.sqlite").c_str(), &db,
                              SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT YR, OM FROM tornado_counties WHERE FIPS = ?", -1, &st, nullptr),
              SQLITE_OK);
    for (const std::string& fips : region) {
        sqlite3_bind_text(st, 1, fips.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(st) == SQLITE_ROW) placed.insert({sqlite3_column_int(st, 0), sqlite3_column_int(st, 1)});
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);

    std::map<Id, RawTornado> record;
    ReadRaw(refdata::read_zip_entry((*raw / "spc" / "1950-2022_tornados_tidytuesday.zip").string(), ".csv"), record);
    std::ifstream y2023(*raw / "spc" / "2023_torn.csv", std::ios::binary);
    ASSERT_TRUE(y2023);
    ReadRaw(std::string(std::istreambuf_iterator<char>(y2023), {}), record);

    // Counted from the raw record: each placed tornado once, in its own class.
    std::array<long, 6> counted{};
    for (const Id& id : placed) {
        const auto it = record.find(id);
        ASSERT_NE(it, record.end()) << id.first << "-" << id.second << " is not in the raw record";
        ++counted[static_cast<size_t>(it->second.cls)];
    }
    // Every tornado the record itself lists in a county of the region is there.
    const std::set<std::string> inRegion(region.begin(), region.end());
    long listed = 0;
    for (const auto& [id, t] : record)
        for (const std::string& fips : t.fips)
            if (inRegion.count(fips)) {
                ++listed;
                EXPECT_TRUE(placed.count(id)) << id.first << "-" << id.second << " listed in " << fips;
                break;
            }
    EXPECT_GT(listed, 1000);
    for (size_t f = 0; f < 6; ++f) EXPECT_EQ(tornadoes[f], counted[f]) << "F" << f;

    // The pooled counts count a tornado in every county of the region it
    // touched: never fewer, and for this region more in every class.
    const std::vector<double> pooled = a["ReportCountByF"];
    for (size_t f = 0; f < 6; ++f) EXPECT_GT(pooled[f], static_cast<double>(counted[f])) << "F" << f;
}

}  // namespace
}  // namespace verrane
