// Check mode: validates the built data folder on its own, and against the
// independent county time zone table when the raw folder is given.
#include <shapefil.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>

#include "model/hazard.h"
#include "refdata.h"

namespace refdata {

namespace {

const char* const kZones[] = {"Atlantic Standard Time",        "Eastern Standard Time", "Central Standard Time",
                              "Mountain Standard Time",        "Pacific Standard Time", "Alaska Standard Time",
                              "Hawaii-Aleutian Standard Time", "Samoan Standard Time",  "Guam Standard Time"};

// Where the cross-check table and our rule differ on purpose.
const std::map<std::string, std::string>& explained_zone_differences() {
    static const std::map<std::string, std::string> m = {
        {"02013",
         "Aleutians East: its towns (Cold Bay, King Cove, Sand Point, Akutan) keep Alaska time; only the islands west "
         "of 169.5 W (Aleutians West) keep Hawaii-Aleutian time"},
        {"31031", "Cherry: split county; the seat Valentine and most of the people are on Central time"},
    };
    return m;
}

struct Checker {
    std::ostream& out;
    int problems = 0;
    void fail(const std::string& m) {
        out << "problem: " << m << "\n";
        ++problems;
    }
    void expect(bool ok, const std::string& m) {
        if (!ok) fail(m);
    }
};

struct Query {
    sqlite3_stmt* st = nullptr;
    bool ok = false;
    Query(sqlite3* db, const std::string& sql) {
        ok = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK;
    }
    ~Query() { sqlite3_finalize(st); }
    bool next() { return ok && sqlite3_step(st) == SQLITE_ROW; }
    std::string text(int i) {
        const unsigned char* t = sqlite3_column_text(st, i);
        return t ? reinterpret_cast<const char*>(t) : "";
    }
    double real(int i) { return sqlite3_column_double(st, i); }
    bool null(int i) { return sqlite3_column_type(st, i) == SQLITE_NULL; }
};

struct Row {
    std::string state, name, fips;
    long state_fips = 0, cnty_fips = 0;
};

std::string attr(DBFHandle h, int rec, int field) {
    const char* v = DBFReadStringAttribute(h, rec, field);
    return v ? v : "";
}

std::string fmt(double v) {
    std::ostringstream s;
    s << v;
    return s.str();
}

void check_columns(Checker& c, sqlite3* db, const std::string& table, const std::vector<std::string>& want) {
    Query q(db, "PRAGMA table_info(" + table + ")");
    std::vector<std::string> got;
    while (q.next()) got.push_back(q.text(1));
    for (const std::string& w : want)
        c.expect(std::find(got.begin(), got.end(), w) != got.end(), "table " + table + " has no column " + w);
}

void check_zones_against(Checker& c, const std::map<std::string, std::pair<std::string, std::string>>& ours,
                         const std::string& csv_path) {
    std::ifstream in(csv_path);
    if (!in) {
        c.fail("cannot open " + csv_path);
        return;
    }
    std::string line;
    std::getline(in, line);
    std::set<std::string> listed;
    int agree = 0, explained = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> f = split_csv(line);
        if (f.size() < 4) continue;
        std::string digits = f[0];
        if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), ::isdigit)) {
            c.fail(csv_path + ": bad fips '" + f[0] + "'");
            continue;
        }
        std::string fips = std::string(5 - digits.size(), '0') + digits;
        std::string now = current_fips(fips);
        listed.insert(now);
        auto it = ours.find(now);
        if (it == ours.end()) {
            c.out << "time zone table: " << fips << " (" << f[2] << ") is not a county of the atlas\n";
            continue;
        }
        std::optional<std::string> z = zone_of_olson(f[1]);
        if (!z) {
            c.fail("time zone table: unknown zone " + f[1] + " for " + fips);
            continue;
        }
        if (*z == it->second.first) {
            ++agree;
            continue;
        }
        auto why = explained_zone_differences().find(now);
        std::string msg = now + " " + it->second.second + ": ours " + it->second.first + ", table " + f[1];
        if (why != explained_zone_differences().end()) {
            c.out << "time zone differs (explained): " << msg << " -- " << why->second << "\n";
            ++explained;
        } else {
            c.fail("time zone differs: " + msg);
        }
    }
    int unlisted = 0;
    for (const auto& [fips, v] : ours)
        if (!listed.count(fips)) ++unlisted;
    c.out << "time zones: " << agree << " agree with the table, " << explained << " differ for a stated reason, "
          << unlisted << " counties not in the table (territories, renamed counties)\n";
}

