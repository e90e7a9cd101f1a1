// Assembles the tables from the raw folder and writes the database and the
// shapefiles.
#include <shapefil.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <set>

#include "refdata.h"

namespace fs = std::filesystem;

namespace refdata {

namespace {

std::string two(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}
std::string three(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%03d", v);
    return b;
}

long rule_count(const TornadoSummary& s, ShareRule r) {
    auto it = s.pieces_by_rule.find(r);
    return it == s.pieces_by_rule.end() ? 0 : it->second;
}

int digits(const std::string& s, const std::string& where) {
    if (s.empty() || s.size() > 5 || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw Error(where + ": '" + s + "' is not a numeric code");
    return std::stoi(s);
}

// Centroid of the boundary in degrees, for the wind speed look-up.
LonLat center_lonlat(const Topology& t, const TopoFeature& f, bool unwrap) {
    Pt c = centroid(map_feature(t, f, [unwrap](LonLat ll) {
        return Pt{unwrap && ll.lon > 0 ? ll.lon - 360 : ll.lon, ll.lat};
    }));
    return {c.x, c.y};
}

}  // namespace

std::vector<StateLine> state_lines(const Topology& t) {
    // Arcs used by two different states are the boundary lines between them.
    std::map<int, std::set<std::string>> users;
    for (const TopoFeature& s : t.states)
        for (const auto& poly : s.polygons)
            for (const auto& ring : poly)
                for (int a : ring) users[a < 0 ? ~a : a].insert(s.id);
    std::vector<StateLine> out;
    for (const auto& [arc, ids] : users) {
        if (ids.size() != 2) continue;
        StateLine l;
        l.state1 = *ids.begin();
        l.state2 = *ids.rbegin();
        Region r = region_of_state(digits(l.state1, "state id"));
        for (const LonLat& ll : t.arcs[arc]) l.points.push_back(project(r, ll));
        out.push_back(std::move(l));
    }
    std::stable_sort(out.begin(), out.end(), [](const StateLine& a, const StateLine& b) {
        return std::tie(a.state1, a.state2) < std::tie(b.state1, b.state2);
    });
    return out;
}

std::vector<std::string> record_files(const std::string& raw, const std::vector<std::string>& extra_spc) {
    std::vector<std::string> files = {raw + "/spc/1950-2022_tornados_tidytuesday.zip", raw + "/spc/2023_torn.csv"};
    files.insert(files.end(), extra_spc.begin(), extra_spc.end());
    return files;
}

std::vector<Tornado> read_record(const std::vector<std::string>& files, TornadoSummary& s) {
    std::vector<RecordSource> sources;
    sources.reserve(files.size());
    for (const std::string& f : files) sources.push_back(read_record_file(f, s));
    std::vector<Tornado> record = merge_sources(sources, s);
    add_raw_totals(record, s);
    return record;
}

// One county of the atlas, with its area, time zone and hurricane wind speed.
County make_county(const TopoFeature& f, const Topology& topo, const std::string& atlas,
                   const std::map<int, std::string>& state_names, const std::map<std::string, GazetteerRow>& gaz,
                   const std::vector<WindPoint>& wind, std::ostream& log) {
    County c;
    c.fips = f.id;
    c.state_fips = digits(f.id.substr(0, 2), atlas);
    c.cnty_fips = digits(f.id.substr(2), atlas);
    auto sn = state_names.find(c.state_fips);
    if (sn == state_names.end()) throw Error(atlas + ": county " + f.id + " belongs to no state");
    c.state_name = sn->second;
    c.name = f.name;
    Region reg = region_of_state(c.state_fips);
    c.shape = project_feature(topo, f, reg);
    auto g = gaz.find(c.fips);
    c.center_ll = center_lonlat(topo, f, reg == Region::Alaska);
    if (area(c.shape) <= 0) {
        // The simplified atlas collapses the smallest cities to a line: stand in
        // a square of the county's own area around its census internal point.
        if (g == gaz.end()) throw Error(atlas + ": county " + f.id + " has no boundary and no gazetteer entry");
        double side = std::sqrt(g->second.aland_sqmi + g->second.awater_sqmi);
        Pt p = project(reg, {g->second.lon, g->second.lat});
        double h = side / 2;
        c.shape = {Polygon{{Ring{{p.x - h, p.y - h}, {p.x - h, p.y + h}, {p.x + h, p.y + h}, {p.x + h, p.y - h}}}}};
        c.center_ll = {g->second.lon, g->second.lat};
        c.shape_substituted = true;
        log << "county " << c.fips << " " << c.name << ": boundary collapsed in the atlas, square of " << side
            << " miles used\n";
    }
    c.center = centroid(c.shape);
    c.box = extent(c.shape);
    if (g != gaz.end()) {
        c.area = std::round((g->second.aland_sqmi + g->second.awater_sqmi) * 1000) / 1000;
    } else {
        c.area = std::round(area(c.shape) * 1000) / 1000;
        c.area_from_boundary = true;
    }
    TimeZoneRule tz = time_zone_of(c.state_fips, c.cnty_fips);
    c.time_zone = tz.zone;
    c.daylitsave = tz.daylitsave;
    c.hur_wind = hur_wind_at(c, wind, c.wind_unverified);
    return c;
}

// What the build made of the tornado record.
void log_record(std::ostream& log, const BuildResult& b) {
    const TornadoSummary& s = b.summary;
    log << "tornado record: " << s.first_year << "-" << s.last_year << " (" << s.record_years() << " years) from";
    for (const std::string& f : b.record_sources) log << " " << f;
    log << "\n"
        << "  rows read: " << s.rows_read << "\n"
        << "  dropped, malformed: " << s.malformed << "\n"
        << "  dropped, exact duplicate of an earlier row: " << s.duplicates << "\n"
        << "  dropped, segment or continuation rows without their tornado: " << s.orphan_rows << "\n"
        << "  tornadoes: " << s.tornadoes
        << " (dropped from an earlier file whose year a later file holds: " << s.replaced << ")\n"
        << "  time zone not recorded, read as Central: " << s.zone_assumed << "\n"
        << "  unknown rating, counted in F0: " << s.unknown_rating << "\n"
        << "  dropped, unknown time zone: " << s.unknown_zone << "\n"
        << "  dropped, no county found: " << s.no_county << "\n"
        << "  counted by county codes: " << s.by_codes << "\n"
        << "  counted by track geometry: " << s.by_geometry << "\n"
        << "  counted in the nearest county (within 10 miles): " << s.by_nearest << "\n"
        << "  tornadoes counted: " << s.counted() << ", county entries: " << s.county_hits << "\n"
        << "  old county codes mapped: " << s.old_codes << ", invalid county codes ignored: " << s.invalid_codes << "\n"
        << "  whole-track rows without segments: " << s.whole_track_rows
        << " (also counted in another state they cross: " << s.whole_track_other_states
        << "); shared among state segments: " << s.segmented << "\n"
        << "  counted tornadoes without length: " << s.no_length << ", without width: " << s.no_width << "\n"
        << "  pieces of track by sharing rule: one county " << rule_count(s, ShareRule::OneCounty)
        << ", by straight track " << rule_count(s, ShareRule::ByTrack) << " (counties with a zero share "
        << s.zero_shares << "), equal (line misses a listed county) " << rule_count(s, ShareRule::Equal)
        << " (in none of them " << s.equal_no_track << ")"
        << ", equal (no end point) " << rule_count(s, ShareRule::NoEndEqual) << ", nearest county "
        << rule_count(s, ShareRule::NearestCounty) << "\n";
}

BuildResult build_from_raw(const std::string& raw, std::ostream& log, const std::vector<std::string>& extra_spc) {
    BuildResult b;
    const std::string atlas = raw + "/census/counties-10m.json";
    Topology topo = read_topology(atlas);
    auto gaz = read_gazetteer(raw + "/census/2017_Gaz_counties_national_pipe.txt");
    auto wind = read_wind_points(raw + "/wind/asce7-05_atc_point_samples.csv", raw + "/wind/coastal-anchors.csv");

    std::map<int, std::string> state_names;
    for (const TopoFeature& f : topo.states) {
        int s = digits(f.id, atlas + " state id");
        state_names[s] = state_display_name(s, f.name);
        State st;
        st.name = state_names[s];
        st.fips = s;
        st.shape = project_feature(topo, f, region_of_state(s));
        b.states.push_back(std::move(st));
    }
    std::sort(b.states.begin(), b.states.end(), [](const State& x, const State& y) { return x.fips < y.fips; });

    std::map<std::string, std::string> gaz_names;
    for (const auto& [id, g] : gaz) gaz_names[id] = g.name;
    long from_gaz = 0, from_boundary = 0, unverified = 0;
    for (const TopoFeature& f : topo.counties) {
        if (f.id.size() != 5) throw Error(atlas + ": county id '" + f.id + "' is not 5 digits");
        County c = make_county(f, topo, atlas, state_names, gaz, wind, log);
        if (c.area_from_boundary)
            ++from_boundary;
        else
            ++from_gaz;
        if (c.wind_unverified) ++unverified;
        b.counties.push_back(std::move(c));
    }
    std::sort(b.counties.begin(), b.counties.end(), [](const County& x, const County& y) { return x.fips < y.fips; });
    apply_city_rule(b.counties, gaz_names);
    log << "counties: " << b.counties.size() << " (area from gazetteer " << from_gaz << ", from boundary "
        << from_boundary << "; wind speed resting on unverified anchors " << unverified << ")\n";
    log << "states: " << b.states.size() << "\n";

    b.lines = state_lines(topo);
    log << "state lines: " << b.lines.size() << " arcs\n";

    std::vector<std::string> files = record_files(raw, extra_spc);
    for (const std::string& f : files) b.record_sources.push_back(fs::path(f).filename().string());
    std::vector<Tornado> record = read_record(files, b.summary);
    b.tornado = assign_tornadoes(record, b.counties, b.summary, &b.tornado_counties);
    log_record(log, b);
    return b;
}

// ----------------------------------------------------------------- SQLite

namespace {

struct Db {
    sqlite3* db = nullptr;
    std::string path;
    ~Db() {
        if (db) sqlite3_close(db);
    }
    void exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string m = err ? err : "unknown error";
            sqlite3_free(err);
            throw Error(path + ": " + m);
        }
    }
};

struct Stmt {
    sqlite3_stmt* st = nullptr;
    Db& db;
    Stmt(Db& d, const std::string& sql) : db(d) {
        if (sqlite3_prepare_v2(d.db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw Error(d.path + ": " + sqlite3_errmsg(d.db));
    }
    ~Stmt() { sqlite3_finalize(st); }
    void text(int i, const std::string& v) { sqlite3_bind_text(st, i, v.c_str(), int(v.size()), SQLITE_TRANSIENT); }
    void real(int i, double v) { sqlite3_bind_double(st, i, v); }
    void integer(int i, long v) { sqlite3_bind_int64(st, i, v); }
    void run() {
        if (sqlite3_step(st) != SQLITE_DONE) throw Error(db.path + ": " + sqlite3_errmsg(db.db));
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};

// Round-trip text of a double, and of six of them separated by commas.
std::string exact_text(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}
std::string sums_text(const ClassSums& v) {
    std::string out;
    for (int f = 0; f < 6; ++f) out += (f ? "," : "") + exact_text(v[f]);
    return out;
}

// Opens the transaction and creates the tables; returns the placeholders of
// a tornado row.
std::string create_tables(Db& d) {
    d.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA page_size=4096; BEGIN;");
    d.exec("CREATE TABLE states (STATE_NAME TEXT NOT NULL)");
    d.exec(
        "CREATE TABLE Counties (STATE_NAME TEXT NOT NULL, NAME TEXT NOT NULL, STATE_FIPS INTEGER NOT NULL, "
        "CNTY_FIPS INTEGER NOT NULL, FIPS TEXT NOT NULL, AREA REAL, Time_Zones TEXT, Daylitsave INTEGER, Hur_wind "
        "REAL)");
    std::string tcols = "FIPS TEXT NOT NULL, RYEARS INTEGER";
    std::string tq = "?,?";
    for (const char* p : {"FCOUNT", "FLENFT", "FAC"})
        for (int f = 0; f < 6; ++f) {
            tcols += std::string(", ") + p + std::to_string(f) + " REAL";
            tq += ",?";
        }
    for (int f = 0; f < 6; ++f)
        for (int h = 0; h < 24; ++h) {
            tcols += ", Fcnt" + std::to_string(f) + "hr" + std::to_string(h) + " REAL";
            tq += ",?";
        }
    d.exec("CREATE TABLE tornado (" + tcols + ")");
    d.exec(
        "CREATE TABLE cntycoor (STATE_NAME TEXT NOT NULL, NAME TEXT NOT NULL, Fips TEXT NOT NULL, X_Coord REAL, "
        "Y_Coord REAL, Leftex REAL, Rightex REAL, Bottomex REAL, Topex REAL)");
    d.exec(
        "CREATE TABLE tornado_counties (TORNADO INTEGER NOT NULL, YR INTEGER NOT NULL, OM INTEGER NOT NULL, F "
        "INTEGER NOT NULL, FIPS TEXT NOT NULL, ACRES REAL NOT NULL)");
    d.exec("CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT)");

    return tq;
}

void insert_states(Db& d, const BuildResult& b) {
    std::vector<std::string> names;
    for (const State& s : b.states) names.push_back(s.name);
    std::sort(names.begin(), names.end());
    {
        Stmt st(d, "INSERT INTO states VALUES (?)");
        for (const std::string& n : names) {
            st.text(1, n);
            st.run();
        }
    }
}

// The Counties table, one row per county in FIPS order.
void insert_counties(Db& d, const BuildResult& b) {
    Stmt st(d, "INSERT INTO Counties VALUES (?,?,?,?,?,?,?,?,?)");
    for (const County& c : b.counties) {
        st.text(1, c.state_name);
        st.text(2, c.name);
        st.integer(3, c.state_fips);
        st.integer(4, c.cnty_fips);
        st.text(5, c.fips);
        st.real(6, c.area);
        st.text(7, c.time_zone);
        st.integer(8, c.daylitsave);
        st.real(9, c.hur_wind);
        st.run();
    }
}

// The cntycoor table, beside Counties row for row.
void insert_coordinates(Db& d, const BuildResult& b) {
    Stmt st(d, "INSERT INTO cntycoor VALUES (?,?,?,?,?,?,?,?,?)");
    for (const County& c : b.counties) {
        st.text(1, c.state_name);
        st.text(2, c.name);
        st.text(3, c.fips);
        st.real(4, c.center.x);
        st.real(5, c.center.y);
        st.real(6, c.box.left);
        st.real(7, c.box.right);
        st.real(8, c.box.bottom);
        st.real(9, c.box.top);
        st.run();
    }
}

void insert_tornado(Db& d, const BuildResult& b, const std::string& tq) {
    Stmt st(d, "INSERT INTO tornado VALUES (" + tq + ")");
    for (const County& c : b.counties) {
        auto it = b.tornado.find(c.fips);
        CountyTornado zero;
        const CountyTornado& t = it == b.tornado.end() ? zero : it->second;
        int i = 1;
        st.text(i++, c.fips);
        st.integer(i++, b.summary.record_years());
        for (int f = 0; f < 6; ++f) st.real(i++, t.count[f]);
        for (int f = 0; f < 6; ++f) st.real(i++, average_length_ft(t, f));
        for (int f = 0; f < 6; ++f) st.real(i++, average_acres(t, f));
        for (int f = 0; f < 6; ++f)
            for (int h = 0; h < 24; ++h) st.real(i++, t.hourly[f][h]);
        st.run();
    }
}

void insert_tornado_counties(Db& d, const BuildResult& b) {
    Stmt st(d, "INSERT INTO tornado_counties VALUES (?,?,?,?,?,?)");
    for (const TornadoCounty& t : b.tornado_counties) {
        st.integer(1, t.id);
        st.integer(2, t.yr);
        st.integer(3, t.om);
        st.integer(4, t.cls);
        st.text(5, t.fips);
        st.real(6, t.acres);
        st.run();
    }
}

// Where the data came from and the record's totals, for the check.
void insert_meta(Db& d, const BuildResult& b) {
    const TornadoSummary& s = b.summary;
    Stmt st(d, "INSERT INTO meta VALUES (?,?)");
    auto put = [&](const char* k, const std::string& v) {
        st.text(1, k);
        st.text(2, v);
        st.run();
    };
    std::string sources;
    for (const std::string& f : b.record_sources) sources += (sources.empty() ? "" : ",") + f;
    put("tornado_source", "SPC tornado record (" + sources + ")");
    put("tornado_files", sources);
    put("tornado_years", std::to_string(s.first_year) + "-" + std::to_string(s.last_year));
    put("tornado_rows_read", std::to_string(s.rows_read));
    put("tornadoes", std::to_string(s.tornadoes));
    put("tornadoes_counted", std::to_string(s.counted()));
    put("tornadoes_unrated", std::to_string(s.unknown_rating));
    put("tornado_county_entries", std::to_string(s.county_hits));
    put("tornado_length_ft", sums_text(s.raw_len_ft));
    put("tornado_acres", sums_text(s.raw_acres));
    put("tornado_unrated_length_ft", exact_text(s.unrated_len_ft));
    put("tornado_unrated_acres", exact_text(s.unrated_acres));
    put("tornado_dropped_length_ft", sums_text(s.dropped_len_ft));
    put("tornado_dropped_acres", sums_text(s.dropped_acres));
    std::string unverified;
    for (const County& c : b.counties)
        if (c.wind_unverified) unverified += (unverified.empty() ? "" : ",") + c.fips;
    put("hur_wind_unverified", unverified);
    put("county_source", "Census 2017 cartographic boundaries (us-atlas 3.0.1 counties-10m), 2017 Gazetteer");
}

}  // namespace

void write_database(const std::string& path, const BuildResult& b) {
    std::string tmp = path + ".tmp";
    fs::remove(tmp);
    Db d;
    d.path = tmp;
    if (sqlite3_open(tmp.c_str(), &d.db) != SQLITE_OK) throw Error("cannot create " + tmp);
    const std::string tq = create_tables(d);
    insert_states(d, b);
    insert_counties(d, b);
    insert_tornado(d, b, tq);
    insert_tornado_counties(d, b);
    insert_coordinates(d, b);
    insert_meta(d, b);
    d.exec("CREATE INDEX Counties_state_name ON Counties (STATE_NAME, NAME)");
    d.exec("CREATE INDEX Counties_fips ON Counties (FIPS)");
    d.exec("CREATE INDEX tornado_fips ON tornado (FIPS)");
    d.exec("CREATE INDEX cntycoor_state_name ON cntycoor (STATE_NAME, NAME)");
    {
        Stmt st(d, "INSERT INTO meta VALUES (?,?)");
        st.text(1, kContentHashKey);
        st.text(2, content_sha256(d.db));
        st.run();
    }
    d.exec("COMMIT");
    sqlite3_close(d.db);
    d.db = nullptr;
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec) throw Error("cannot replace " + path + ": " + ec.message());
}

// ------------------------------------------------------------- shapefiles

namespace {

struct Shp {
    SHPHandle h = nullptr;
    ~Shp() {
        if (h) SHPClose(h);
    }
};
struct Dbf {
    DBFHandle h = nullptr;
    ~Dbf() {
        if (h) DBFClose(h);
    }
};

// Shapefile rings: outer clockwise, holes counter-clockwise, closed.
SHPObject* polygon_object(const MultiPolygon& m) {
    std::vector<int> starts;
    std::vector<double> xs, ys;
    for (const Polygon& p : m)
        for (size_t k = 0; k < p.rings.size(); ++k) {
            Ring r = p.rings[k];
            bool cw = signed_area(r) < 0;
            if ((k == 0) != cw) std::reverse(r.begin(), r.end());
            starts.push_back(int(xs.size()));
            for (const Pt& q : r) {
                xs.push_back(q.x);
                ys.push_back(q.y);
            }
            xs.push_back(r.front().x);
            ys.push_back(r.front().y);
        }
    return SHPCreateObject(SHPT_POLYGON, -1, int(starts.size()), starts.data(), nullptr, int(xs.size()), xs.data(),
                           ys.data(), nullptr, nullptr);
}

void open_pair(const std::string& base, int type, Shp& shp, Dbf& dbf) {
    shp.h = SHPCreate(base.c_str(), type);
    if (!shp.h) throw Error("cannot create " + base + ".shp");
    dbf.h = DBFCreateEx((base + ".dbf").c_str(), "UTF-8");
    if (!dbf.h) throw Error("cannot create " + base + ".dbf");
    // A fixed date keeps the files identical from one build to the next.
    DBFSetLastModifiedDate(dbf.h, 117, 1, 1);
}

void field(Dbf& d, const char* name, int width) {
    if (DBFAddField(d.h, name, FTString, width, 0) < 0) throw Error(std::string("cannot add field ") + name);
}

void put(Dbf& d, int rec, int fld, const std::string& v) {
    if (!DBFWriteStringAttribute(d.h, rec, fld, v.c_str())) throw Error("cannot write attribute " + v);
}

void write_shape(Shp& s, SHPObject* o) {
    if (!o) throw Error("cannot build a shape");
    int id = SHPWriteObject(s.h, -1, o);
    SHPDestroyObject(o);
    if (id < 0) throw Error("cannot write a shape");
}

}  // namespace

void write_shapefiles(const std::string& dir, const BuildResult& b) {
    int name_w = 1, state_w = 1;
    for (const County& c : b.counties) {
        name_w = std::max(name_w, int(c.name.size()));
        state_w = std::max(state_w, int(c.state_name.size()));
    }
    {
        Shp shp;
        Dbf dbf;
        open_pair(dir + "/Counties", SHPT_POLYGON, shp, dbf);
        field(dbf, "STATE_NAME", state_w);
        field(dbf, "STATE_FIPS", 2);
        field(dbf, "NAME", name_w);
        field(dbf, "CNTY_FIPS", 3);
        field(dbf, "FIPS", 5);
        int rec = 0;
        for (const County& c : b.counties) {
            write_shape(shp, polygon_object(c.shape));
            put(dbf, rec, 0, c.state_name);
            put(dbf, rec, 1, two(c.state_fips));
            put(dbf, rec, 2, c.name);
            put(dbf, rec, 3, three(c.cnty_fips));
            put(dbf, rec, 4, c.fips);
            ++rec;
        }
    }
    {
        Shp shp;
        Dbf dbf;
        open_pair(dir + "/states", SHPT_POLYGON, shp, dbf);
        field(dbf, "STATE_NAME", state_w);
        field(dbf, "STATE_FIPS", 2);
        int rec = 0;
        for (const State& s : b.states) {
            write_shape(shp, polygon_object(s.shape));
            put(dbf, rec, 0, s.name);
            put(dbf, rec, 1, two(s.fips));
            ++rec;
        }
    }
    {
        Shp shp;
        Dbf dbf;
        open_pair(dir + "/statline", SHPT_ARC, shp, dbf);
        field(dbf, "STATE_A", 2);
        field(dbf, "STATE_B", 2);
        int rec = 0;
        for (const StateLine& l : b.lines) {
            std::vector<double> xs, ys;
            for (const Pt& p : l.points) {
                xs.push_back(p.x);
                ys.push_back(p.y);
            }
            write_shape(shp, SHPCreateSimpleObject(SHPT_ARC, int(xs.size()), xs.data(), ys.data(), nullptr));
            put(dbf, rec, 0, l.state1);
            put(dbf, rec, 1, l.state2);
            ++rec;
        }
    }
}

}  // namespace refdata