std::string meta(sqlite3* db, const std::string& key) {
    Query q(db, "SELECT value FROM meta WHERE key = '" + key + "'");
    return q.next() ? q.text(0) : "";
}

std::optional<ClassSums> sums_of(const std::string& text) {
    std::vector<std::string> f = split_csv(text);
    if (f.size() != 6) return std::nullopt;
    ClassSums v{};
    for (int i = 0; i < 6; ++i) {
        char* end = nullptr;
        v[i] = std::strtod(f[i].c_str(), &end);
        if (f[i].empty() || *end) return std::nullopt;
    }
    return v;
}

bool close_to(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

// The pooled path length and area of each class against the record's, less
// what the build could place in no county; the unknown-rated tornadoes count in F0.
void compare_class_totals(Checker& c, const ClassSums& table_len, const ClassSums& table_acres, const ClassSums& len,
                          const ClassSums& acres, const ClassSums& drop_len, const ClassSums& drop_acres,
                          double unrated_len, double unrated_acres) {
    char line[200];
    c.out << "path length by class, summed over counties (FLENFT x FCOUNT) against the record (each tornado once):\n";
    for (int f = 0; f < 6; ++f) {
        double raw = len[f], ratio = raw > 0 ? table_len[f] / raw : 0;
        std::snprintf(line, sizeof line, "  F%d: table %.0f ft, record %.0f ft, ratio %.4f\n", f, table_len[f], raw,
                      ratio);
        c.out << line;
        if (f > 0 && raw > 0)
            c.expect(std::fabs(ratio - 1) <= 0.05, "tornado: path length of F" + std::to_string(f) + " is " +
                                                       fmt(ratio) + " times the record's (more than 5 % off)");
        // Exact bookkeeping: every tornado's length once; the unknown-rated ones in
        // F0; nothing but what the build could place in no county missing.
        double want_len = raw - drop_len[f] + (f == 0 ? unrated_len : 0);
        double want_acres = acres[f] - drop_acres[f] + (f == 0 ? unrated_acres : 0);
        c.expect(std::fabs(table_len[f] - want_len) <= 1e-6 * std::max(1.0, want_len),
                 "tornado: path length of F" + std::to_string(f) + " summed over counties is " + fmt(table_len[f]) +
                     " ft, the record gives " + fmt(want_len));
        c.expect(std::fabs(table_acres[f] - want_acres) <= 1e-6 * std::max(1.0, want_acres),
                 "tornado: path area of F" + std::to_string(f) + " summed over counties is " + fmt(table_acres[f]) +
                     " acres, the record gives " + fmt(want_acres));
    }
    double all_table = 0, all_raw = unrated_acres;
    for (int f = 0; f < 6; ++f) {
        all_table += table_acres[f];
        all_raw += acres[f];
    }
    std::snprintf(line, sizeof line,
                  "  F0 surplus over the rated F0 tornadoes: %.0f ft; length of the unknown-rated tornadoes: %.0f ft\n"
                  "  path area, all classes: table %.0f acres, record %.0f acres, ratio %.4f\n",
                  table_len[0] - len[0], unrated_len, all_table, all_raw, all_raw > 0 ? all_table / all_raw : 0);
    c.out << line;
}

// The path length and area the table holds, pooled over every county as the
// program pools a region (average x count), against the record's own figures,
// each tornado counted once. The record's figures are those the build wrote
// into meta; with the raw folder they are read anew from the record files.
void check_record_totals(Checker& c, sqlite3* db, const ClassSums& table_len, const ClassSums& table_acres, int ryears,
                         const std::string& raw_dir, const std::vector<std::string>& extra_spc) {
    std::optional<ClassSums> len = sums_of(meta(db, "tornado_length_ft")), acres = sums_of(meta(db, "tornado_acres"));
    std::optional<ClassSums> drop_len = sums_of(meta(db, "tornado_dropped_length_ft")),
                             drop_acres = sums_of(meta(db, "tornado_dropped_acres"));
    double unrated_len = std::atof(meta(db, "tornado_unrated_length_ft").c_str());
    double unrated_acres = std::atof(meta(db, "tornado_unrated_acres").c_str());
    std::string years = meta(db, "tornado_years");
    if (!raw_dir.empty()) {
        TornadoSummary s;
        try {
            read_record(record_files(raw_dir, extra_spc), s);
        } catch (const Error& e) {
            c.fail(std::string("tornado record: ") + e.what());
            return;
        }
        std::string built_from = meta(db, "tornado_files"), given;
        for (const std::string& f : record_files(raw_dir, extra_spc))
            given += (given.empty() ? "" : ",") + std::filesystem::path(f).filename().string();
        if (!built_from.empty() && built_from != given)
            c.fail("tornado record: built from " + built_from + ", checked against " + given +
                   " (give the build's --spc files to the check)");
        std::string raw_years = std::to_string(s.first_year) + "-" + std::to_string(s.last_year);
        c.out << "tornado record read anew: " << raw_years << ", " << s.tornadoes << " tornadoes, " << s.rows_read
              << " rows\n";
        if (len) {
            for (int f = 0; f < 6; ++f)
                c.expect(close_to((*len)[f], s.raw_len_ft[f]) && close_to((*acres)[f], s.raw_acres[f]),
                         "meta: record length or area of F" + std::to_string(f) + " differs from the record files");
            c.expect(close_to(unrated_len, s.unrated_len_ft) && close_to(unrated_acres, s.unrated_acres),
                     "meta: length or area of the unknown-rated tornadoes differs from the record files");
            c.expect(years == raw_years, "meta: tornado_years " + years + ", the record files hold " + raw_years);
        } else {
            c.out << "meta holds no record totals: comparing with the record files\n";
            len = s.raw_len_ft;
            acres = s.raw_acres;
            unrated_len = s.unrated_len_ft;
            unrated_acres = s.unrated_acres;
            years = raw_years;
        }
    }
    if (!len || !acres) {
        c.fail("meta has no tornado_length_ft / tornado_acres: rebuild, or check with --raw");
        return;
    }
    int first = 0, last = 0;
    if (std::sscanf(years.c_str(), "%d-%d", &first, &last) == 2)
        c.expect(ryears == last - first + 1, "tornado: RYEARS " + std::to_string(ryears) + " for the record " + years);
    else
        c.fail("meta has no tornado_years");
    const ClassSums no_drop{};
    compare_class_totals(c, table_len, table_acres, *len, *acres, drop_len.value_or(no_drop),
                         drop_acres.value_or(no_drop), unrated_len, unrated_acres);
}

// The states table: 56 names in alphabetical order, each once, the
// hurricane-prone ones among them.
std::vector<std::string> check_states(Checker& c, sqlite3* db) {
    std::vector<std::string> states;
    {
        Query q(db, "SELECT STATE_NAME FROM states ORDER BY rowid");
        while (q.next()) states.push_back(q.text(0));
    }
    c.expect(states.size() == 56, "states has " + std::to_string(states.size()) + " rows, expected 56");
    c.expect(std::is_sorted(states.begin(), states.end()), "states is not in alphabetical order");
    std::set<std::string> state_set(states.begin(), states.end());
    c.expect(state_set.size() == states.size(), "states holds a name twice");
    for (std::string_view n : verrane::model::kHurricaneProneStates)
        c.expect(state_set.count(std::string(n)), "no state named " + std::string(n));
    return states;
}

// The Counties table, in FIPS order, against the states; fills rows and the
// time zone of each county (fips -> zone, name).
void check_counties(Checker& c, sqlite3* db, const std::vector<std::string>& states, std::vector<Row>& rows,
                    std::map<std::string, std::pair<std::string, std::string>>& zones) {
    const std::set<std::string> state_set(states.begin(), states.end());
    Query q(db,
            "SELECT STATE_NAME, NAME, STATE_FIPS, CNTY_FIPS, FIPS, AREA, Time_Zones, Daylitsave, Hur_wind FROM "
            "Counties ORDER BY rowid");
    std::set<std::pair<std::string, std::string>> pairs;
    std::set<std::string> with_counties;
    while (q.next()) {
        Row r{q.text(0), q.text(1), q.text(4), sqlite3_column_int(q.st, 2), sqlite3_column_int(q.st, 3)};
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02ld%03ld", r.state_fips, r.cnty_fips);
        c.expect(r.fips == buf, "Counties FIPS " + r.fips + " does not match its codes " + buf);
        c.expect(rows.empty() || rows.back().fips < r.fips, "Counties is not in FIPS order at " + r.fips);
        c.expect(pairs.insert({r.state, r.name}).second, "Counties: " + r.state + " / " + r.name + " occurs twice");
        c.expect(state_set.count(r.state), "Counties " + r.fips + ": state " + r.state + " is not in states");
        with_counties.insert(r.state);
        double area = q.real(5);
        c.expect(!q.null(5) && area > 0, "Counties " + r.fips + ": AREA " + fmt(area));
        std::string tz = q.text(6);
        c.expect(std::find(std::begin(kZones), std::end(kZones), tz) != std::end(kZones),
                 "Counties " + r.fips + ": Time_Zones '" + tz + "'");
        int dst = sqlite3_column_int(q.st, 7);
        c.expect(!q.null(7) && (dst == 0 || dst == 1), "Counties " + r.fips + ": Daylitsave " + q.text(7));
        double w = q.real(8);
        c.expect(!q.null(8) && w >= 85 && w <= 200, "Counties " + r.fips + ": Hur_wind " + fmt(w));
        zones[r.fips] = {tz, r.name + ", " + r.state};
        rows.push_back(r);
    }
    c.expect(rows.size() == 3231, "Counties has " + std::to_string(rows.size()) + " rows, expected 3231");
    for (const std::string& s : states) c.expect(with_counties.count(s), "state " + s + " has no county");
}

// The tornado table, row by row beside Counties; sums the pooled path length
// and area by class and returns the record's years (RYEARS).
int check_tornado_table(Checker& c, sqlite3* db, const std::vector<std::string>& tcols, const std::vector<Row>& rows,
                        ClassSums& table_len, ClassSums& table_acres) {
    double fcount_sum = 0;
    int ryears = -1;
    std::string sql = "SELECT FIPS, RYEARS";
    for (size_t i = 2; i < tcols.size(); ++i) sql += ", " + tcols[i];
    Query q(db, sql + " FROM tornado ORDER BY rowid");
    size_t i = 0;
    while (q.next()) {
        std::string fips = q.text(0);
        c.expect(i < rows.size() && rows[i].fips == fips,
                 "tornado row " + std::to_string(i) + " is " + fips + ", not the county of the same row of Counties");
        if (ryears < 0) ryears = sqlite3_column_int(q.st, 1);
        c.expect(sqlite3_column_int(q.st, 1) == ryears && ryears > 0, "tornado " + fips + ": RYEARS " + q.text(1));
        for (int f = 0; f < 6; ++f) {
            double n = q.real(2 + f), len = q.real(8 + f), ac = q.real(14 + f);
            c.expect(n >= 0 && n == std::floor(n), "tornado " + fips + ": FCOUNT" + std::to_string(f) + " " + fmt(n));
            fcount_sum += n;
            c.expect(len >= 0 || (len == -9 && n > 0),
                     "tornado " + fips + ": FLENFT" + std::to_string(f) + " " + fmt(len));
            c.expect(ac >= 0 || (ac == -9 && n > 0), "tornado " + fips + ": FAC" + std::to_string(f) + " " + fmt(ac));
            c.expect(n > 0 || (len == 0 && ac == 0),
                     "tornado " + fips + ": class " + std::to_string(f) + " has averages but no tornado");
            // As the program pools counties: average x count, negatives skipped.
            if (len >= 0) table_len[f] += len * n;
            if (ac >= 0) table_acres[f] += ac * n;
            double hours = 0;
            for (int h = 0; h < 24; ++h) hours += q.real(20 + f * 24 + h);
            c.expect(hours == n, "tornado " + fips + ": hourly counts of class " + std::to_string(f) + " add to " +
                                     fmt(hours) + ", FCOUNT is " + fmt(n));
        }
        ++i;
    }
    c.expect(i == rows.size(), "tornado has " + std::to_string(i) + " rows, Counties " + std::to_string(rows.size()));
    Query m(db, "SELECT value FROM meta WHERE key = 'tornadoes_counted'");
    if (m.next()) {
        double counted = std::atof(m.text(0).c_str());
        c.expect(fcount_sum >= counted,
                 "sum of FCOUNT " + fmt(fcount_sum) + " is below the tornadoes counted " + m.text(0));
        c.out << "tornado: " << fcount_sum << " county entries for " << m.text(0) << " tornadoes counted\n";
    } else {
        c.fail("meta has no tornadoes_counted");
    }
    return ryears;
}

// The tornado_counties table against the tornado table: for every county and
// class, the distinct tornadoes listed equal FCOUNT (each tornado is counted
// once in every county it touched); no pair is listed twice, every county is
// one of Counties, a tornado keeps one class, and the pairs add up to the
// county entries of the meta table.
void check_tornado_counties(Checker& c, sqlite3* db, const std::vector<Row>& rows) {
    std::map<std::string, std::array<double, 6>> fcount, fac;
    {
        Query q(db,
                "SELECT FIPS, FCOUNT0, FCOUNT1, FCOUNT2, FCOUNT3, FCOUNT4, FCOUNT5, FAC0, FAC1, FAC2, FAC3, FAC4, "
                "FAC5 FROM tornado");
        while (q.next())
            for (int f = 0; f < 6; ++f) {
                fcount[q.text(0)][size_t(f)] = q.real(1 + f);
                fac[q.text(0)][size_t(f)] = q.real(7 + f);
            }
    }
    std::map<std::string, std::array<double, 6>> listed;
    for (const Row& r : rows) listed[r.fips];
    long pairs = 0;
    {
        Query q(db,
                "SELECT FIPS, F, COUNT(DISTINCT TORNADO), COUNT(*), SUM(ACRES), MIN(ACRES) FROM tornado_counties "
                "GROUP BY FIPS, F ORDER BY FIPS, F");
        while (q.next()) {
            const std::string fips = q.text(0);
            const int f = sqlite3_column_int(q.st, 1);
            const long distinct = sqlite3_column_int64(q.st, 2), all = sqlite3_column_int64(q.st, 3);
            pairs += all;
            c.expect(distinct == all, "tornado_counties " + fips + ": a tornado listed twice in class " + q.text(1));
            if (!listed.count(fips) || f < 0 || f >= 6) {
                c.fail("tornado_counties: county " + fips + " or class " + q.text(1) + " unknown");
                continue;
            }
            listed[fips][size_t(f)] = double(distinct);
            // The area shares add up to the county's FAC x FCOUNT (FAC -9: no area known).
            const double area = fac[fips][size_t(f)], acres = q.real(4);
            c.expect(q.real(5) >= 0 && (area < 0 ? acres == 0 : close_to(acres, area * double(all))),
                     "tornado_counties " + fips + ": path area of class " + q.text(1) + " " + fmt(acres) +
                         ", FAC x FCOUNT " + fmt(area * double(all)));
        }
    }
    for (const auto& [fips, n] : listed)
        for (size_t f = 0; f < 6; ++f)
            c.expect(n[f] == fcount[fips][f], "tornado_counties " + fips + ": " + fmt(n[f]) +
                                                  " distinct tornadoes of class " + std::to_string(f) + ", FCOUNT is " +
                                                  fmt(fcount[fips][f]));
    Query classes(db,
                  "SELECT COUNT(*) FROM (SELECT TORNADO FROM tornado_counties GROUP BY TORNADO "
                  "HAVING COUNT(DISTINCT F) > 1 OR COUNT(DISTINCT YR) > 1 OR COUNT(DISTINCT OM) > 1)");
    c.expect(classes.next() && sqlite3_column_int64(classes.st, 0) == 0,
             "tornado_counties: a tornado with more than one class, year or number");
    c.expect(meta(db, "tornado_county_entries") == std::to_string(pairs),
             "tornado_counties has " + std::to_string(pairs) + " rows, meta tornado_county_entries " +
                 meta(db, "tornado_county_entries"));
    Query d(db, "SELECT COUNT(DISTINCT TORNADO) FROM tornado_counties");
    if (d.next()) c.out << "tornado_counties: " << pairs << " rows, " << d.text(0) << " tornadoes\n";
}

// The cntycoor table beside Counties, and the regions its extents make well apart.
void check_cntycoor(Checker& c, sqlite3* db, const std::vector<Row>& rows) {
    std::map<Region, Box> regions;
    Query q(db,
            "SELECT STATE_NAME, NAME, Fips, X_Coord, Y_Coord, Leftex, Rightex, Bottomex, Topex FROM cntycoor "
            "ORDER BY rowid");
    size_t i = 0;
    while (q.next()) {
        std::string fips = q.text(2);
        bool same = i < rows.size() && rows[i].fips == fips;
        c.expect(same, "cntycoor row " + std::to_string(i) + " is " + fips + ", not the county of Counties");
        if (same)
            c.expect(rows[i].state == q.text(0) && rows[i].name == q.text(1),
                     "cntycoor " + fips + ": names differ from Counties");
        double x = q.real(3), y = q.real(4), l = q.real(5), r = q.real(6), b = q.real(7), t = q.real(8);
        c.expect(l <= x && x <= r && b <= y && y <= t, "cntycoor " + fips + ": centroid outside its extent");
        Region g = region_of_state(std::atoi(fips.substr(0, 2).c_str()));
        auto it = regions.find(g);
        if (it == regions.end())
            regions[g] = {l, r, b, t};
        else
            it->second = {std::min(it->second.left, l), std::max(it->second.right, r), std::min(it->second.bottom, b),
                          std::max(it->second.top, t)};
        ++i;
    }
    c.expect(i == rows.size(), "cntycoor has " + std::to_string(i) + " rows");
    for (auto a = regions.begin(); a != regions.end(); ++a)
        for (auto b = std::next(a); b != regions.end(); ++b) {
            double dx = std::max({0.0, a->second.left - b->second.right, b->second.left - a->second.right});
            double dy = std::max({0.0, a->second.bottom - b->second.top, b->second.bottom - a->second.top});
            double gap = std::hypot(dx, dy);
            c.expect(gap >= 1000, "regions " + std::to_string(int(a->first)) + " and " + std::to_string(int(b->first)) +
                                      " are only " + fmt(gap) + " miles apart");
        }
}

// The three shapefiles against the tables.
void check_shapefiles(Checker& c, const std::string& dir, const std::vector<Row>& rows,
                      const std::vector<std::string>& states) {
    const std::set<std::string> state_set(states.begin(), states.end());
    auto open_dbf = [&](const std::string& base, const std::vector<std::string>& fields, int type, int count) {
        SHPHandle shp = SHPOpen((dir + "/" + base).c_str(), "rb");
        DBFHandle dbf = DBFOpen((dir + "/" + base + ".dbf").c_str(), "rb");
        std::pair<SHPHandle, DBFHandle> h{shp, dbf};
        if (!shp || !dbf) {
            c.fail("cannot open " + base + ".shp/.dbf");
            return h;
        }
        int n = 0, t = 0;
        SHPGetInfo(shp, &n, &t, nullptr, nullptr);
        c.expect(t == type, base + ".shp has shape type " + std::to_string(t));
        if (count >= 0)
            c.expect(n == count, base + ".shp has " + std::to_string(n) + " shapes, expected " + std::to_string(count));
        c.expect(DBFGetRecordCount(dbf) == n, base + ".dbf and .shp differ in record count");
        c.expect(DBFGetFieldCount(dbf) == int(fields.size()),
                 base + ".dbf has " + std::to_string(DBFGetFieldCount(dbf)) + " fields");
        for (int i = 0; i < DBFGetFieldCount(dbf) && i < int(fields.size()); ++i) {
            char name[12] = {};
            DBFGetFieldInfo(dbf, i, name, nullptr, nullptr);
            c.expect(fields[i] == name,
                     base + ".dbf field " + std::to_string(i) + " is " + name + ", expected " + fields[i]);
        }
        return h;
    };
    auto close = [](std::pair<SHPHandle, DBFHandle> h) {
        if (h.first) SHPClose(h.first);
        if (h.second) DBFClose(h.second);
    };
    {
        auto h = open_dbf("Counties", {"STATE_NAME", "STATE_FIPS", "NAME", "CNTY_FIPS", "FIPS"}, SHPT_POLYGON,
                          int(rows.size()));
        if (h.first && h.second && c.problems == 0)
            for (int i = 0; i < int(rows.size()); ++i) {
                const Row& r = rows[i];
                bool same =
                    r.state == attr(h.second, i, 0) && r.name == attr(h.second, i, 2) && r.fips == attr(h.second, i, 4);
                c.expect(same,
                         "Counties.dbf record " + std::to_string(i) + " differs from table Counties (" + r.fips + ")");
                SHPObject* o = SHPReadObject(h.first, i);
                c.expect(o && o->nVertices >= 4, "Counties.shp shape " + std::to_string(i) + " is empty");
                if (o) SHPDestroyObject(o);
            }
        close(h);
    }
    {
        auto h = open_dbf("states", {"STATE_NAME", "STATE_FIPS"}, SHPT_POLYGON, int(states.size()));
        if (h.first && h.second && c.problems == 0) {
            std::set<std::string> names;
            for (int i = 0; i < DBFGetRecordCount(h.second); ++i) {
                names.insert(attr(h.second, i, 0));
                std::string sf = attr(h.second, i, 1);
                c.expect(sf.size() == 2, "states.dbf STATE_FIPS '" + sf + "' is not 2 characters");
            }
            c.expect(names == state_set, "states.dbf names differ from table states");
        }
        close(h);
    }
    {
        auto h = open_dbf("statline", {"STATE_A", "STATE_B"}, SHPT_ARC, -1);
        if (h.second) c.expect(DBFGetRecordCount(h.second) > 0, "statline.shp holds no line");
        close(h);
    }
}

}  // namespace

int check_data(const std::string& dir, const std::string& raw_dir, std::ostream& out,
               const std::vector<std::string>& extra_spc) {
    Checker c{out};
    const std::string path = dir + "/verrane.sqlite";
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        c.fail("cannot open " + path);
        sqlite3_close(db);
        return c.problems;
    }
    {
        Query probe(db, "SELECT count(*) FROM sqlite_master");
        if (!probe.next()) {
            c.fail(path + " is not a readable SQLite database");
            sqlite3_close(db);
            return c.problems;
        }
    }
    check_columns(c, db, "states", {"STATE_NAME"});
    check_columns(
        c, db, "Counties",
        {"STATE_NAME", "NAME", "STATE_FIPS", "CNTY_FIPS", "FIPS", "AREA", "Time_Zones", "Daylitsave", "Hur_wind"});
    std::vector<std::string> tcols = {"FIPS", "RYEARS"};
    for (const char* p : {"FCOUNT", "FLENFT", "FAC"})
        for (int f = 0; f < 6; ++f) tcols.push_back(p + std::to_string(f));
    for (int f = 0; f < 6; ++f)
        for (int h = 0; h < 24; ++h) tcols.push_back("Fcnt" + std::to_string(f) + "hr" + std::to_string(h));
    check_columns(c, db, "tornado", tcols);
    check_columns(c, db, "tornado_counties", {"TORNADO", "YR", "OM", "F", "FIPS", "ACRES"});
    check_columns(c, db, "cntycoor",
                  {"STATE_NAME", "NAME", "Fips", "X_Coord", "Y_Coord", "Leftex", "Rightex", "Bottomex", "Topex"});
    if (c.problems) {
        sqlite3_close(db);
        return c.problems;
    }

    const std::vector<std::string> states = check_states(c, db);

    std::vector<Row> rows;
    std::map<std::string, std::pair<std::string, std::string>> zones;  // fips -> zone, name
    check_counties(c, db, states, rows, zones);

    ClassSums table_len{}, table_acres{};
    const int ryears = check_tornado_table(c, db, tcols, rows, table_len, table_acres);
    check_record_totals(c, db, table_len, table_acres, ryears, raw_dir, extra_spc);
    check_tornado_counties(c, db, rows);

    check_cntycoor(c, db, rows);
    const std::string stored = meta(db, kContentHashKey), computed = content_sha256(db);
    c.expect(stored == computed,
             std::string("meta: ") + kContentHashKey + " " + stored + ", the content hashes to " + computed);
    c.out << "content sha256: " << computed << "\n";
    sqlite3_close(db);

    check_shapefiles(c, dir, rows, states);

    if (!raw_dir.empty()) check_zones_against(c, zones, raw_dir + "/timezones/county_tzs.csv");
    return c.problems;
}

}  // namespace refdata
